#ifndef TEMPLATEERROR_H
#define TEMPLATEERROR_H

#include <string>
#include <vector>

// A syntax error as a value, for hosts that show errors their own way.
struct TemplateError {
    struct Place {
        std::string file;  // as shown in messages ("<stdin>" for "-")
        int line = 0;      // from 1
        int column = 0;    // from 1, in bytes
    };

    Place where;
    std::string message;  // what was expected, without the place
    // The include directives that led to the file, innermost first; empty
    // for an error in the template itself.
    std::vector<Place> includedFrom;

    // "FILE:LINE:COLUMN: error: MESSAGE\n", then one
    // "FILE:LINE:COLUMN: note: included from here\n" per include.
    std::string ToString() const
    {
        // A file that could not be read has no line.
        auto at = [](const Place& iPlace) {
            if (iPlace.line == 0) return iPlace.file;
            return iPlace.file + ":" + std::to_string(iPlace.line) + ":" + std::to_string(iPlace.column);
        };
        std::string text = at(where) + ": error: " + message + "\n";
        for (const Place& place : includedFrom) text += at(place) + ": note: included from here\n";
        return text;
    }
};

#endif
