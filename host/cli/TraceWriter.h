#ifndef TRACEWRITER_H
#define TRACEWRITER_H

#include <functional>
#include <string>
#include <vector>

#include "GeneratedText.h"

class MTLIModelObject;
class MTTEvaluationOutputLeaf;
class SourceMap;

// Relates every piece of generated text back to the template and the
// model, one line per output leaf with text, in text order:
//   [BEGIN,END)<TAB>FILE:LINE:COLUMN<TAB>STATEMENT<TAB>OBJECT
// BEGIN and END are byte offsets into the generated text (END excluded);
// FILE:LINE:COLUMN is where the producing statement is written in the
// template (as mttgen's messages name places: the column counts bytes),
// or - when no template text made it; STATEMENT is its tree dump with backslashes,
// line breaks, tabs and other control bytes escaped so that it stays on
// one line; OBJECT is what the describer writes for the leaf's model
// object (mttgen: its JSON pointer as a JSON string, "" for the root), or
// - when the leaf has none or there is no describer.
class TraceWriter {
public:
    // Describes a model object on one line; may be empty.
    using ObjectDescriber = std::function<std::string(const MTLIModelObject*)>;

    // iMap: where the template's statements are written.
    TraceWriter(const SourceMap& iMap, ObjectDescriber iDescriber);

    // One line per piece of the text written that holds text.
    std::string Format(const GeneratedText& iText) const;

    // Backslash escapes for control bytes and the backslash itself, as a
    // reader of the dump expects them (not a target language's literal).
    static std::string EscapeLine(const std::string& iText);
    // iText as a JSON string literal, escaped as the json transform does.
    static std::string QuoteJson(const std::string& iText);
    // Whether iText is a trace as Format writes them, every line of it.
    static bool IsTrace(const std::string& iText);

private:
    const SourceMap& _map;
    ObjectDescriber _describer;
};

#endif
