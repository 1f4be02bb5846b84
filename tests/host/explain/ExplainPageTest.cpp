// Explain pages made in-process and read back as an earlier run
// (--explain-since): what each line of a page was made from, and the
// causes of changes between two pages.
#include <cstdio>
#include <fstream>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommentSyntax.h"
#include "ExplainModel.h"
#include "ExplainPage.h"
#include "GeneratedText.h"
#include "JsonModel.h"
#include "ModelNodeTable.h"
#include "MttModel.h"
#include "MttTemplate.h"
#include "OutputAncestry.h"
#include "PreviousRun.h"
#include "UserCodeKeys.h"

namespace {

// One run: a template rendered against a model, and its page; with
// iBeside, the page's view of the model is made on another thread while the
// template is rendered, as mttgen makes it, and each object's user code is
// a text of iUserCodeBytes, which the model keeps as it is asked for. Each
// user-code section reads iSection.
class PageRun {
public:
    PageRun(const std::string& iTemplate, const std::string& iModel, const PreviousRun* iPrevious = nullptr,
            bool iBeside = false, size_t iUserCodeBytes = 0, const std::string& iSection = "    kept();\n")
    {
        std::vector<TemplateError> errors;
        _template = mtt::Template::FromString(iTemplate, "t.mtt", errors);
        std::string error;
        _model = mtt::Model::FromText(iModel, "m.json", error);
        EXPECT_TRUE(_template && _model) << error;
        if (!_template || !_model) return;
        if (iUserCodeBytes > 0) {
            _model->Json().SetUserCodeSource([iUserCodeBytes](const JsonModelObject&, std::string& oText) {
                oText.assign(iUserCodeBytes, 'u');
                return true;
            });
        }
        std::future<std::unique_ptr<ExplainModel>> beside;
        if (iBeside) beside = std::async(std::launch::async, [this] { return ExplainModel::Of(_model->Json()); });
        mtt::RenderOptions options;
        options.shape = true;
        options.printMessages = false;
        _result = _template->Render(*_model, options);
        if (iBeside) _shown = beside.get();
        _text.reset(new GeneratedText(
            MTTString(_result.text.data(), _result.text.size()), std::move(*_result.shape), UserCodeKeys("id,name"),
            [](const MTTIStatement*) { return std::string(); }, CommentSyntax::ForFile("out.txt")));
        _text->Compose(std::vector<std::string>(_text->Sections().size(), iSection));
        ExplainPage page(&_model->Json(), _shown.get());
        if (iPrevious != nullptr) page.CompareWith(*iPrevious);
        page.AddOutput("out.txt", page.AddTemplate(_template->Sources()), *_text, {}, false);
        _html = page.Html();
    }

