// Reading marker lines and sections: every known comment syntax, whatever
// the file's own; damaged markers refused; keys from the model.
#include <gtest/gtest.h>

#include "CommentSyntax.h"
#include "MarkerLine.h"
#include "MttModel.h"
#include "MTLIModelObject.h"
#include "UserCodeKeys.h"
#include "UserCodeSections.h"

namespace {

using Kind = MarkerLine::Kind;

struct LineCase {
    const char* line;
    Kind kind;
    const char* opener;  // of the syntax read
    const char* key;
};

TEST(MarkerLineTest, ReadsEverySyntaxAndRefusesDamagedMarkers)
{
    const LineCase cases[] = {
        {"// Begin of User Code /classes/Order", Kind::kBegin, "//", "/classes/Order"},
        {"  # Begin of User Code /a#includes  \r", Kind::kBegin, "#", "/a#includes"},
        {"-- End of User Code", Kind::kEnd, "--", ""},
        {"<!-- Begin of User Code /x -->", Kind::kBegin, "<!--", "/x"},
        {"/* End of User Code */", Kind::kEnd, "/*", ""},
        {"// Begin of User Code", Kind::kBegin, "//", ""},
        {"  int x; // End of User Code", Kind::kEnd, "//", ""},  // older files
        // Changed by hand: refused, not read as text.
        {"//Begin of User Code /classes/Order", Kind::kDamaged, "//", ""},
        {"// begin of user code", Kind::kDamaged, "//", ""},
        {"#  End of  User Code", Kind::kDamaged, "#", ""},
        {"<!-- Begin of User Code /x", Kind::kDamaged, "<!--", ""},
        {"// Begin of User Code /a b", Kind::kDamaged, "//", ""},
        {"// BEGIN OF USER CODE", Kind::kDamaged, "//", ""},
        {"-- End o f UserCode", Kind::kDamaged, "--", ""},
        // Text that only mentions the words.
        {"# End of user code section", Kind::kNone, "", ""},
        {"x = \"// Begin of User Code\";", Kind::kNone, "", ""},
        {"// Begin of User Codes", Kind::kNone, "", ""},
        {"void Custom();   // Begin of User Code", Kind::kNone, "", ""},
    };
    for (const LineCase& c : cases) {
        const MarkerLine marker = MarkerLine::Read(c.line);
        EXPECT_EQ(c.kind, marker.kind) << c.line;
        if (c.kind == Kind::kNone || marker.kind != c.kind) continue;
        EXPECT_EQ(c.opener, CommentSyntax::Known()[marker.syntax].Opener()) << c.line;
        EXPECT_EQ(c.key, marker.key) << c.line;
    }
    EXPECT_EQ("  int x; ", MarkerLine::Read("  int x; // End of User Code").before);
}

TEST(MarkerLineTest, FindsTheMarkerWordsWhereverALineHoldsThem)
{
    const struct {
        const char* text;
        size_t at;  // of the words' second letter; npos: none
    } cases[] = {
        {"// Begin of User Code /k", 10},
        {"if (x) f(); // End OF user CODE", 20},  // earlier f's are not the words
        {"#  End o\tf  User\tCode", 9},
        {"-- End of User Cod\n-- End of User Code", 27},  // a near miss, then the words
        {"of User Code", 1},                              // at the very start
        {"f User Code", std::string_view::npos},          // nothing before the f
        {"oF UsEr CoDeX", 1},                             // the words, whatever follows
        {"official user codes", std::string_view::npos},
        {"", std::string_view::npos},
    };
    for (const auto& c : cases) EXPECT_EQ(c.at, MarkerLine::FindWords(c.text, 0)) << c.text;
    EXPECT_EQ(std::string_view::npos, MarkerLine::FindWords("// End of User Code", 11));
    // Far into a text, after many an f that the words do not follow, in
    // either case, with any blank or none after the f, at every place against
    // blocks of sixteen bytes, and only whole.
    for (size_t filler = 1000; filler < 1034; ++filler) {
        std::string before(filler, 'x');
        for (size_t i = 0; i + 3 < filler; i += 7) before.replace(i, 3, i % 2 ? "if " : "fF\t");
        for (const char* words : {"oF User Code", "o f\tUser Code", "of\rUSER code", "ofUser Code"}) {
            EXPECT_EQ(before.size() + std::string_view(words).find_first_of("fF"),
                      MarkerLine::FindWords(before + words, 0))
                << filler << words;
        }
        EXPECT_EQ(filler + 1, MarkerLine::FindWords(before + "of user code\n", 3)) << filler;
        EXPECT_EQ(std::string_view::npos, MarkerLine::FindWords(before + "of user cod", 0)) << filler;
        EXPECT_EQ(std::string_view::npos, MarkerLine::FindWords(before + "of xser code", 0)) << filler;
    }
}

TEST(MarkerLineTest, SyntaxFollowsTheFileName)
{
    EXPECT_EQ("#", CommentSyntax::ForFile("gen/models.PY").Opener());
    EXPECT_EQ("#", CommentSyntax::ForFile("a/CMakeLists.txt").Opener());
    EXPECT_EQ("//", CommentSyntax::ForFile("notes.txt").Opener());
    EXPECT_EQ("<!--", CommentSyntax::ForFile("a.b/page.html").Opener());
    EXPECT_EQ("//", CommentSyntax::ForFile("folder.py/header").Opener());
    CommentSyntax css;
    ASSERT_TRUE(CommentSyntax::FromOpener("/*", &css));
    EXPECT_EQ("/* Begin of User Code /k */", css.BeginLine("/k"));
    // What is written reads back.
    for (const CommentSyntax& syntax : CommentSyntax::Known()) {
        const MarkerLine begin = MarkerLine::Read(syntax.BeginLine("/a/b"));
        EXPECT_EQ(Kind::kBegin, begin.kind) << syntax.Opener();
        EXPECT_EQ(syntax.Index(), begin.syntax);
        EXPECT_EQ(Kind::kEnd, MarkerLine::Read(syntax.EndLine()).kind) << syntax.Opener();
    }
}

TEST(UserCodeSectionsTest, KeepsTextsByteForByteAndRefusesWhatIsOutOfPlace)
{
    UserCodeSections sections;
    int line = 0;
    std::string error;
    ASSERT_TRUE(
        sections.Read("a\r\n// Begin of User Code /k\r\n  x;\r\n\r\n// End of User Code\r\n"
                      "# Begin of User Code /m\n# End of User Code\n",
                      line, error))
        << error;
    ASSERT_EQ(2u, sections.All().size());
    EXPECT_EQ("  x;\r\n\r\n", sections.All()[0].text);
    EXPECT_EQ(2, sections.All()[0].beginLine);
    EXPECT_EQ(5, sections.All()[0].endLine);
    EXPECT_EQ("", sections.All()[1].text);
    EXPECT_TRUE(sections.AnyNotIn(0));

    const struct {
        const char* text;
        int line;
        const char* words;
    } refused[] = {
        {"// Begin of User Code /k\n# End of User Code\n", 2, "closed with '#'"},
        {"x\n// End of User Code\n", 2, "outside any section"},
        {"// Begin of User Code /k\n// Begin of User Code /m\n", 2, "inside the section opened at line 1"},
        {"a\n// Begin of User Code /k\nx\n", 2, "not closed"},
        {"// Begin of User Code /k\n//End of User Code\n", 2, "changed by hand"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(sections.Read(c.text, line, error)) << c.text;
        EXPECT_EQ(c.line, line) << c.text;
        EXPECT_NE(std::string::npos, error.find(c.words)) << error;
    }

    // A section at the very start, and an end marker on the last line
    // without a line end.
    ASSERT_TRUE(sections.Read("// Begin of User Code /k\nx\n// End of User Code", line, error)) << error;
    ASSERT_EQ(1u, sections.All().size());
    EXPECT_EQ(1, sections.All()[0].beginLine);
    EXPECT_EQ(3, sections.All()[0].endLine);
    EXPECT_EQ("x\n", sections.All()[0].text);

    // Lines are counted across long stretches of text between markers.
    std::string text;
    for (int i = 0; i < 5000; ++i) text += i % 7 == 0 ? "of\n" : "user code of x\n";
    ASSERT_TRUE(sections.Read(text + "# Begin of User Code /k\n" + text + "# End of User Code\n" + text, line, error));
    ASSERT_EQ(1u, sections.All().size());
    EXPECT_EQ(5001, sections.All()[0].beginLine);
    EXPECT_EQ(10002, sections.All()[0].endLine);
    EXPECT_EQ(text, sections.All()[0].text);
    EXPECT_FALSE(sections.Read(text + "  // end OF user CODE\n", line, error));
    EXPECT_EQ(5001, line);
}

TEST(UserCodeKeysTest, KeysFollowIdentifyingValuesAndMarkPositions)
{
    std::string error;
    std::unique_ptr<mtt::Model> model = mtt::Model::FromText(
        R"({"classes": [{"name": "Order", "attributes": [{"name": "id"}, {"type": "x"}]},
                        {"id": 7, "name": "a/b c#"}], "settings": {"x": 1}})",
        "m.json", error);
    ASSERT_TRUE(model) << error;
    MTLIModelObject* classes = model->Root()->GetProperty("classes");
    MTLIModelObject* order = classes->GetElement(0);
    MTLIModelObject* attributes = order->GetProperty("attributes");
    const UserCodeKeys keys("id,name");

    const UserCodeKeys::Identity id = keys.Of(attributes->GetElement(0), "");
    EXPECT_EQ("/classes/Order/attributes/id", id.key);
    EXPECT_EQ("/classes/0/attributes/0", id.pointer);
    EXPECT_FALSE(id.positional);
    // An element without an identifying value is known only by position.
    const UserCodeKeys::Identity unnamed = keys.Of(attributes->GetElement(1), "");
    EXPECT_EQ("/classes/Order/attributes/1", unnamed.key);
    EXPECT_TRUE(unnamed.positional);
    EXPECT_FALSE(UserCodeKeys("type,name").Of(attributes->GetElement(1), "").positional);
    // The first member found wins; what would break a marker line is escaped.
    EXPECT_EQ("/classes/7", keys.Of(classes->GetElement(1), "").key);
    EXPECT_EQ("/classes/a~1b%20c%23#the%20members", UserCodeKeys("name").Of(classes->GetElement(1), "the members").key);
    EXPECT_EQ("/settings", keys.Of(model->Root()->GetProperty("settings"), "").key);
    EXPECT_EQ("/#includes", keys.Of(model->Root(), "includes").key);
}

}  // namespace
