// What each option of the builder's command line is, one row per option: the parser takes its set
// of known letters from here and --help prints the rows, so the two cannot drift apart.
#pragma once

#include <span>

struct OptionRow {
    char letter;           // the letter after '-'
    const char* sub;       // the letter or digits after it for -G, -J, -L and -E rows, else ""
    const char* group;     // the heading --help shows it under
    const char* argument;  // what follows the letters without a blank ("N", "PATH"), or ""
    const char* summary;   // one line
};

std::span<const OptionRow> OptionRows();

// True when a letter after '-' is an option of the builder (with any sub-letter).
bool IsOptionLetter(char letter);
