// Which existing text goes to which new section: by key only, and never a
// guess when the file cannot say whose a text is.
#include <gtest/gtest.h>

#include "UserCodeMatcher.h"

namespace {

using Section = UserCodeSections::Section;
using Wanted = std::vector<std::pair<std::string, std::string>>;

Section At(int iLine, const std::string& iKey, const std::string& iText)
{
    Section section;
    section.key = iKey;
    section.text = iText;
    section.beginLine = iLine;
    section.endLine = iLine + 1;
    return section;
}

std::vector<std::string> Keys(const std::vector<Section>& iSections)
{
    std::vector<std::string> keys;
    for (const Section& section : iSections) keys.push_back(section.key);
    return keys;
}

TEST(UserCodeMatcherTest, TextsFollowTheirKeysAndTheRestAreOrphans)
{
    const UserCodeMatcher::Outcome outcome =
        UserCodeMatcher::Match(Wanted{{"/b", "model b"}, {"/new", "model new"}, {"/a", ""}},
                               {At(1, "/a", "A"), At(5, "/gone", "G"), At(9, "/b", "B"), At(12, "/empty", "")});
    EXPECT_EQ((std::vector<std::string>{"B", "model new", "A"}), outcome.texts);
    // An empty section holds nothing: it is not an orphan.
    EXPECT_EQ((std::vector<std::string>{"/gone"}), Keys(outcome.orphans));
    EXPECT_TRUE(outcome.conflicts.empty());
}

TEST(UserCodeMatcherTest, TextsWhoseOwnerIsUnclearAreNeverGiven)
{
    struct Case {
        const char* what;
        std::vector<Section> existing;
        Wanted wanted;
        std::vector<std::string> texts;
        std::vector<std::string> orphans;
        std::vector<int> conflictLines;
    };
    const Case cases[] = {
        {"one key twice", {At(1, "/a", "A1"), At(5, "/a", "A2")}, {{"/a", "m"}}, {"m"}, {"/a", "/a"}, {5}},
        {"an earlier version's K#2",
         {At(1, "/a", "first"), At(5, "/a#2", "second")},
         {{"/a", "m"}},
         {"m"},
         {"/a", "/a#2"},
         {1, 5}},
        {"a section that lost its key",
         {At(1, "/a", "A"), At(5, "", "lost")},
         {{"/a", "m"}, {"/b", "m"}},
         {"A", "m"},
         {""},
         {5}},
        {"older unkeyed sections, one for one", {At(3, "", "old")}, {{"/a", "m"}}, {"old"}, {}, {}},
        {"older unkeyed sections, two",
         {At(3, "", "x"), At(8, "", "y")},
         {{"/a", "m"}, {"/b", "m"}},
         {"m", "m"},
         {"", ""},
         {3}},
        {"a name is not a number",
         {At(1, "/a#includes", "I")},
         {{"/a", "m"}, {"/a#includes", "m"}},
         {"m", "I"},
         {},
         {}},
    };
    for (const Case& c : cases) {
        const UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(c.wanted, c.existing);
        EXPECT_EQ(c.texts, outcome.texts) << c.what;
        EXPECT_EQ(c.orphans, Keys(outcome.orphans)) << c.what;
        std::vector<int> lines;
        for (const UserCodeMatcher::Conflict& conflict : outcome.conflicts) lines.push_back(conflict.line);
        EXPECT_EQ(c.conflictLines, lines) << c.what;
    }
}

// A large file: every text finds its owner, and a key given a third time
// near the end is told at each of its later sections, with the first's line.
TEST(UserCodeMatcherTest, ThousandsOfSectionsFollowTheirKeys)
{
    const int kCount = 5000;
    std::vector<Section> existing;
    Wanted wanted;
    for (int i = 0; i < kCount; ++i) {
        existing.push_back(At(10 * i + 1, "/c/C" + std::to_string(i), "text " + std::to_string(i)));
        wanted.emplace_back("/c/C" + std::to_string(kCount - 1 - i), "m");
    }
    existing.push_back(At(10 * kCount + 1, "/c/C7", "again"));
    existing.push_back(At(10 * kCount + 11, "/c/C7", "and again"));
    const UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(wanted, existing);
    ASSERT_EQ(static_cast<size_t>(kCount), outcome.texts.size());
    EXPECT_EQ("text 4999", outcome.texts.front());
    EXPECT_EQ("text 0", outcome.texts.back());
    EXPECT_EQ("m", outcome.texts[kCount - 1 - 7]);
    EXPECT_EQ((std::vector<std::string>{"/c/C7", "/c/C7", "/c/C7"}), Keys(outcome.orphans));
    ASSERT_EQ(2u, outcome.conflicts.size());
    EXPECT_EQ(10 * kCount + 1, outcome.conflicts[0].line);
    EXPECT_NE(std::string::npos, outcome.conflicts[1].text.find("the first begins at line 71)"));
}

}  // namespace
