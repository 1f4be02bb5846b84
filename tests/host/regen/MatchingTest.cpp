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
        size_t conflicts;
    };
    const Case cases[] = {
        {"one key twice", {At(1, "/a", "A1"), At(5, "/a", "A2")}, {{"/a", "m"}}, {"m"}, {"/a", "/a"}, 1},
        {"an earlier version's K#2",
         {At(1, "/a", "first"), At(5, "/a#2", "second")},
         {{"/a", "m"}},
         {"m"},
         {"/a", "/a#2"},
         2},
        {"a section that lost its key",
         {At(1, "/a", "A"), At(5, "", "lost")},
         {{"/a", "m"}, {"/b", "m"}},
         {"A", "m"},
         {""},
         1},
        {"older unkeyed sections, one for one", {At(3, "", "old")}, {{"/a", "m"}}, {"old"}, {}, 0},
        {"older unkeyed sections, two",
         {At(3, "", "x"), At(8, "", "y")},
         {{"/a", "m"}, {"/b", "m"}},
         {"m", "m"},
         {"", ""},
         1},
        {"a name is not a number", {At(1, "/a#includes", "I")}, {{"/a", "m"}, {"/a#includes", "m"}}, {"m", "I"}, {}, 0},
    };
    for (const Case& c : cases) {
        const UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(c.wanted, c.existing);
        EXPECT_EQ(c.texts, outcome.texts) << c.what;
        EXPECT_EQ(c.orphans, Keys(outcome.orphans)) << c.what;
        EXPECT_EQ(c.conflicts, outcome.conflicts.size()) << c.what;
    }
}

}  // namespace
