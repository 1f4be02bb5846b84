#ifndef MESSAGEPROBE_H
#define MESSAGEPROBE_H

#include <cstddef>
#include <string>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MTTString.h"

class MTLIModelObject;
class MTTEvaluationEnvironment;

namespace mtt {
class Model;
class Template;
struct RenderOptions;
}  // namespace mtt

// Evaluates a template once more, text only, to learn what the render's
// messages alone do not tell: for each message, the model object that was
// current and how far the text had got when it came; and when evaluation
// stops, the text as far as it got (the render keeps nothing of a failed
// evaluation). The library evaluates the same way and says the same
// things in the same order both times, so the messages pair up.
class MessageProbe : public MTTIMessageObserver {
public:
    struct Heard {
        std::string text;
        const MTTNode* subject;  // the node the message is about
        MTLIModelObject* object;
        size_t offset;  // bytes of text written before it
    };

    MessageProbe(const mtt::Template& iTemplate, mtt::Model& ioModel, const mtt::RenderOptions& iOptions);
    ~MessageProbe() override;
    MessageProbe(const MessageProbe&) = delete;
    MessageProbe& operator=(const MessageProbe&) = delete;

    const std::vector<Heard>& Messages() const { return _heard; }
    bool Evaluated() const { return _evaluated; }
    // The text as it stood at the last message.
    const std::string& LastText() const { return _lastText; }

    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                   const char* iText) override;

private:
    MTTEvaluationEnvironment* _environment = nullptr;
    MTTString _text;
    std::vector<Heard> _heard;
    bool _evaluated = false;
    std::string _lastText;
};

#endif
