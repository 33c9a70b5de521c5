#include "hosted_program.h"

#include "localization/codepage.h"
#include "runtime/runtime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

// The treasure hunt as translated BASIC. Every statement is one call of the runtime; GOSUB
// pushes a return point on returnstack and jumps, RETURN pops it into returnline and the
// dispatcher goes on at that line. The BASIC line numbers survive as those return points.

namespace hunt {
namespace {

// Lines the dispatcher can be at. Return points keep the number of the BASIC line that follows
// the GOSUB, or 100000 + the number of the line whose later statements follow it.
enum Line : int32_t {
    endofprogram = 0,
    programstart = 10,
    newgame = 100,
    askrow = 130, // return point
    found = 310,
    reportattempts = 330, // return point
    endofgame = 400,      // return point
    timeannouncement = 640,
    rules = 650,
    rule1 = 660, // return points 660 to 730
    rule2 = 670,
    rule3 = 680,
    rule4 = 690,
    rule5 = 700,
    rule6 = 710,
    rule7 = 720,
    rulesagain = 730,
    codes = 740,
    code1 = 750, // return points 750 to 790
    code2 = 760,
    code3 = 770,
    code4 = 780,
    codesagain = 790,
    recordcheck = 800,
    equalled = 850,  // return point
    newrecord = 880, // return point
    oldrecord = 890, // return point
    keywait = 900,
    pause = 910,
    openingmelody = 920,
    fanfare = 930,
    recordmelody = 940,
    equalsweep = 950,
    aftergreeting = 100050, // return points continuing a line after its GOSUB
    aftercodesoffer = 100070,
    afterrulesquestion = 100090,
    aftermiss = 100300,
    aftertime = 100400,
    aftercontinuequestion = 100410,
    finalreport = 100420,
    aftertimemelody = 100640,
};

// clang-format off
constexpr std::array<int32_t, 27> returnpoints = {
    askrow, reportattempts, endofgame,
    rule1, rule2, rule3, rule4, rule5, rule6, rule7, rulesagain,
    code1, code2, code3, code4, codesagain,
    equalled, newrecord, oldrecord,
    aftergreeting, aftercodesoffer, afterrulesquestion, aftermiss, aftertime,
    aftercontinuequestion, finalreport, aftertimemelody};
// clang-format on

// The program's texts, converted to Windows-1250 once.
struct Texts {
    static std::string cp(const char *utf8) { return toCp1250(utf8); }

    std::string dayGreeting = cp("dobrý ďeň;");
    std::string morningGreeting = cp("dobré ráno;");
    std::string eveningGreeting = cp("dobrý večer;");
    std::string title = cp(";hra zlato.");
    std::string codesOffer = cp(";keď chceš kódy stlač hociktorú klávesu okrem medzerníka.");
    std::string rulesQuestion = cp(";chceš pravidlá?");
    std::string placeTreasure = cp(";zadaj polohu pokladu!");
    std::string askRow = cp("vlož číslo riadku");
    std::string askColumn = cp("vlož číslo stlpca");
    std::string blank = " ";
    std::string missed = cp("neuhádol si. choď na");
    std::string repeatQuestion = cp(";chceš zopakovať smer ďalšieho hladaňia?");
    std::string badProgress = cp(";ňepostupuješ správňe.");
    std::string triedRow = cp(";typuješ riadok");
    std::string triedColumn = cp("stlpec");
    std::string goTo = cp(";choď na");
    std::string congratulations = cp(";gratulujem!");
    std::string youNeeded = cp(";na nájďeňie pokladu si potreboval");
    std::string oneAttempt = cp("jeden pokus.");
    std::string twoAttempts = cp("dva pokusy.");
    std::string threeAttempts = cp("tri pokusy.");
    std::string fourAttempts = cp("štyri pokusy.");
    std::string attemptsWord = cp("pokusov.");
    std::string newRecord = cp(";nový rekord!");
    std::string oldRecord = cp(";doterajší bol:");
    std::string recordEqualled = cp(";vyrovnaňie doterajšieho rekordu!");
    std::string timeLabel = cp(";čas:,;");
    std::string continueQuestion = cp(";chceš pokračovať v hre?");
    std::string gamesCount = cp(";koňiec. počet hier");
    std::string foundIn = cp(";zlatý poklad si našiel na");
    std::string shortestGame = cp(";najkratšia hra,");
    std::string longestGame = cp(";najdlhšia hra,");
    std::string rulesTitle = cp(";stručné pravidlá.");
    std::string example = cp("príklad;");
    std::string rulesAgain = cp(";chceš ešťe raz pravidlá?");
    std::string codesTitle = cp(";kódy.");
    std::string codesAgain = cp(";chceš ešťe raz kódy?");

