#ifndef BROWSERBUDGET_H
#define BROWSERBUDGET_H

#include <cstddef>
#include <string>

// What a browser can hold of an explain page. Its script reads the page's
// data as one string, and a JavaScript string holds at most 2^29 - 24
// characters (V8); its tables and texts then take memory in proportion to
// the pieces of text, the model's nodes and the text itself, and a tab
// that grows past about 4 GB is stopped. The estimate follows what headless
// Chromium took for bench/classes.mtt (bench/explain_page_figures.py).
class BrowserBudget {
public:
    struct Figures {
        size_t pageBytes = 0;
        size_t pieces = 0;
        size_t textBytes = 0;
        size_t modelNodes = 0;
    };

    // The tab's memory, in bytes, for a page of these figures.
    static double TabBytes(const Figures& iFigures);
    // What to warn about a page of these figures (one line, no program
    // name), or empty.
    static std::string Warning(const Figures& iFigures);
};

#endif
