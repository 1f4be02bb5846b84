// What a host embedding mtt::Template gets of the library's messages: each
// in the result and through onMessage, the cascade of enclosing statements
// marked as context, and on the standard error stream only the lines that
// are not context (or nothing); never anything on the standard output.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MttModel.h"
#include "MttTemplate.h"
#include "StreamCapture.h"

namespace {

const char* const kTemplate =
    "start\n"
    "[% foreach classes %]\n"
    "class ${name}\n"
    "[%   foreach members %]\n"
    "  ${name};\n"
    "[%   end %]\n"
    "[% end %]\n";

struct Rendered {
    mtt::RenderResult result;
    std::vector<bool> heard;  // context, per onMessage call
    std::string out;
    std::string err;
};

Rendered Render(const char* iTemplate, bool iPrint)
{
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> page = mtt::Template::FromString(iTemplate, "t.mtt", errors);
    std::string error;
    std::unique_ptr<mtt::Model> model = mtt::Model::FromText(R"({"classes": [{"name": "A"}]})", "m.json", error);
    Rendered run;
    if (!page || !model) {
        ADD_FAILURE() << "template or model not loaded: " << error;
        return run;
    }
    mtt::RenderOptions options;
    options.printMessages = iPrint;
    options.onMessage = [&run](const mtt::RenderMessage& iMessage) { run.heard.push_back(iMessage.context); };
    StreamCapture capture;
    run.result = page->Render(*model, options);
    capture.Stop();
    run.out = capture.Out();
    run.err = capture.Err();
    return run;
}

}  // namespace

TEST(RenderMessages, AFailureDeepInListsIsOneLineAndItsCascadeIsContext)
{
    for (bool print : {true, false}) {
        const Rendered run = Render(kTemplate, print);
        EXPECT_FALSE(run.result.evaluated);
        EXPECT_EQ("", run.out);
        EXPECT_EQ(print ? "t.mtt:4:1: error: Property \"${:members}\" does not exist.\n" : "", run.err);
        ASSERT_EQ(4u, run.result.messages.size());
        EXPECT_EQ((std::vector<bool>{false, true, true, true}), run.heard);
        const mtt::RenderMessage& cascade = run.result.messages.back();
        EXPECT_TRUE(cascade.context);
        EXPECT_EQ("ERROR: StatList failed evaluation for child 2.\n", cascade.text);
        EXPECT_EQ("t.mtt:2:1: error: StatList failed evaluation for child 2.", cascade.ToString());
    }
    // The thread prints the library's messages again, with no observer left.
    EXPECT_TRUE(MTTSetMessagePrinting(true));
    EXPECT_EQ(nullptr, MTTSetMessageObserver(nullptr));
}

TEST(RenderMessages, AMessageThatDoesNotStopTheRenderIsPrimaryAndEvaluationGoesOn)
{
    const Rendered run = Render("a [%= ${name:nosuch} %] b\n", true);
    EXPECT_TRUE(run.result.evaluated);
    EXPECT_FALSE(run.result.ok);
    EXPECT_EQ("a  b\n", run.result.text);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("t.mtt:1:3: error: Property \"${name:nosuch}\" does not exist.\n", run.err);
    EXPECT_EQ(std::vector<bool>{false}, run.heard);
}

// A size hint changes the room reserved for the text, nothing else: not the
// text, not the messages, whether it is too small, or beyond what a text
// can hold. Nor does keeping the library's string: the text is there
// instead, where it is written directly.
TEST(RenderMessages, ASizeHintOrTheKeptStringChangesNothingButRoom)
{
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> page = mtt::Template::FromString(kTemplate, "t.mtt", errors);
    ASSERT_TRUE(page);
    // A model that fails the render (a class without members) and one that
    // does not, whose text is not empty.
    for (const char* json :
         {R"({"classes": [{"name": "A"}]})", R"({"classes": [{"name": "A", "members": [{"name": "x"}]}]})"}) {
        std::string error;
        std::unique_ptr<mtt::Model> model = mtt::Model::FromText(json, "m.json", error);
        ASSERT_TRUE(model) << error;
        mtt::RenderOptions options;
        options.printMessages = false;
        const mtt::RenderResult plain = page->Render(*model, options);
        for (const bool tree : {false, true}) {
            for (const size_t hint : {size_t(1), size_t(1) << 20, SIZE_MAX}) {
                for (const bool kept : {false, true}) {
                    options.keepOutput = tree;
                    options.sizeHint = hint;
                    options.keepRendered = kept;
                    const mtt::RenderResult hinted = page->Render(*model, options);
                    const bool inRendered = kept && !tree;
                    EXPECT_EQ(plain.text, inRendered
                                              ? std::string(hinted.rendered.ConvertToChar(), hinted.rendered.Length())
                                              : hinted.text)
                        << hint;
                    EXPECT_TRUE(inRendered ? hinted.text.empty() : hinted.rendered.IsEmpty()) << hint;
                    EXPECT_EQ(plain.messages.size(), hinted.messages.size()) << hint;
                }
            }
        }
    }
}
