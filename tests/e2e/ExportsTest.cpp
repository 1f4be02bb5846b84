#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <set>
#include <string>

#include "MTTModule.h"

// The shared library's binary interface is the exported classes, the
// interfaces a host implements and a few functions: nothing internal leaks out.

namespace {

const char* const kExported[] = {
    "MTTNode",
    "MTTIStatement",
    "MTTIExpression",
    "MTTNodeFactory",
    "MTTEvaluationEnvironment",
    "MTTEvaluationOutput",
    "MTTEvaluationOutputNode",
    "MTTEvaluationOutputLeaf",
    "MTTIEvaluationOutputVisitor",
    "ListOfMTTIExpression",
    "ListOfMTTEvaluationOutput",
    "MTLIModelObject",
    "MTLILateEvaluator",
    "MTTIMessageObserver",
    "MTTITextPieceListener",
    "MTTIOutputListener",
};

const char* const kFunctions[] = {
    "MTTModuleMtt()",
    "MTTSetMessageObserver(MTTIMessageObserver*)",
    "MTTSetMessagePrinting(bool)",
    "MTTIsFollowOnMessage(char const*)",
    "MTTEvaluateText(MTTIStatement*, MTTEvaluationEnvironment*, MTTString&)",
    "MTTEvaluateText(MTTIStatement*, MTTEvaluationEnvironment*, MTTString&, MTTITextPieceListener*)",
    "MTTEvaluateText(MTTIStatement*, MTTEvaluationEnvironment*, MTTString&, MTTITextPieceListener*, "
    "MTTIOutputListener*)",
};

// The exported class a demangled symbol belongs to, or "" when none.
std::string OwningClass(const std::string& iSymbol)
{
    for (const char* name : kExported) {
        const std::string c(name);
        for (const char* prefix : {"", "non-virtual thunk to ", "virtual thunk to "}) {
            if (iSymbol.rfind(prefix + c + "::", 0) == 0) return c;
        }
        for (const char* prefix : {"vtable for ", "typeinfo for ", "typeinfo name for "}) {
            if (iSymbol == prefix + c) return c;
        }
    }
    return "";
}

}  // namespace

TEST(Exports, OnlyThePublicClassesAndTheModuleFunctionAreExported)
{
    EXPECT_EQ(1, MTTModuleMtt());
    std::string command = std::string("nm -D --defined-only -C '") + MTT_LIBRARY_PATH + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::set<std::string> seen;
    std::string unexpected;
    int symbols = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        // "<address> <type> <demangled name>"
        size_t first = text.find(' ');
        size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
        if (second == std::string::npos) {
            unexpected += text + "\n";
            continue;
        }
        std::string symbol = text.substr(second + 1);
        ++symbols;
        if (std::find(std::begin(kFunctions), std::end(kFunctions), symbol) != std::end(kFunctions)) {
            seen.insert(symbol);
            continue;
        }
        std::string owner = OwningClass(symbol);
        if (owner.empty()) {
            unexpected += text + "\n";
        } else {
            seen.insert(owner);
        }
    }
    EXPECT_EQ(0, pclose(pipe));
    EXPECT_GT(symbols, 100);
    EXPECT_EQ("", unexpected);
    for (const char* name : kExported) EXPECT_EQ(1u, seen.count(name)) << name;
    for (const char* name : kFunctions) EXPECT_EQ(1u, seen.count(name)) << name;
}

// Hosts built against an earlier version call what the infrastructure
// library exported then; a function since moved into a header, to be
// inlined, is still there.
TEST(Exports, TheInfrastructureKeepsWhatEarlierHostsCall)
{
    std::string command = std::string("nm -D --defined-only -C '") + MTT_INFRA_LIBRARY_PATH + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::string symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) symbols += line;
    EXPECT_EQ(0, pclose(pipe));
    for (const char* kept : {"MTTString::MTTString(char const*)", "MTTString::MTTString(char const*, unsigned long)",
                             "MTTString::Append(char const*)", "MTTString::~MTTString()"}) {
        EXPECT_NE(std::string::npos, symbols.find(std::string(kept) + "\n")) << kept;
    }
}
