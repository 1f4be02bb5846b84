#ifndef MTTRENDERRESULT_H
#define MTTRENDERRESULT_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MTTEvaluationOutput.h"

class MTLIModelObject;

namespace mtt {

// One message of the library during a render, with the template text
// behind it (file empty when no template text is behind it).
struct RenderMessage {
    std::string text;  // as the library printed it
    std::string file;
    int line = 0;
    int column = 0;
    std::string excerpt;  // the directive, on one line
};

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
    // Called right after each library message, as it is printed.
    std::function<void(const RenderMessage&)> onMessage;
};

// What a render gave. The library also prints its messages on the
// process's standard output and error streams, as it always does.
struct RenderResult {
    bool ok = false;         // no message and an output
    bool evaluated = false;  // an output, maybe with messages
    std::string text;        // the generated text
    std::vector<RenderMessage> messages;
    std::unique_ptr<MTTEvaluationOutput> output;  // with keepOutput; points into the template and the model
};

}  // namespace mtt

#endif