    // The rule lines 660 to 720 in order (700 is printed after "príklad;" and a beep).
    std::array<std::string, 7> ruleLines = {
        cp(";cielom hry je najsť zlatý poklad, ktorý je ukrytý v jednom z políčiek tabulky."),
        cp(";tabulka má ďesať riadkov a ďesať stlpcov."),
        cp(";horný riadok sa označuje číslom jedna, spodný číslom ďesať."),
        cp(";lavý stlpec sa označuje číslom jedna, pravý číslom ďesať."),
        cp(";v lavom hornom rohu je políčko, ktoré je v prvom riadku a prvom stlpci."),
        cp(";polohu pokladu zadávaš vložením čísla riadku a stlpca tabulky."),
        cp(";po každom ňeúspešnom pokuse ti oznámim smer ďalšieho hladaňia."),
    };
    // The code lines 750 to 780 in order.
    std::array<std::string, 4> codeLines = {
        cp(",a,; kladná odpoveď na otázku."),
        cp(",medzerník,; záporná odpoveď na otázku."),
        cp(",e,; prerušeňie hry."),
        cp(";po napísaní čísla stlač pravú hornú klávesu."),
    };

    std::string south = cp("juh.");
    std::string north = cp("sever.");
    std::string southeast = cp("juhovýchod.");
    std::string northeast = cp("severovýchod.");
    std::string east = cp("východ.");
    std::string west = cp("západ.");
    std::string southwest = cp("juhozápad.");
    std::string northwest = cp("severozápad.");
};

const Texts &texts() {
    static const Texts converted;
    return converted;
}

// The answer keys.
constexpr std::string_view yes = "a";
constexpr std::string_view no = " ";
constexpr std::string_view abandon = "e";

class TreasureHunt {
public:
    TreasureHunt(Runtime &runtime, HuntVariables &variables)
        : rt_(runtime), v_(variables), t_(texts()) {}

    void run() {
        line_ = programstart;
        while (line_ != endofprogram)
            step();
    }

private:
    void gosub(int32_t subroutine, int32_t returnpoint) {
        push(returnpoint, v_.returnstack);
        line_ = subroutine;
    }
    // RETURN: a popped value that is no return point ends the program.
    void ret() {
        if (v_.returnstack.cells.empty()) {
            line_ = endofprogram;
            return;
        }
        pop(v_.returnline, v_.returnstack);
        line_ = isreturnpoint(v_.returnline) ? v_.returnline : endofprogram;
    }

    void print(const std::string &text) { rt_.printstr(text, 0); }      // PRINT T
    void printcomma(const std::string &text) { rt_.printstr(text, 2); } // PRINT T,
    void printnumber(double number) { rt_.printnum(0, number); }
    void printnumbercomma(double number) { rt_.printnum(2, number); }
    void tone(double frequency, double duration, double timbre) {
        rt_.playsound({frequency}, duration, timbre);
    }
    void tone(double first, double second, double duration, double timbre) {
        rt_.playsound({first, second}, duration, timbre);
    }

    void attemptstext(double n) {
        const double count = std::trunc(n);
        if (count == 1) {
            print(t_.oneAttempt);
        } else if (count == 2) {
            print(t_.twoAttempts);
        } else if (count == 3) {
            print(t_.threeAttempts);
        } else if (count == 4) {
            print(t_.fourAttempts);
        } else {
            printnumbercomma(n);
            print(t_.attemptsWord);
        }
    }

    // The hint from the tried square towards the treasure; row 1 is the top, column 1 the left.
    const std::string &directionhint() const {
        const double row = v_.pickrow, col = v_.pickcol;
        const double trow = v_.treasurerow, tcol = v_.treasurecol;
        if (row < trow && col == tcol)
            return t_.south;
        if (row > trow && col == tcol)
            return t_.north;
        if (row < trow && col < tcol)
            return t_.southeast;
        if (row > trow && col < tcol)
            return t_.northeast;
        if (row == trow && col < tcol)
            return t_.east;
        if (row == trow && col > tcol)
            return t_.west;
        if (row < trow && col > tcol)
            return t_.southwest;
        return t_.northwest;
    }

    void clearvariables() {
        Stack stack = std::move(v_.returnstack);
        v_ = HuntVariables{};
        v_.returnstack = std::move(stack);
    }

