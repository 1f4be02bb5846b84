// A render's user-code sections and text are the same whether they are
// found in the output tree's leaves or in the text written without a tree
// with the places of its usercode directives' pieces.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "GeneratedText.h"
#include "MttModel.h"
#include "MttTemplate.h"
#include "OutputLeafCollector.h"
#include "UserCodeKeys.h"

TEST(GeneratedTextTest, TheTextAndItsPiecesGiveWhatTheTreeGives)
{
    std::vector<TemplateError> errors;
    // Line ends of two bytes, a named section and one without a name.
    const std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(
        "// header\r\n[% foreach classes %]class ${name} {\r\n[% usercode %]  int x;\r\n"
        "[% usercode as \"tail\" %]};\r\n[% end %]",
        "t.mtt", errors);
    ASSERT_TRUE(parsed) << (errors.empty() ? "" : errors.front().message);
    const GeneratedText::SectionNamer namer = [&](const MTTIStatement* iStatement) {
        return parsed->UserCodeName(iStatement);
    };
    const UserCodeKeys keys("id,name");
    const CommentSyntax syntax = CommentSyntax::ForFile("out.h");
    for (const int count : {1, 3, 2000}) {
        std::string json = "{\"classes\": [";
        for (int i = 0; i < count; ++i) {
            json += (i ? "," : "") + std::string("{\"name\": \"C") + std::to_string(i) + "\"" +
                    (i % 3 == 0 ? ", \"UserCode\": \"from the model\\n\"" : "") + "}";
        }
        std::string error;
        const std::unique_ptr<mtt::Model> model = mtt::Model::FromText(json + "]}", "m.json", error);
        ASSERT_TRUE(model) << error;
        mtt::RenderOptions options;
        options.printMessages = false;
        options.keepOutput = true;
        mtt::RenderResult viaTree = parsed->Render(*model, options);
        ASSERT_TRUE(viaTree.ok);
        GeneratedText fromLeaves(OutputLeafCollector().Collect(viaTree.output.get()), keys, namer, syntax);
        options.keepOutput = false;
        options.userCodePieces = true;
        mtt::RenderResult direct = parsed->Render(*model, options);
        ASSERT_TRUE(direct.ok);
        EXPECT_EQ(6u * count, direct.userCode.size());
        GeneratedText fromText(direct.text, direct.userCode, keys, namer, syntax);

        ASSERT_EQ(2u * count, fromLeaves.Sections().size());
        ASSERT_EQ(fromLeaves.Sections().size(), fromText.Sections().size());
        std::vector<std::string> texts;
        for (size_t i = 0; i < fromLeaves.Sections().size(); ++i) {
            const GeneratedText::Section& tree = fromLeaves.Sections()[i];
            const GeneratedText::Section& text = fromText.Sections()[i];
            EXPECT_EQ(tree.key, text.key);
            EXPECT_EQ(tree.pointer, text.pointer);
            EXPECT_EQ(tree.positional, text.positional);
            EXPECT_EQ(tree.owner, text.owner);
            EXPECT_EQ(tree.statement, text.statement);
            EXPECT_EQ(tree.modelText, text.modelText);
            texts.push_back(i % 2 ? std::string() : "kept " + std::to_string(i));  // one without a line end
        }
        fromLeaves.Compose(texts);
        fromText.Compose(texts);
        EXPECT_EQ(fromLeaves.Text(), fromText.Text());
        EXPECT_NE(std::string::npos, fromText.Text().find("// Begin of User Code /classes/C0#tail\r\n"));
        for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(fromLeaves.WrittenText(i), fromText.WrittenText(i));
        // Line 4 is the first begin marker, written by the first directive.
        EXPECT_EQ(fromLeaves.Sections()[0].statement, fromText.StatementAtLine(4));
        EXPECT_EQ(fromLeaves.StatementAtLine(4), fromText.StatementAtLine(4));
        EXPECT_EQ(nullptr, fromText.StatementAtLine(1));
    }
}
