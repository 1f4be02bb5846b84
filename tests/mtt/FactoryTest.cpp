#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "MTTNodeClasses.h"
#include "NodeKit.h"

using namespace kit;

namespace {

std::string Dump(MTTNode* iNode)
{
    return iNode->ToString().ConvertToChar();
}

}  // namespace

TEST(Factory, StringsAndStringListsAreCopiedAndNullStringsAreEmpty)
{
    MTTNodeFactory f;
    ListOfMTTIExpression noArgs;
    struct Case {
        std::function<MTTNode*(MTTString*, ListOfMTTString&)> make;
        const char* dumpWithText;  // made with the text "t" and the list (p, q)
        const char* dumpWithNull;  // made with a null string and the list (p, q)
    } cases[] = {
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatText(s); }, "(text \"t\")", "(text \"\")"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatSpecialText(s); }, "(specialtext \"t\")",
         "(specialtext \"\")"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeExpString(s, true); }, "\"t\"", "\"\""},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeExpVariable(s); }, "(Var t)", "(Var )"},
        {[&](MTTString* s, ListOfMTTString& l) { return f.makeExpProperty(l, true, *s); }, "${t:p/q}", nullptr},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatFunctionCall(s, noArgs); }, "(call t ())",
         "(call  ())"},
        {[&](MTTString* s, ListOfMTTString& l) { return f.makeStatFunctionDecl(s, l, nullptr); },
         "(function t (p, q) {NULL})", "(function  (p, q) {NULL})"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatAssign(s, nullptr); }, "((Var t) = NULL)",
         "((Var ) = NULL)"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatAppend(s, nullptr); }, "((Var t) += NULL)",
         "((Var ) += NULL)"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatOrEquals(s, nullptr); }, "((Var t) |= NULL)",
         "((Var ) |= NULL)"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatDeclare(s, 0); }, "(declare t)", "(declare )"},
        {[&](MTTString* s, ListOfMTTString&) { return f.makeStatComment(s); }, "", ""},
    };
    for (Case& c : cases) {
        auto* text = new MTTString("t");
        ListOfMTTString list;
        list.Append(MTTString("p"));
        list.Append(MTTString("q"));
        std::unique_ptr<MTTNode> node(c.make(text, list));
        // The caller's string and list may change or go right after the call.
        *text = "changed";
        delete text;
        list[1] = "changed";
        list.RemoveAll();
        EXPECT_EQ(c.dumpWithText, Dump(node.get()));
        if (c.dumpWithNull == nullptr) continue;
        list.Append(MTTString("p"));
        list.Append(MTTString("q"));
        std::unique_ptr<MTTNode> fromNull(c.make(nullptr, list));
        EXPECT_EQ(c.dumpWithNull, Dump(fromNull.get()));
    }
}

TEST(Factory, CallsTakeOverTheArgumentExpressionsButNotTheCallersList)
{
    MTTNodeFactory f;
    MTTString name("g"), a("a");
    auto* list = new ListOfMTTIExpression;
    MTTIExpression* first = f.makeExpVariable(&a);
    MTTIExpression* second = f.makeExpString(&a, false);
    list->Append(first);
    list->Append(second);
    std::unique_ptr<MTTIStatement> call(f.makeStatFunctionCall(&name, *list));
    EXPECT_EQ(2, list->Size());  // the caller keeps its list and its pointers
    EXPECT_EQ(first, (*list)[1]);
    list->RemoveAll();
    delete list;
    ASSERT_EQ(2, call->GetChildCount());
    EXPECT_EQ(first, call->GetChild(1));
    EXPECT_EQ(second, call->GetChild(2));
    EXPECT_EQ(nullptr, call->GetChild(3));
    EXPECT_EQ("(call g ((Var a), \"a\"))", Dump(call.get()));
    // Deleting the call deletes both expressions once (checked by the
    // sanitizers and valgrind).
}

// The factory only remembers the tree a parser hands it: deleting the
// factory leaves the tree alive (checked by the sanitizers and valgrind).
TEST(Factory, HoldsButNeverOwnsTheTree)
{
    std::unique_ptr<MTTIStatement> first(Text("1")), second(Text("2"));
    auto* factory = new MTTNodeFactory;
    EXPECT_EQ(nullptr, factory->getTree());
    factory->setTree(first.get());
    factory->setTree(second.get());
    EXPECT_EQ(second.get(), factory->getTree());
    delete factory;
    EXPECT_EQ("(text \"1\")(text \"2\")", Dump(first.get()) + Dump(second.get()));
}

// Nodes have their own allocation functions (the block pool); a host's
// node kind still takes every form of new, and an over-aligned one gets
// its alignment.
TEST(Factory, HostNodeKindsTakeEveryFormOfNew)
{
    delete new Probe("a");
    std::unique_ptr<Probe> nothrow(new (std::nothrow) Probe("b"));
    ASSERT_NE(nothrow, nullptr);
    alignas(Probe) unsigned char place[sizeof(Probe)];
    Probe* placed = new (place) Probe("c");
    placed->~Probe();
    struct alignas(64) Wide : Probe {
        Wide() : Probe("d") {}
    };
    std::unique_ptr<Wide> wide(new Wide());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(wide.get()) % 64, 0u);
}
