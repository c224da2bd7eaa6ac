// The numbered keys of the file list ("Picture0", "Music12"), found among the
// key names a section really holds, so that a hand-edited count never makes
// the loading ask for keys one number at a time up to it.
#pragma once

// The number N of a key named prefix followed by N exactly as "%d" writes a
// number from 0 up (no sign, blank or leading zero), the prefix matched
// without regard to ASCII letter case. -1 for any other name, and for a
// number beyond the int range.
int EntryKeyNumber(const char* name, const char* prefix);

// The number of names in a list of NUL-terminated names ended by an empty one.
int KeyNameCount(const char* names);

// Writes into numbers, in ascending order and each once, the numbers of the
// keys of names (a list as above) that belong to prefix and lie below count.
// numbers must hold KeyNameCount(names) values. Returns how many it wrote.
int CollectEntryNumbers(const char* names, const char* prefix, int count, int* numbers);
