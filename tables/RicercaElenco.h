#pragma once
// Typing into a drop-down list, the same in every list of the program.
class QComboBox;

// From now on, typing into the list, closed or open, finds the first item
// that starts with what was typed in quick succession (at most a second
// between keys): only letters and digits count, case aside, so "Gen - 2011",
// "gen 2011" and "GEN-2011" all find "Gen - 2011". Closed, the list picks the item at
// once, as a click on it would (activated and textActivated are emitted);
// open, the item is highlighted and Enter picks it. A key that continues no
// item starts a new search; one key typed again and again steps through the
// items that start with it. A blank that starts a search opens the list, as
// it always does.
void AbilitaRicercaDigitata(QComboBox* elenco);
