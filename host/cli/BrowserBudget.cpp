#include "BrowserBudget.h"

#include <cstdio>

namespace {

const double kMaxString = 536870888;  // characters: V8's longest string
const double kMaxTab = 4e9;           // bytes

std::string SizeText(double iBytes)
{
    char text[32];
    std::snprintf(text, sizeof text, iBytes >= 1e9 ? "%.1f GB" : "%.0f MB",
                  iBytes >= 1e9 ? iBytes / 1e9 : iBytes / 1e6);
    return text;
}

}  // namespace

double BrowserBudget::TabBytes(const Figures& iFigures)
{
    // A fixed part; the page's text while it is read; per piece its end,
    // chain, object and value; the text; per model node its tables.
    return 80e6 + 2.0 * iFigures.pageBytes + 20.0 * iFigures.pieces + 1.0 * iFigures.textBytes +
           40.0 * iFigures.modelNodes;
}

std::string BrowserBudget::Warning(const Figures& iFigures)
{
    if (iFigures.pageBytes > kMaxString) {
        return "the explain page holds " + SizeText(iFigures.pageBytes) +
               " of data, more than a browser reads in one piece (" + SizeText(kMaxString) +
               "): it will not open; explain a part (fewer --each elements, a smaller model)";
    }
    const double tab = TabBytes(iFigures);
    if (tab > kMaxTab) {
        return "the explain page will need about " + SizeText(tab) +
               " in a browser tab, which browsers stop at about " + SizeText(kMaxTab) +
               ": it may not open; explain a part (fewer --each elements, a smaller model)";
    }
    return std::string();
}
