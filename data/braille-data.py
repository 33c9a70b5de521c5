#!/usr/bin/env python3
"""Writes czech.vbt and the key-echo files czech.vky, english.vky and slovak.vky (Windows-1250)
from the readable tables below. Run from anywhere: python3 data/braille-data.py"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------------------------
# Braille table. Dots ascending inside a cell.

LETTERS_CS = dict(a="1", b="12", c="14", d="145", e="15", f="124", g="1245", h="125", i="24",
                  j="245", k="13", l="123", m="134", n="1345", o="135", p="1234", q="12345",
                  r="1235", s="234", t="2345", u="136", v="1236", w="12356", x="1346",
                  y="13456", z="1356")
ACCENTS_CS = {"á": "16", "č": "146", "ď": "1456", "é": "345", "ě": "126", "í": "34",
              "ň": "1246", "ó": "246", "ř": "2456", "š": "156", "ť": "1256", "ú": "346",
              "ů": "23456", "ý": "12346", "ž": "2346",
              # Slovak letters whose cells are free in Czech braille
              "ĺ": "46", "ľ": "456", "ä": "4"}
PUNCT_CS = {".": "3", ",": "2", ";": "23", ":": "25", "?": "26", "!": "235", "-": "36",
            "(": "236", ")": "356", '"': "2356", "'": "4", "/": "12456", "+": "256",
            "*": "35", "|": "456"}

LETTERS_SK = dict(LETTERS_CS, w="2456")
ACCENTS_SK = {"á": "16", "ä": "4", "č": "146", "ď": "1456", "é": "345", "í": "34", "ĺ": "46",
              "ľ": "456", "ň": "1246", "ó": "246", "ô": "23456", "ŕ": "12356", "š": "156",
              "ť": "1256", "ú": "346", "ý": "12346", "ž": "2346"}
PUNCT_SK = {".": "256", ",": "2", ";": "23", ":": "25", "?": "26", "!": "235", "-": "36",
            "(": "236", ")": "356", '"': "2356", "'": "3", "/": "12456", "*": "35"}

DIGITS = {"1": "1", "2": "12", "3": "14", "4": "145", "5": "15", "6": "124", "7": "1245",
          "8": "125", "9": "24", "0": "245"}
NUMBER_SIGNS = {",": "2", ".": "3", "%": "1234", "‰": "1235", "§": "346", "-": "36",
                "+": "256", "/": "12456", "*": "35"}
# "=" cannot be a character of the table: the first "=" of a line ends the character.


def without(table, *keys):
    return {k: v for k, v in table.items() if k not in keys}


# In the characters section "ľ" and "ä" would clash with "|" and "'": they are typed there as
# Czech (| and '), and in the Slovak section as Slovak letters.
characters = dict(LETTERS_CS)
characters.update(without(ACCENTS_CS, "ľ", "ä"))
characters.update(PUNCT_CS)
capitals = {k.upper(): v for k, v in list(LETTERS_CS.items()) + list(ACCENTS_CS.items())}
capitals_word = dict(capitals)
capitals_word.update(without(PUNCT_CS, "'", "|"))
number = dict(DIGITS)
number.update(NUMBER_SIGNS)
slovak = dict(LETTERS_SK)
slovak.update(ACCENTS_SK)
slovak.update(PUNCT_SK)

PREFIXES = [("#cap", "6"), ("#caps", "56"), ("#num", "3456"), ("#sk", "45")]
SECTIONS = [("characters", characters), ("#cap", capitals), ("#caps", capitals_word),
            ("#num", number), ("#sk", slovak)]


def braille_table():
    lines = ["[prefixes]"] + [f"{name}={dots}" for name, dots in PREFIXES]
    for name, entries in SECTIONS:
        patterns = list(entries.values())
        assert len(patterns) == len(set(patterns)), f"pattern twice in {name}"
        lines += ["", f"[{name}]"] + [f"{char}={dots}" for char, dots in entries.items()]
    count = sum(len(entries) for _, entries in SECTIONS)
    assert count <= 255, count
    return lines


# ---------------------------------------------------------------------------------------------
# Key echo: code -> (Czech, Slovak, English).

ECHO = {
    8: ("backspace", "bekspejs", "backspace"),
    9: ("tabulátor", "tabulátor", "tab"),
    13: ("enter", "enter", "enter"),
    27: ("escape", "eskejp", "escape"),
    " ": ("mezera", "medzera", "space"),
    "!": ("vykřičník", "výkričník", "exclamation mark"),
    '"': ("uvozovky", "úvodzovky", "quote"),
    "#": ("křížek", "krížik", "hash"),
    "$": ("dolar", "dolár", "dollar"),
    "%": ("procento", "percento", "percent"),
    "&": ("ampersand", "ampersand", "ampersand"),
    "'": ("apostrof", "apostrof", "apostrophe"),
    "(": ("levá závorka", "ľavá zátvorka", "left paren"),
    ")": ("pravá závorka", "pravá zátvorka", "right paren"),
    "*": ("hvězdička", "hviezdička", "asterisk"),
    "+": ("plus", "plus", "plus"),
    ",": ("čárka", "čiarka", "comma"),
    "-": ("pomlčka", "spojovník", "dash"),
    ".": ("tečka", "bodka", "dot"),
    "/": ("lomítko", "lomka", "slash"),
    ":": ("dvojtečka", "dvojbodka", "colon"),
    ";": ("středník", "bodkočiarka", "semicolon"),
    "<": ("menší než", "menší ako", "less than"),
    "=": ("rovná se", "rovná sa", "equals"),
    ">": ("větší než", "väčší ako", "greater than"),
    "?": ("otazník", "otáznik", "question mark"),
    "@": ("zavináč", "zavináč", "at sign"),
    "[": ("levá hranatá závorka", "ľavá hranatá zátvorka", "left bracket"),
    "\\": ("obrácené lomítko", "opačná lomka", "backslash"),
    "]": ("pravá hranatá závorka", "pravá hranatá zátvorka", "right bracket"),
    "^": ("stříška", "vokáň", "caret"),
    "_": ("podtržítko", "podčiarkovník", "underscore"),
    "`": ("obrácená čárka", "prízvuk", "grave accent"),
    "{": ("levá složená závorka", "ľavá zložená zátvorka", "left brace"),
    "|": ("svislá čára", "zvislá čiara", "vertical bar"),
    "}": ("pravá složená závorka", "pravá zložená zátvorka", "right brace"),
    "~": ("vlnovka", "vlnovka", "tilde"),
    "€": ("euro", "euro", "euro"),
    "‚": ("dolní jednoduchá uvozovka", "dolná jednoduchá úvodzovka", "low single quote"),
    "„": ("dolní uvozovky", "dolné úvodzovky", "low double quote"),
    "…": ("tři tečky", "tri bodky", "ellipsis"),
    "†": ("dýka", "dýka", "dagger"),
    "‡": ("dvojitá dýka", "dvojitá dýka", "double dagger"),
    "‰": ("promile", "promile", "per mille"),
    "‹": ("levá lomená uvozovka", "ľavá lomená úvodzovka", "left angle quote"),
    "›": ("pravá lomená uvozovka", "pravá lomená úvodzovka", "right angle quote"),
    "\u2018": ("levý apostrof", "ľavý apostrof", "left single quote"),
    "\u2019": ("pravý apostrof", "pravý apostrof", "right single quote"),
    "\u201c": ("levé uvozovky", "ľavé úvodzovky", "left double quote"),
    "\u201d": ("pravé uvozovky", "pravé úvodzovky", "right double quote"),
    "•": ("odrážka", "odrážka", "bullet"),
    "–": ("dlouhá pomlčka", "pomlčka", "en dash"),
    "—": ("čtverčíková pomlčka", "dlhá pomlčka", "em dash"),
    "™": ("obchodní známka", "obchodná značka", "trade mark"),
    "\u00a0": ("pevná mezera", "pevná medzera", "no-break space"),
    "ˇ": ("háček", "mäkčeň", "caron"),
    "˘": ("oblouček", "oblúčik", "breve"),
    "¤": ("značka měny", "mena", "currency sign"),
    "¦": ("přerušená svislá čára", "prerušená zvislá čiara", "broken bar"),
    "§": ("paragraf", "paragraf", "section sign"),
    "¨": ("přehláska", "prehláska", "diaeresis"),
    "©": ("copyright", "copyright", "copyright"),
    "«": ("levé lomené uvozovky", "ľavé lomené úvodzovky", "left guillemet"),
    "¬": ("negace", "negácia", "not sign"),
    "\u00ad": ("měkké rozdělení", "mäkké rozdelenie", "soft hyphen"),
    "®": ("registrovaná značka", "registrovaná značka", "registered sign"),
    "°": ("stupeň", "stupeň", "degree"),
    "±": ("plus minus", "plus mínus", "plus minus"),
    "˛": ("ocásek", "chvostík", "ogonek"),
    "´": ("diakritická čárka", "dĺžeň", "acute accent"),
    "µ": ("mikro", "mikro", "micro"),
    "¶": ("odstavec", "odsek", "pilcrow"),
    "·": ("tečka uprostřed", "bodka v strede", "middle dot"),
    "¸": ("cedila", "sedila", "cedilla"),
    "»": ("pravé lomené uvozovky", "pravé lomené úvodzovky", "right guillemet"),
    "˝": ("dvojitá čárka", "dvojitá čiarka", "double acute"),
    "˙": ("tečka nahoře", "bodka hore", "dot above"),
    "×": ("krát", "krát", "times"),
    "÷": ("děleno", "delené", "divided by"),
    "ß": ("ostré es", "ostré es", "sharp s"),
}

DIGIT_NAMES = [("nula", "nula", "zero"), ("jedna", "jeden", "one"), ("dva", "dva", "two"),
               ("tři", "tri", "three"), ("čtyři", "štyri", "four"), ("pět", "päť", "five"),
               ("šest", "šesť", "six"), ("sedm", "sedem", "seven"), ("osm", "osem", "eight"),
               ("devět", "deväť", "nine")]

LETTER_NAMES = {  # Czech, Slovak, English
    "a": ("á", "á", "ay"), "b": ("bé", "bé", "bee"), "c": ("cé", "cé", "cee"),
    "d": ("dé", "dé", "dee"), "e": ("é", "é", "ee"), "f": ("ef", "ef", "ef"),
    "g": ("gé", "gé", "gee"), "h": ("há", "há", "aitch"), "i": ("í", "í", "eye"),
    "j": ("jé", "jé", "jay"), "k": ("ká", "ká", "kay"), "l": ("el", "el", "el"),
    "m": ("em", "em", "em"), "n": ("en", "en", "en"), "o": ("ó", "ó", "oh"),
    "p": ("pé", "pé", "pee"), "q": ("kvé", "kvé", "cue"), "r": ("er", "er", "ar"),
    "s": ("es", "es", "ess"), "t": ("té", "té", "tee"), "u": ("ú", "ú", "you"),
    "v": ("vé", "vé", "vee"), "w": ("dvojité vé", "dvojité vé", "double you"),
    "x": ("iks", "iks", "ex"), "y": ("ypsilon", "ypsilon", "wye"), "z": ("zet", "zet", "zed"),
    "á": ("dlouhé á", "dlhé á", "a acute"), "é": ("dlouhé é", "dlhé é", "e acute"),
    "í": ("dlouhé í", "dlhé í", "i acute"), "ó": ("dlouhé ó", "dlhé ó", "o acute"),
    "ú": ("dlouhé ú", "dlhé ú", "u acute"), "ý": ("dlouhé ypsilon", "dlhé ypsilon", "y acute"),
    "ĺ": ("dlouhé el", "dlhé el", "l acute"), "ŕ": ("dlouhé er", "dlhé er", "r acute"),
    "ć": ("cé s čárkou", "cé s dĺžňom", "c acute"),
    "ń": ("en s čárkou", "en s dĺžňom", "n acute"),
    "ś": ("es s čárkou", "es s dĺžňom", "s acute"),
    "ź": ("zet s čárkou", "zet s dĺžňom", "z acute"),
    "č": ("čé", "čé", "c hacek"), "ď": ("ďé", "ďé", "d hacek"),
    "ě": ("ije", "e s mäkčeňom", "e hacek"), "ľ": ("měkké el", "mäkké el", "l hacek"),
    "ň": ("eň", "eň", "n hacek"), "ř": ("eř", "eř", "r hacek"), "š": ("eš", "eš", "s hacek"),
    "ť": ("ťé", "ťé", "t hacek"), "ž": ("žet", "žet", "z hacek"),
    "ů": ("ú s kroužkem", "ú s krúžkom", "u ring"),
    "ä": ("a s přehláskou", "prehlasované a", "a umlaut"),
    "ë": ("e s přehláskou", "e s prehláskou", "e umlaut"),
    "ö": ("o s přehláskou", "o s prehláskou", "o umlaut"),
    "ü": ("u s přehláskou", "u s prehláskou", "u umlaut"),
    "ô": ("o se stříškou", "ó s vokáňom", "o circumflex"),
    "â": ("a se stříškou", "a s vokáňom", "a circumflex"),
    "î": ("i se stříškou", "i s vokáňom", "i circumflex"),
    "ă": ("a s obloučkem", "a s oblúčikom", "a breve"),
    "ą": ("a s ocáskem", "a s chvostíkom", "a ogonek"),
    "ę": ("e s ocáskem", "e s chvostíkom", "e ogonek"),
    "ç": ("cé s cedilou", "cé so sedilou", "c cedilla"),
    "ş": ("es s cedilou", "es so sedilou", "s cedilla"),
    "ţ": ("té s cedilou", "té so sedilou", "t cedilla"),
    "ő": ("o s dvojitou čárkou", "o s dvojitou čiarkou", "o double acute"),
    "ű": ("u s dvojitou čárkou", "u s dvojitou čiarkou", "u double acute"),
    "ż": ("zet s tečkou", "zet s bodkou", "z dot"),
    "ł": ("přeškrtnuté el", "prečiarknuté el", "l stroke"),
    "đ": ("přeškrtnuté dé", "prečiarknuté dé", "d stroke"),
}
CAPITAL = ("velké ", "veľké ", "cap ")


def echo_entries():
    names = {}
    for key, texts in ECHO.items():
        names[key if isinstance(key, int) else key.encode("cp1250")[0]] = texts
    for digit, texts in enumerate(DIGIT_NAMES):
        names[ord("0") + digit] = texts
    for letter, texts in LETTER_NAMES.items():
        names[letter.encode("cp1250")[0]] = texts
        capital = letter.upper().encode("cp1250")[0]
        names[capital] = tuple(prefix + text for prefix, text in zip(CAPITAL, texts))
    # Every character Windows-1250 defines, and nothing else, has a name.
    expected = {8, 9, 13, 27}
    for code in range(32, 256):
        try:
            bytes([code]).decode("cp1250")
            if code != 127:
                expected.add(code)
        except UnicodeDecodeError:
            pass
    assert set(names) == expected, sorted(set(names) ^ expected)
    assert len(names) <= 256
    return sorted(names.items())


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write("".join(line + "\n" for line in lines).encode("cp1250"))


def main():
    write("czech.vbt", braille_table())
    entries = echo_entries()
    for column, language in enumerate(["czech", "slovak", "english"]):
        write(f"{language}.vky", [f"{code}={texts[column]}" for code, texts in entries])


if __name__ == "__main__":
    main()
