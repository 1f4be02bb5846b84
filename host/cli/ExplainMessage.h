#ifndef EXPLAINMESSAGE_H
#define EXPLAINMESSAGE_H

#include <cstdint>
#include <optional>
#include <string>

#include "SourceMap.h"

class MTLIModelObject;

// One message of a run as the explain page lists it: what the evaluation
// or the regeneration of the files said, with what is known of where.
struct ExplainMessage {
    enum class Severity { kError, kWarning, kNote };

    Severity severity = Severity::kError;
    std::string text;  // without "ERROR: " and the line end
    std::string hint;  // what to do, where the text does not say
    // Only repeats a failure for an enclosing statement ("StatList failed
    // evaluation for child 4"): shown as context of the message before.
    bool context = false;
    // The failure that stopped the evaluation of its file.
    bool stop = false;
    // The template text behind it, in the template of its file...
    std::optional<SourceSpan> span;
    // ...or a place a file message names: a template or a generated file,
    // as named on the command line, a 1-based line and a byte column.
    std::string file;
    int line = 0;
    int column = 0;
    // Where the generated text stood when it came: a byte offset into the
    // evaluation's own text (before user code is kept); -1 when unknown.
    int64_t evaluationOffset = -1;
    // The object that was current.
    const MTLIModelObject* object = nullptr;
};

#endif