    std::string_view Text() const { return _text->Text(); }
    const std::string& Html() const { return _html; }
    size_t ModelValues() const { return _model->Json().SlotCount(); }
    // The page, read back as an earlier run.
    std::unique_ptr<PreviousRun> Read() const
    {
        // Named after the test: ctest runs the tests of this file side by side.
        const std::string path = testing::TempDir() + "/explain-page-test-" +
                                 testing::UnitTest::GetInstance()->current_test_info()->name() + ".html";
        std::ofstream(path, std::ios::binary) << _html;
        std::unique_ptr<PreviousRun> previous(new PreviousRun());
        std::string error;
        EXPECT_TRUE(previous->Load(path, error)) << error;
        std::remove(path.c_str());
        return previous;
    }

private:
    std::unique_ptr<mtt::Template> _template;
    std::unique_ptr<mtt::Model> _model;
    std::unique_ptr<ExplainModel> _shown;
    mtt::RenderResult _result;
    std::unique_ptr<GeneratedText> _text;
    std::string _html;
};

const char kTemplate[] = "[% foreach items %]«${name}» 😀 ${size}\n[% end %]done\n";
const char kModel[] = R"({"items": [{"name": "𝄞clef", "size": 3}, {"name": "b", "size": 1}]})";

TEST(ExplainPageTest, AnEarlierPageTellsWhatEachLineWasMadeFrom)
{
    const PageRun run(kTemplate, kModel);
    const std::unique_ptr<PreviousRun> previous = run.Read();
    ASSERT_TRUE(previous->IsPage());
    const PreviousRun::Output* output = previous->FindOutput("out.txt");
    ASSERT_NE(nullptr, output);
    EXPECT_EQ(run.Text(), output->text);
    ASSERT_EQ(3u, output->lineNodes.size());
    // Characters beyond the first plane count twice in the page's offsets:
    // each line still gets its own element's nodes.
    using Pointers = std::set<std::string>;
    const auto pointers = [&](size_t iLine) {
        Pointers found;
        for (const int32_t node : output->lineNodes[iLine]) found.insert(previous->Model().PointerOf(node));
        return found;
    };
    EXPECT_EQ(Pointers({"/items/0", "/items/0/name", "/items/0/size"}), pointers(0));
    EXPECT_EQ(Pointers({"/items/1", "/items/1/name", "/items/1/size"}), pointers(1));
    EXPECT_EQ(Pointers({""}), pointers(2));
    EXPECT_EQ("\"b\"", previous->Model().Scalar(previous->Model().Find("/items/1/name")));
    ASSERT_NE(nullptr, previous->Template("t.mtt"));
    EXPECT_EQ(kTemplate, *previous->Template("t.mtt"));
}

// A large output's pieces are told what they were made from as a small
// one's are (its contexts are walked on another thread, a few blocks ahead,
// or all of them once a function's parameter asks for its call): each
// line's element, and the value a function's parameter stands for.
TEST(ExplainPageTest, EveryLineOfALargeOutputTellsItsElement)
{
    for (const char* source :
         {"[% function row(x) %]<[%= x %]>[% end %][% foreach items %][% call row(${name}) %] ${size}\n[% end %]",
          "[% foreach items %]${name} ${size}\n[% end %]"})
        for (const int count : {3, 12000}) {
            std::string json = "{\"items\": [";
            for (int i = 0; i < count; ++i) {
                json += (i ? "," : "") + std::string("{\"name\": \"n") + std::to_string(i) +
                        "\", \"size\": " + std::to_string(i % 7) + "}";
            }
            const PageRun run(source, json + "]}", nullptr, true);
            const std::unique_ptr<PreviousRun> previous = run.Read();
            const PreviousRun::Output* output = previous->FindOutput("out.txt");
            ASSERT_NE(nullptr, output);
            ASSERT_EQ(static_cast<size_t>(count), output->lineNodes.size());
            for (int i = 0; i < count; ++i) {
                std::set<std::string> found;
                for (const int32_t node : output->lineNodes[i]) found.insert(previous->Model().PointerOf(node));
                const std::string item = "/items/" + std::to_string(i);
                ASSERT_EQ(std::set<std::string>({item, item + "/name", item + "/size"}), found) << count;
            }
        }
}

// Each piece's chain of directives, outermost first, as the page shows it:
// a block's body adds nothing to its directive's place in the chain (an
// else branch is the if's), and a function's output hangs under the call
// that made it; for one, several and thousands of elements.
TEST(ExplainPageTest, EachPieceIsMadeUnderItsChainOfDirectives)
{
    const std::string source =
        "[% function row(x) %]<${x}>[% end %]"
        "[% foreach items %][% if ${size} == \"3\" %][% call row(${name}) %][% else %]"
        "${name}[% end %];[% end %]";
    std::vector<TemplateError> errors;
    const std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(source, "t.mtt", errors);
    ASSERT_TRUE(parsed);
    for (const int count : {1, 3, 3000}) {
        std::string json = "{\"items\": [";
        for (int i = 0; i < count; ++i) {
            json += (i ? ",{\"name\": \"n" : "{\"name\": \"n") + std::to_string(i) +
                    "\", \"size\": " + (i % 2 ? "1}" : "3}");
        }
        std::string error;
        const std::unique_ptr<mtt::Model> model = mtt::Model::FromText(json + "]}", "m.json", error);
        ASSERT_TRUE(model) << error;
        mtt::RenderOptions options;
        options.shape = true;
        options.printMessages = false;
        const mtt::RenderResult result = parsed->Render(*model, options);
        ASSERT_TRUE(result.ok && result.shape);
        OutputAncestry ancestry;
        std::vector<int32_t> contexts;
        const std::vector<uint32_t> files = {0};
        ancestry.Walk(*result.shape, parsed->Sources(), files, [&](size_t iLeaf, int32_t iContext) {
            EXPECT_EQ(contexts.size(), iLeaf);  // in text order
            contexts.push_back(iContext);
        });
        ASSERT_EQ(result.shape->LeafCount(), contexts.size());
        // A chain as the directives' texts, " > " between them.
        const auto chain = [&](int32_t iContext) {
            std::vector<std::string> texts;
            for (; iContext > 0; iContext = ancestry.Contexts()[iContext].parent) {
                const OutputAncestry::Directive& directive =
                    ancestry.Directives()[ancestry.Contexts()[iContext].directive];
                texts.insert(texts.begin(), source.substr(directive.begin, directive.end - directive.begin));
            }
            std::string joined;
            for (const std::string& text : texts) joined += (joined.empty() ? "" : " > ") + text;
            return joined;
        };
        const std::string loop = "[% foreach items %]", branch = "[% if ${size} == \"3\" %]";
        std::vector<std::string> expected;
        for (int i = 0; i < count; ++i) {
            if (i % 2 == 0) {
                const std::string called = loop + " > " + branch + " > [% call row(${name}) %] > [% function row(x) %]";
                expected.insert(expected.end(), {called + " > <", called + " > ${x}", called + " > >"});
            } else {
                expected.push_back(loop + " > " + branch + " > ${name}");  // the if's other branch
            }
            expected.push_back(loop + " > ;");
        }
        std::vector<std::string> made;
        for (const int32_t context : contexts) made.push_back(chain(context));
        EXPECT_EQ(expected, made) << count;
    }
}

// One walk after another, as a page's files are added: two templates in
// turn, each walk's pieces under its own template's directives, for the
// first walk over a template and for a later one.
TEST(ExplainPageTest, WalksOfTwoTemplatesInTurnKeepTheirOwnDirectives)
{
    const std::vector<std::string> sources = {"[% foreach items %]a${name};[% end %]",
                                              "[% foreach items %][% if ${size} == \"3\" %]b${name}[% end %][% end %]"};
    std::vector<std::unique_ptr<mtt::Template>> parsed;
    for (const std::string& source : sources) {
        std::vector<TemplateError> errors;
        parsed.push_back(mtt::Template::FromString(source, "t.mtt", errors));
        ASSERT_TRUE(parsed.back());
    }
    std::string error;
    const std::unique_ptr<mtt::Model> model =
        mtt::Model::FromText(R"({"items": [{"name": "x", "size": 3}, {"name": "y", "size": 3}]})", "m.json", error);
    ASSERT_TRUE(model) << error;
    OutputAncestry ancestry;
    const std::vector<std::vector<std::string>> expected = {
        {"[% foreach items %] > a", "[% foreach items %] > ${name}", "[% foreach items %] > ;"},
        {"[% foreach items %] > [% if ${size} == \"3\" %] > b",
         "[% foreach items %] > [% if ${size} == \"3\" %] > ${name}"}};
    for (const size_t which : {0, 1, 0, 1}) {
        mtt::RenderOptions options;
        options.shape = true;
        options.printMessages = false;
        const mtt::RenderResult result = parsed[which]->Render(*model, options);
        ASSERT_TRUE(result.ok && result.shape);
        // The page's number of the template's one file.
        const std::vector<uint32_t> files = {static_cast<uint32_t>(which)};
        std::vector<std::string> made;
        ancestry.Walk(*result.shape, parsed[which]->Sources(), files, [&](size_t, int32_t iContext) {
            std::string chain;
            for (; iContext > 0; iContext = ancestry.Contexts()[iContext].parent) {
                const OutputAncestry::Directive& directive =
                    ancestry.Directives()[ancestry.Contexts()[iContext].directive];
                const std::string text =
                    sources[directive.file].substr(directive.begin, directive.end - directive.begin);
                chain = chain.empty() ? text : text + " > " + chain;
            }
            made.push_back(chain);
        });
        std::vector<std::string> twice = expected[which];
        twice.insert(twice.end(), expected[which].begin(), expected[which].end());
        EXPECT_EQ(twice, made) << which;
    }
}

TEST(ExplainPageTest, ChangesNameTheTemplateLineOrTheValueBehindThem)
{
    const PageRun before(kTemplate, kModel);
    const std::unique_ptr<PreviousRun> previous = before.Read();
    const PageRun after(
        "[% foreach items %]«${name}» 😀 ${size}\n[% end %]finished\n",
        R"({"items": [{"name": "𝄞clef", "size": 4}, {"name": "b", "size": 1}, {"name": "c", "size": 2}]})",
        previous.get());
    const std::string& html = after.Html();
    const size_t changes = html.find("\"changes\":{");
    ASSERT_NE(std::string::npos, changes);
    const std::string json = html.substr(changes, html.find("</script>", changes) - changes);
    // Line 1 read a value that changed; line 3 printed a new element's
    // name; line 4 is a template line that changed. Each has its cause.
    EXPECT_NE(std::string::npos, json.find("\"lines\":[[0,1,0],[2,1,1],[3,1,2]]")) << json;
    EXPECT_NE(std::string::npos, json.find("model /items/0/size was 3, now 4\",\"directive\":-1")) << json;
    EXPECT_NE(std::string::npos, json.find("model /items/2/name is new: \\\"c\\\"")) << json;
    EXPECT_NE(std::string::npos, json.find("template t.mtt:2 changed: [% end %]finished\",\"directive\":")) << json;

    // A count of a list's elements changed with the list.
    const char* const kCounted = "${@size:items} items\n";
    const PageRun two(kCounted, kModel);
    const std::unique_ptr<PreviousRun> twoBefore = two.Read();
    const PageRun three(kCounted, R"({"items": [{"name": "a"}, {"name": "b"}, {"name": "c"}]})", twoBefore.get());
    EXPECT_NE(std::string::npos, three.Html().find("\"lines\":[[0,1,0]]")) << three.Html().substr(0, 0);
    EXPECT_NE(std::string::npos, three.Html().find("\"causes\":[{\"text\":\"model /items holds 3 elements, held 2\""));
    // An element put first: its blank line reads nothing, and comes with
    // the list's new length.
    const char* const kSpaced = "[% foreach items %]${name}\n\n[% end %]";
    const PageRun one(kSpaced, R"({"items": [{"name": "a"}]})");
    const std::unique_ptr<PreviousRun> oneBefore = one.Read();
    const PageRun first(kSpaced, R"({"items": [{"name": "z"}, {"name": "a"}]})", oneBefore.get());
    EXPECT_NE(std::string::npos, first.Html().find("\"lines\":[[0,1,0],[1,1,1]]"));
    EXPECT_NE(std::string::npos, first.Html().find("{\"text\":\"model /items holds 2 elements, held 1\""));

    // A line written by hand in a user-code section since is told as such,
    // not as a line whose template and values did not change.
    const char* const kSections = "[% foreach items %]${name} {\n[% usercode %]}\n[% end %]";
    const PageRun kept(kSections, kModel);
    const std::unique_ptr<PreviousRun> keptBefore = kept.Read();
    // A file that did not change is not listed.
    const PageRun same(kSections, kModel, keptBefore.get());
    EXPECT_NE(std::string::npos, same.Html().find(".html\",\"outputs\":[],\"gone\""));
    const PageRun edited(kSections, kModel, keptBefore.get(), false, 0, "    kept();\n    mine();\n");
    const std::string& editedHtml = edited.Html();
    const size_t since = editedHtml.find("\"changes\":{");
    ASSERT_NE(std::string::npos, since);
    const std::string editedJson = editedHtml.substr(since, editedHtml.find("</script>", since) - since);
    EXPECT_NE(std::string::npos, editedJson.find("\"lines\":[[4,1,0],[11,1,0]]")) << editedJson;
    EXPECT_NE(std::string::npos,
              editedJson.find("\"causes\":[{\"text\":\"user code, the section's own text: kept, not generated\""))
        << editedJson;
}

TEST(ExplainPageTest, AModelShownAsItIsEvaluatedIsShownAsAfterwards)
{
    // Each element's user code becomes a value of the model as the
    // template asks for it, while the other thread reads the model: texts
    // of a kilobyte, so that the model's texts move as they grow.
    const char* const kUserCode = "[% foreach items %]${name} {\n[% usercode %]}\n[% end %]";
    for (const int count : {1, 3, 2000}) {
        std::string model = "{\"items\": [";
        for (int i = 0; i < count; ++i)
            model += (i > 0 ? ",{\"name\": \"n" : "{\"name\": \"n") + std::to_string(i) + "\"}";
        model += "]}";
        const PageRun beside(kUserCode, model, nullptr, true, 1000);
        const PageRun after(kUserCode, model, nullptr, false, 1000);
        EXPECT_EQ(after.Html(), beside.Html()) << count << " elements";
        // The root, the list, and per element its object, its name and its user code.
        EXPECT_EQ(2u + 3u * count, beside.ModelValues());
    }
}

}  // namespace