    void step();

    Runtime &rt_;
    HuntVariables &v_;
    const Texts &t_;
    int32_t line_ = programstart;
};

void TreasureHunt::step() {
    switch (line_) {
    case programstart:
        clearstack(v_.returnstack);
        rt_.reseed();
        clearvariables();
        v_.hour = strval(leftstr(rt_.timestr(), 2));
        if (v_.hour > 8 && v_.hour < 18)
            print(t_.dayGreeting);
        else if (v_.hour > 2 && v_.hour < 9)
            print(t_.morningGreeting);
        else
            print(t_.eveningGreeting);
        gosub(openingmelody, aftergreeting);
        break;

    case aftergreeting:
        print(t_.title);
        print(t_.codesOffer);
        rt_.click(19);
        gosub(keywait, aftercodesoffer);
        break;

    case aftercodesoffer:
        if (v_.answer != no) {
            line_ = codes;
            break;
        }
        print(t_.rulesQuestion);
        rt_.click(19);
        gosub(keywait, afterrulesquestion);
        break;

    case afterrulesquestion:
        if (v_.answer == yes)
            line_ = rules;
        else if (v_.answer == no)
            line_ = newgame;
        else
            gosub(keywait, afterrulesquestion);
        break;

    case newgame:
        v_.treasurerow = std::trunc(rt_.rnd(1) * 10 + 1);
        v_.treasurecol = std::trunc(rt_.rnd(1) * 10 + 1);
        v_.attempts = 0;
        v_.games = v_.games + 1;
        print(t_.placeTreasure);
        gosub(pause, askrow);
        break;

    case askrow:
        print(t_.askRow);
        rt_.inputnum(v_.pickrow, 0);
        while (v_.pickrow < 1 || v_.pickrow > 10) {
            print(t_.askRow);
            rt_.inputnum(v_.pickrow, 0);
        }
        print(t_.askColumn);
        rt_.inputnum(v_.pickcol, 0);
        while (v_.pickcol < 1 || v_.pickcol > 10) {
            print(t_.askColumn);
            rt_.inputnum(v_.pickcol, 0);
        }
        v_.attempts = v_.attempts + 1;
        for (v_.i = 1; v_.i <= 4; v_.i = v_.i + 1) {
            v_.tone = std::trunc(rt_.rnd(1) * 600 + 90);
            tone(v_.tone, 120, 5);
            print(t_.blank);
        }
        if (v_.pickrow == v_.treasurerow && v_.pickcol == v_.treasurecol) {
            line_ = found;
            break;
        }
        v_.direction = directionhint();
        printcomma(t_.missed);
        print(v_.direction);
        if (v_.games == 1 && v_.attempts == 1)
            print(t_.repeatQuestion);
        else if (v_.attempts > 4)
            print(t_.badProgress);
        rt_.click(19);
        gosub(keywait, aftermiss);
        break;

    case aftermiss:
        if (v_.answer == no) {
            line_ = askrow;
        } else if (v_.answer == yes) {
            printcomma(t_.triedRow);
            printnumbercomma(v_.pickrow);
            printcomma(t_.triedColumn);
            printnumbercomma(v_.pickcol);
            printcomma(t_.goTo);
            print(v_.direction);
            line_ = askrow;
        } else if (v_.answer == abandon) {
            v_.games = v_.games - 1;
            line_ = endofgame;
        } else {
            gosub(keywait, aftermiss);
        }
        break;

    case found:
        if (v_.attempts < 5) {
            print(t_.congratulations);
            gosub(fanfare, reportattempts);
        } else {
            line_ = reportattempts;
        }
        break;

    case reportattempts:
        print(t_.youNeeded);
        attemptstext(v_.attempts);
        gosub(recordcheck, endofgame);
        break;

    case recordcheck:
        if (v_.worst < v_.attempts)
            v_.worst = v_.attempts;
        if (v_.best == 0) {
            v_.best = v_.attempts;
            ret();
        } else if (v_.best < v_.attempts) {
            ret();
        } else if (v_.best > v_.attempts) {
            gosub(recordmelody, newrecord);
        } else {
            gosub(equalsweep, equalled);
        }
        break;

    case newrecord:
        print(t_.newRecord);
        gosub(pause, oldrecord);
        break;

    case oldrecord:
        printcomma(t_.oldRecord);
        printnumber(v_.best);
        v_.best = v_.attempts;
        ret();
        break;

    case equalled:
        print(t_.recordEqualled);
        ret();
        break;

    case endofgame:
        gosub(timeannouncement, aftertime);
        break;

    case timeannouncement:
        gosub(openingmelody, aftertimemelody);
        break;

    case aftertimemelody:
        printcomma(t_.timeLabel);
        print(leftstr(rt_.timestr(), 5));
        ret();
        break;

    case aftertime:
        print(t_.continueQuestion);
        rt_.click(19);
        gosub(keywait, aftercontinuequestion);
        break;

    case aftercontinuequestion:
        if (v_.answer == yes)
            line_ = newgame;
        else if (v_.answer == no)
            gosub(pause, finalreport);
        else
            gosub(keywait, aftercontinuequestion);
        break;

    case finalreport:
        printcomma(t_.gamesCount);
        printnumber(v_.games);
        if (v_.best == v_.worst) {
            print(t_.foundIn);
            attemptstext(v_.worst);
        } else {
            print(t_.shortestGame);
            attemptstext(v_.best);
            print(t_.longestGame);
            attemptstext(v_.worst);
        }
        v_.i = 1300;
        do {
            tone(v_.i, 60, 0);
            v_.i = v_.i - 50;
        } while (v_.i >= 50);
        line_ = endofprogram;
        break;

    case rules:
        print(t_.rulesTitle);
        gosub(openingmelody, rule1);
        break;

    case rule1:
    case rule2:
    case rule3:
    case rule4:
    case rule5:
    case rule6:
    case rule7: {
        const auto index = static_cast<std::size_t>((line_ - rule1) / 10);
        if (line_ == rule5) {
            print(t_.example);
            rt_.beep();
        }
        print(t_.ruleLines[index]);
        gosub(pause, line_ + 10);
        break;
    }

    case rulesagain:
        print(t_.rulesAgain);
        rt_.click(19);
        gosub(keywait, afterrulesquestion);
        break;

    case codes:
        print(t_.codesTitle);
        gosub(openingmelody, code1);
        break;

    case code1:
    case code2:
    case code3:
    case code4: {
        const auto index = static_cast<std::size_t>((line_ - code1) / 10);
        print(t_.codeLines[index]);
        gosub(pause, line_ + 10);
        break;
    }

    case codesagain:
        print(t_.codesAgain);
        rt_.click(19);
        gosub(keywait, aftercodesoffer);
        break;

    // Subroutines.
    case keywait:
        do {
            rt_.click(6);
            v_.answer = rt_.takekey();
        } while (v_.answer.empty());
        ret();
        break;

    case pause:
        print(t_.blank);
        for (v_.i = 0; v_.i <= 9; v_.i = v_.i + 1)
            rt_.beep();
        ret();
        break;

    case openingmelody:
        tone(500, 90, 5);
        tone(600, 90, 10);
        tone(720, 90, 10);
        tone(360, 90, 10);
        tone(500, 300, 10);
        ret();
        break;

    case fanfare:
        tone(1000, 500, 225, 1);
        tone(1250, 625, 225, 10);
        tone(1500, 750, 225, 10);
        tone(2000, 1000, 760, 10);
        ret();
        break;

    case recordmelody: {
        // Frequency in hertz and duration in milliseconds.
        // clang-format off
        static constexpr std::array<std::array<double, 2>, 14> melody = {{
            {200, 380}, {270, 380}, {200, 190}, {335, 190}, {270, 190}, {200, 190}, {270, 380},
            {270, 380}, {300, 190}, {335, 190}, {300, 190}, {255, 190}, {270, 380}, {270, 380}}};
        // clang-format on
        double timbre = 0;
        for (const auto &[frequency, duration] : melody) {
            tone(frequency, duration, timbre);
            timbre = 10;
        }
        ret();
        break;
    }

    case equalsweep:
        for (v_.i = 1; v_.i <= 8; v_.i = v_.i + 1)
            for (v_.j = 200; v_.j <= 1400; v_.j = v_.j + 100)
                tone(v_.j, 15, 3);
        ret();
        break;

    default:
        line_ = endofprogram;
        break;
    }
}

} // namespace

bool isreturnpoint(int32_t line) {
    return std::find(returnpoints.begin(), returnpoints.end(), line) != returnpoints.end();
}

void hostedprogram(Runtime &runtime, HuntVariables &variables) {
    TreasureHunt(runtime, variables).run();
}

void hostedprogram(Runtime &runtime) {
    HuntVariables variables;
    hostedprogram(runtime, variables);
}

} // namespace hunt
