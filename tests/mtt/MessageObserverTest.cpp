// The message observer hears each library message with the node behind it,
// while what is printed stays the same.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MTTStatAssign.h"
#include "MTTStatExpression.h"
#include "NodeKit.h"
#include "TestModel.h"

using namespace kit;

namespace {

struct Heard {
    const MTTNode* reporter;
    const MTTNode* subject;
    bool toError;
    std::string text;
};

class Recorder : public MTTIMessageObserver {
public:
    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError, const char* iText) override
    {
        heard.push_back({iReporter, iSubject, iToStandardError, iText});
    }
    std::vector<Heard> heard;
};

TEST(MessageObserver, NamesReporterAndSubjectAndLeavesPrintingUnchanged)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    MTTExpString literal(MTTString("literal"), true);
    env.AddAlias(MTTString("ro"), &literal);
    MTTIExpression* missing = Prop("n", "nosuch");
    MTTIStatement* assign = new MTTStatAssign(MTTString("ro"), Str("x"));
    std::unique_ptr<MTTIStatement> list(List({assign, new MTTStatExpression(missing), Text("t")}));

    const Outcome unobserved = Eval(list.get(), &env);
    Recorder recorder;
    EXPECT_EQ(nullptr, MTTSetMessageObserver(&recorder));
    const Outcome observed = Eval(list.get(), &env);
    const Outcome assertion = Capture([&] { return list->Evaluate(nullptr); });
    EXPECT_EQ(&recorder, MTTSetMessageObserver(nullptr));

    EXPECT_EQ(unobserved.out, observed.out);
    EXPECT_EQ(unobserved.err, observed.err);
    ASSERT_EQ(3u, recorder.heard.size());
    // The environment's message is put down to the statement using it.
    EXPECT_EQ(assign, recorder.heard[0].reporter);
    EXPECT_EQ(0u, recorder.heard[0].text.find("ERROR: trying to write in an alias"));
    EXPECT_EQ(missing, recorder.heard[1].reporter);
    EXPECT_FALSE(recorder.heard[1].toError);
    // A missing property does not fail its statement; the third message is
    // the assertion report of the null environment, which names no node.
    EXPECT_EQ(nullptr, recorder.heard[2].reporter);
    EXPECT_TRUE(recorder.heard[2].toError);
    EXPECT_EQ(Assertion("NULL != iEnvironment"), Norm(recorder.heard[2].text));
    EXPECT_EQ(assertion.err, Norm(recorder.heard[2].text));
}

TEST(MessageObserver, AFailingListChildIsTheSubject)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Probe* failing = new Probe("", true);
    std::unique_ptr<MTTIStatement> list(List({Text("a"), failing}));
    Recorder recorder;
    MTTSetMessageObserver(&recorder);
    Eval(list.get(), &env);
    MTTSetMessageObserver(nullptr);
    ASSERT_EQ(1u, recorder.heard.size());
    EXPECT_EQ(list.get(), recorder.heard[0].reporter);
    EXPECT_EQ(failing, recorder.heard[0].subject);
    EXPECT_EQ("ERROR: StatList failed evaluation for child 2.\n", recorder.heard[0].text);
}

}  // namespace

// A host may leave the messages to its observer alone; they keep their
// texts and streams, and with no observer they are printed whatever is set.
TEST(MessageObserver, PrintingOffLeavesMessagesToTheObserverAlone)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    std::unique_ptr<MTTIStatement> list(List({Foreach(Prop("n", "nosuch"), Text("x")), Expr(Prop("n", "nosuch"))}));
    const Outcome printed = Eval(list.get(), &env);

    Recorder recorder;
    MTTSetMessageObserver(&recorder);
    EXPECT_TRUE(MTTSetMessagePrinting(false));
    const Outcome observed = Eval(list.get(), &env);
    MTTSetMessageObserver(nullptr);
    const Outcome unobserved = Eval(list.get(), &env);
    EXPECT_FALSE(MTTSetMessagePrinting(true));

    EXPECT_EQ("", observed.out + observed.err);
    EXPECT_EQ(printed.out, unobserved.out);
    std::string heard;
    for (const Heard& message : recorder.heard) heard += message.text;
    EXPECT_EQ(printed.out, heard);
    // The property's own message, then the list's line about its child.
    ASSERT_EQ(2u, recorder.heard.size());
    EXPECT_FALSE(MTTIsFollowOnMessage(recorder.heard[0].text.c_str()));
    EXPECT_TRUE(MTTIsFollowOnMessage(recorder.heard[1].text.c_str()));
}

TEST(MessageObserver, FollowOnMessagesAreTheLinesOfEnclosingStatements)
{
    for (const char* text :
         {"ERROR: StatList failed evaluation for child 12.\n", "ERROR: StatList failed late evaluation for child 1.\n",
          "ERROR: Evaluation error in if body.\n", "ERROR: Foreach failed evaluation for child 0.\n",
          "ERROR: function call: evaluation of function \"f\" failed.\n", "ERROR: function call failed evaluation.\n",
          "ERROR: function call failed late evaluation.\n"}) {
        EXPECT_TRUE(MTTIsFollowOnMessage(text)) << text;
    }
    for (const char* text :
         {"ERROR: Property \"${a:b}\" does not exist.\n", "ERROR: StatList failed evaluation for child x.\n",
          "ERROR: StatList failed evaluation for child 1.", "ERROR: Foreach argument is not a list.\n",
          "ERROR: function call: function \"f\" nested too deeply (101 calls).\n", ""}) {
        EXPECT_FALSE(MTTIsFollowOnMessage(text)) << text;
    }
    EXPECT_FALSE(MTTIsFollowOnMessage(nullptr));
}
