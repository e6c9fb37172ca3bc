#pragma once

#include <string>

// What the formula dialog remembers from one opening to the next while the program
// runs: the texts of its four fields as last read, and whether a computation has
// succeeded (only then are the texts put back when it opens). Owned by the editor.
struct FormulaDialogMemory {
    std::string formula; // UTF-8, at most FormulaTextLength characters
    std::string a;       // at most NumberTextLength characters each
    std::string b;
    std::string increment;
    bool formulaComputed = false;
};

// How many characters of each field are read.
inline constexpr int FormulaTextLength = 254;
inline constexpr int NumberTextLength = 18;
