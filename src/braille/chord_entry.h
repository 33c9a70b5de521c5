#pragma once
#include "braille/braille_table.h"
#include "braille/held_keys.h"

namespace hunt {

// Sets `dotpattern` from the keys held now, the same in the main window and the input dialog:
// the held dot keys F D S J K L as "1".."6" in ascending order (Space and other keys do not
// matter then); with no dot key held, " " when Space is held, else empty. With no dot key
// held the prefix in force is dropped.
void readchord(const HeldKeys &keys, BrailleState &state);

} // namespace hunt
