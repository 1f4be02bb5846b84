// The text path (MTTEvaluateText) against the tree path (Evaluate, then
// toString) over every template the project holds: the parser's golden
// templates, the examples and the fuzz corpus, each against a model that
// reaches most of what they name. Both must give the same text, the same
// outcome, and the same messages, byte for byte, from the same nodes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "JsonModel.h"
#include "MTTEvaluateText.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIMessageObserver.h"
#include "MTTIStatement.h"
#include "StreamCapture.h"
#include "TemplateParser.h"

namespace fs = std::filesystem;

namespace {

const char kModel[] = R"({
  "name": "Shop", "version": 3, "open": true, "none": null, "flag": "F", "type": "string",
  "classes": [
    {"name": "Order", "abstract": "yes", "flag": "A", "UserCode": "// kept", "attributes": [
      {"name": "id", "type": "int", "flag": "B"}, {"name": "note", "type": "string"}]},
    {"name": "Item", "UserCode": "", "attributes": []}
  ],
  "items": ["a", "b", "c"], "empty": [],
  "nested": {"deeper": {"name": "leaf", "list": [1, "two", null, [3]]}}
})";

// Whom each message came from, in order.
class Recorder : public MTTIMessageObserver {
public:
    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError, const char*) override
    {
        heard.emplace_back(iReporter, iSubject, iToStandardError);
    }
    std::vector<std::tuple<const MTTNode*, const MTTNode*, bool>> heard;
};

struct Outcome {
    bool ok = false;
    std::string text, out, err;
    std::vector<std::tuple<const MTTNode*, const MTTNode*, bool>> heard;
};

template <class Evaluation>
Outcome Observe(Evaluation iEvaluation)
{
    Outcome run;
    Recorder recorder;
    MTTIMessageObserver* previous = MTTSetMessageObserver(&recorder);
    StreamCapture capture;
    run.ok = iEvaluation(run.text);
    capture.Stop();
    MTTSetMessageObserver(previous);
    run.out = capture.Out();
    run.err = capture.Err();
    run.heard = recorder.heard;
    return run;
}

std::string Read(const fs::path& iPath)
{
    std::ifstream in(iPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The templates under a folder, and the model beside each (or the shared one).
std::vector<std::pair<fs::path, fs::path>> Templates(const fs::path& iRoot, const char* iExtension)
{
    std::vector<std::pair<fs::path, fs::path>> found;
    for (const auto& entry : fs::recursive_directory_iterator(iRoot)) {
        if (!entry.is_regular_file() || (*iExtension && entry.path().extension() != iExtension)) continue;
        fs::path model = entry.path().parent_path() / "model.json";
        found.emplace_back(entry.path(), fs::exists(model) ? model : fs::path());
    }
    return found;
}

}  // namespace

TEST(TextPath, GivesTheTreePathsTextAndMessagesForEveryTemplate)
{
    const fs::path source(MTT_SOURCE_DIR);
    std::vector<std::pair<fs::path, fs::path>> templates = Templates(source / "tests/host/parser/golden", ".mtt");
    for (const auto& more : {Templates(source / "examples", ".mtt"), Templates(source / "fuzz/corpus/template", "")}) {
        templates.insert(templates.end(), more.begin(), more.end());
    }
    std::string error;
    std::unique_ptr<JsonModel> shared = JsonModel::FromText(kModel, "shared.json", error);
    ASSERT_TRUE(shared) << error;

    int compared = 0, failing = 0;
    for (const auto& entry : templates) {
        TemplateParser parser(entry.first.string());
        std::unique_ptr<MTTIStatement> tree(parser.Parse(Read(entry.first)));
        if (!tree) continue;
        std::unique_ptr<JsonModel> own =
            entry.second.empty() ? nullptr : JsonModel::LoadFile(entry.second.string(), error);
        MTLIModelObject* root = own ? own->Root() : shared->Root();

        Outcome viaTree = Observe([&](std::string& oText) {
            MTTEvaluationEnvironment environment(root);
            std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
            if (!output) return false;
            MTTString text;
            output->toString(text);
            oText = text.ConvertToChar();
            return true;
        });
        Outcome viaText = Observe([&](std::string& oText) {
            MTTEvaluationEnvironment environment(root);
            MTTString text("kept>");
            long result = MTTEvaluateText(tree.get(), &environment, text);
            oText = std::string(text.ConvertToChar()).substr(5);
            EXPECT_EQ(std::string(text.ConvertToChar(), 5), "kept>") << entry.first;
            EXPECT_TRUE(result == S_OK || oText.empty()) << entry.first;
            return result == S_OK;
        });
        EXPECT_EQ(viaTree.ok, viaText.ok) << entry.first;
        EXPECT_EQ(viaTree.text, viaText.text) << entry.first;
        EXPECT_EQ(viaTree.out, viaText.out) << entry.first;
        EXPECT_EQ(viaTree.err, viaText.err) << entry.first;
        EXPECT_TRUE(viaTree.heard == viaText.heard) << entry.first;
        ++compared;
        failing += viaTree.ok ? 0 : 1;
    }
    // Enough of both kinds to mean something.
    EXPECT_GT(compared, 500);
    EXPECT_GT(failing, 20);
    EXPECT_GT(compared - failing, 200);
}
