#ifndef MTTRENDERRESULT_H
#define MTTRENDERRESULT_H

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MTTEvaluationOutput.h"
#include "MTTITextPieceListener.h"
#include "MTTString.h"
#include "MttOutputShape.h"

class MTLIModelObject;

namespace mtt {

// One message of the library during a render, with the template text
// behind it (file empty when no template text is behind it).
struct RenderMessage {
    std::string text;  // as the library words it: "ERROR: ...", mostly with a line end
    std::string file;
    int line = 0;
    int column = 0;
    std::string excerpt;  // the directive, on one line
    // The message only repeats for an enclosing statement the failure
    // reported just before it ("ERROR: StatList failed evaluation for child
    // 4." and the like, one per level): context, not a problem of its own.
    // The first line of such a cascade is not context when nothing came
    // before it to explain the failure.
    bool context = false;
    // What to do about it, where the library's words do not say (empty
    // otherwise); printed as a note after the message.
    std::string hint;

    // "FILE:LINE:COLUMN: error: WHAT" on one line, WHAT being the text
    // without "ERROR: " and the line end; without a position "error: WHAT".
    std::string ToString() const
    {
        std::string what = text.compare(0, 7, "ERROR: ") == 0 ? text.substr(7) : text;
        while (!what.empty() && (what.back() == '\n' || what.back() == '\r')) what.pop_back();
        return Where() + "error: " + what;
    }
    // "FILE:LINE:COLUMN: ", what ToString and a note put before their
    // words; empty without a position.
    std::string Where() const
    {
        if (file.empty()) return std::string();
        return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
    }
};

class MessageTally;

// How to render.
struct RenderOptions {
    // Set as string variables before evaluating.
    std::map<std::string, std::string> variables;
    // The current object at the start (the root otherwise); not owned.
    MTLIModelObject* current = nullptr;
    // Keep the output tree in the result (RenderResult::output). Without it,
    // an immediate render writes its text directly, building no tree, which
    // is several times faster; the text and messages are the same.
    bool keepOutput = false;
    // Make the text (RenderResult::text); a host that reads the tree only
    // can spare it.
    bool text = true;
    // With the text written directly (no keepOutput), also tell where each
    // usercode directive's pieces lie in it (RenderResult::userCode).
    bool userCodePieces = false;
    // With the text written directly (no keepOutput), also record what the
    // output tree would tell of it: which directive and model object wrote
    // each piece (RenderResult::shape). Far less memory and time than the
    // tree.
    bool shape = false;
    // With the text written directly (no keepOutput), leave it in
    // RenderResult::rendered, the string the library wrote, rather than
    // copy it into RenderResult::text: a large output is then held once.
    bool keepRendered = false;
    // Bytes to reserve for the text before rendering: the size it will
    // likely have (FileSet::Render puts there the size of the file being
    // replaced). The text grows past it as needed.
    size_t sizeHint = 0;
    // Called right after each library message, context included.
    std::function<void(const RenderMessage&)> onMessage;
    // Write each message that is not context on the standard error stream
    // as it comes (RenderMessage::ToString and a line end), a line printed
    // already only counted (MessageTally), and the counts when the render
    // ends. The library
    // prints nothing itself during a render: its messages reach the host
    // here, through onMessage and in RenderResult::messages, and never on
    // the standard output.
    bool printMessages = true;
    // Where printed messages are counted: one tally for several renders
    // prints a message that repeats across them once, and the counts when
    // its owner calls PrintCounts. Null: each render counts its own.
    std::shared_ptr<MessageTally> printed;
};

// What a render gave.
struct RenderResult {
    bool ok = false;         // no message and an output
    bool evaluated = false;  // an output, maybe with messages
    std::string text;        // the generated text
    MTTString rendered;      // the generated text instead, with keepRendered
    std::vector<RenderMessage> messages;
    std::unique_ptr<MTTEvaluationOutput> output;  // with keepOutput; points into the template and the model
    // With userCodePieces and no tree: each piece a usercode directive wrote
    // (its markers and the user code), in text order, with its bytes in text.
    std::vector<MTTTextPiece> userCode;
    // With shape and no tree: the shape of the tree the text came from.
    std::unique_ptr<OutputShape> shape;
};

}  // namespace mtt

#endif
