// What build tools and people read from a run that writes nothing: the
// differences as patch reads them, and the dependency file make reads.
#include <gtest/gtest.h>

#include "DepFile.h"
#include "UnifiedDiff.h"

namespace {

std::string Numbered(int iFrom, int iTo)
{
    std::string text;
    for (int i = iFrom; i <= iTo; ++i) text += std::to_string(i) + "\n";
    return text;
}

TEST(UnifiedDiffTest, HunksAsPatchReadsThem)
{
    EXPECT_EQ("", UnifiedDiff::Of("same\n", "same\n", "a", "b"));
    EXPECT_EQ("--- /dev/null\n+++ new\n@@ -0,0 +1,2 @@\n+x\n+y\n", UnifiedDiff::Of("", "x\ny\n", "/dev/null", "new"));
    EXPECT_EQ("--- old\n+++ /dev/null\n@@ -1 +0,0 @@\n-x\n", UnifiedDiff::Of("x\n", "", "old", "/dev/null"));
    EXPECT_EQ("--- a\n+++ b\n@@ -1 +1 @@\n-x\n\\ No newline at end of file\n+x\n",
              UnifiedDiff::Of("x", "x\n", "a", "b"));

    // Two changes far apart are two hunks with three lines of context;
    // close ones are one.
    std::string after = Numbered(1, 30);
    after.replace(after.find("5\n"), 2, "five\n");
    after.replace(after.find("25\n"), 3, "twenty-five\n");
    const std::string far = UnifiedDiff::Of(Numbered(1, 30), after, "a", "b");
    EXPECT_EQ(
        "--- a\n+++ b\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n"
        "@@ -22,7 +22,7 @@\n 22\n 23\n 24\n-25\n+twenty-five\n 26\n 27\n 28\n",
        far);
    std::string near = Numbered(1, 30);
    near.replace(near.find("10\n"), 3, "");
    near.replace(near.find("14\n"), 3, "fourteen\n");
    EXPECT_NE(std::string::npos, UnifiedDiff::Of(Numbered(1, 30), near, "a", "b").find("@@ -7,11 +7,10 @@\n"));
}

TEST(DepFileTest, NamesEveryInputOnceAndEscapesWhatMakeReads)
{
    EXPECT_EQ("/o/a.h /o/b.h: \\\n  /t/x.mtt \\\n  /t/my\\ file\\#1$$.json\n\n/t/x.mtt:\n\n/t/my\\ file\\#1$$.json:\n",
              DepFile::Text({"/o/a.h", "/o/b.h"}, {"/t/x.mtt", "/t/my file#1$.json", "/t/./x.mtt"}));
}

// A run replaces a dependency file it wrote, and only such a file.
TEST(DepFileTest, TellsItsOwnTextsFromAMakefile)
{
    EXPECT_TRUE(DepFile::IsDepFile(DepFile::Text({"/o/a.h"}, {"/t/x.mtt"})));
    EXPECT_TRUE(DepFile::IsDepFile(DepFile::Text({"/o/a b.h", "/o/c.h"}, {"/t/my file#1$.json", "/t/x.mtt"})));
    std::vector<std::string> many;
    for (int i = 0; i < 5000; ++i) many.push_back("/t/part" + std::to_string(i) + ".mtt");
    EXPECT_TRUE(DepFile::IsDepFile(DepFile::Text({"/o/a.h"}, many)));
    for (const char* someones : {"", "all: main.o\n", "/o/a.h: /t/x.mtt\n\tcc -c x.c\n", "# deps\n/o/a.h: /t/x\n",
                                 "CFLAGS = -O2\n", "/o/a.h: /t/x.mtt", "/o/a.h /t/x.mtt\n", "/o/a.h: /t/x: /t/y\n",
                                 "/o/a.h: \\\n  x.mtt\n", "int main() { return 0; }\n"}) {
        EXPECT_FALSE(DepFile::IsDepFile(someones)) << someones;
    }
}

}  // namespace
