#ifndef MARKERWORDS_H
#define MARKERWORDS_H

#include <string>

// The words of the user-code marker lines, taken from the library's own
// marker leaves ("\n// Begin of User Code\n", "// End of User Code\n"), so
// that they have one home.
struct MarkerWords {
    std::string libraryOpener;  // "//"
    std::string begin;          // " Begin of User Code"
    std::string end;            // " End of User Code"
    std::string common;         // " of User Code"

    static const MarkerWords& Get();
};

#endif
