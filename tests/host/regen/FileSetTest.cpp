// A host regenerating files through the API, at the sizes people use:
// user code stays with its owner in its own file, across thousands of
// files and runs, and files whose element has gone are reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MTLIModelObject.h"
#include "MttFileSet.h"
#include "MttModel.h"
#include "MttTemplate.h"

namespace fs = std::filesystem;

namespace {

class FileSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mtt-fileset-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        _dir = pattern;
        std::vector<TemplateError> errors;
        _template = mtt::Template::FromString("class ${name} {\n[% usercode %]};\n", "class.mtt", errors);
        ASSERT_TRUE(_template);
    }
    void TearDown() override { fs::remove_all(_dir); }

    std::string Read(const std::string& iName) const
    {
        std::ifstream file(_dir + "/" + iName, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // One file per class, "gen/NAME.h", as --each writes them.
    mtt::FileSetStatus Generate(const std::vector<std::string>& iNames, bool iPrune = false)
    {
        std::string json = "{\"classes\": [";
        for (size_t i = 0; i < iNames.size(); ++i)
            json += (i ? ", {\"name\": \"" : "{\"name\": \"") + iNames[i] + "\"}";
        std::string error;
        std::unique_ptr<mtt::Model> model = mtt::Model::FromText(json + "]}", "model.json", error);
        EXPECT_TRUE(model) << error;
        mtt::FileSetOptions options;
        options.root = _dir + "/gen";
        options.prune = iPrune;
        options.onMessage = [this](const mtt::FileMessage& iMessage) { _messages += iMessage.ToString("test"); };
        mtt::FileSet files(options);
        if (files.AddRun("${name}.h") != mtt::FileSetStatus::kOk) return mtt::FileSetStatus::kBadInput;
        MTLIModelObject* classes = model->Root()->GetProperty("classes");
        for (size_t i = 0; i < iNames.size(); ++i) {
            const mtt::FileSetStatus added = files.Add(_dir + "/gen/" + iNames[i] + ".h", false, "${name}.h");
            if (added != mtt::FileSetStatus::kOk) return added;
            mtt::RenderOptions rendering;
            rendering.current = classes->GetElement(static_cast<int>(i));
            mtt::RenderResult result;
            const mtt::FileSetStatus rendered = files.Render(i, *_template, model.get(), rendering, result);
            EXPECT_TRUE(result.ok);
            if (rendered != mtt::FileSetStatus::kOk) return rendered;
        }
        return files.Commit();
    }
    void Write(const std::string& iName, const std::string& iText) const
    {
        std::ofstream(_dir + "/" + iName, std::ios::binary) << iText;
    }
    void Edit(const std::string& iName, const std::string& iUserCode) const
    {
        std::string text = Read(iName);
        const size_t end = text.find("// End of User Code");
        text.insert(end, iUserCode);
        Write(iName, text);
    }

    std::string _dir;
    std::unique_ptr<mtt::Template> _template;
    std::string _messages;
};

TEST_F(FileSetTest, UserCodeStaysWithItsOwnerAcrossThousandsOfFiles)
{
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) names.push_back("C" + std::to_string(i));
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate(names)) << _messages;
    Edit("gen/C0.h", "  int zero;\n");
    Edit("gen/C2999.h", "  int last;\n");
    // A new element first: every file keeps its own code, the new one none.
    names.insert(names.begin(), "New");
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate(names)) << _messages;
    EXPECT_NE(std::string::npos, Read("gen/C0.h").find("int zero;"));
    EXPECT_NE(std::string::npos, Read("gen/C2999.h").find("int last;"));
    EXPECT_EQ("class New {\n\n// Begin of User Code /classes/New\n// End of User Code\n};\n", Read("gen/New.h"));
}

TEST_F(FileSetTest, FilesOfGoneElementsAreReportedAndKept)
{
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B", "C"}));
    Edit("gen/B.h", "  int mine;\n");
    _messages.clear();
    // B renamed: its file holds user code, so nothing is written.
    EXPECT_EQ(mtt::FileSetStatus::kRefused, Generate({"A", "Bee", "C"}));
    EXPECT_NE(std::string::npos, _messages.find("gen/B.h:3: error: user-code section \"/classes/B\"")) << _messages;
    EXPECT_FALSE(fs::exists(_dir + "/gen/Bee.h"));
    // C dropped: reported, and removed only when asked.
    _messages.clear();
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"}));
    EXPECT_NE(std::string::npos, _messages.find("gen/C.h: warning: generated for a model element that is gone"));
    EXPECT_TRUE(fs::exists(_dir + "/gen/C.h"));
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"}, true));
    EXPECT_FALSE(fs::exists(_dir + "/gen/C.h"));
    EXPECT_NE(std::string::npos, Read("gen/B.h").find("int mine;"));
    // Every element gone: B keeps its user code, so nothing is written;
    // pruned, A goes and B stays.
    _messages.clear();
    EXPECT_EQ(mtt::FileSetStatus::kRefused, Generate({}, true));
    EXPECT_NE(std::string::npos, _messages.find("gen/B.h:3: error: user-code section")) << _messages;
    EXPECT_TRUE(fs::exists(_dir + "/gen/A.h"));
}

// A file as the last run wrote it is known by the digest of its whole
// text, its lines not compared; a byte changed outside the sections sends
// it back to the comparison line by line.
TEST_F(FileSetTest, AFileAsWrittenIsKnownByItsWholeText)
{
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"})) << _messages;
    std::string manifest = Read("gen/.mttgen-manifest");
    ASSERT_NE(std::string::npos, manifest.find("\"whole\": \"")) << manifest;
    // A's first line recorded as one it never had: read only if A changed.
    const size_t lines = manifest.find("\"lines\": \"") + 10;
    manifest.replace(lines, 8, "00000000");
    Write("gen/.mttgen-manifest", manifest);
    EXPECT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"})) << _messages;
    Edit("gen/B.h", "  int mine;\n");
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"})) << _messages;
    EXPECT_NE(std::string::npos, Read("gen/B.h").find("int mine;"));

    std::string text = Read("gen/B.h");
    Write("gen/B.h", "struct" + text.substr(5));
    _messages.clear();
    EXPECT_EQ(mtt::FileSetStatus::kRefused, Generate({"A", "B"}));
    EXPECT_NE(std::string::npos, _messages.find("gen/B.h:1: error: edited by hand")) << _messages;
    EXPECT_EQ("struct" + text.substr(5), Read("gen/B.h"));

    // Rewritten from a changed template, a file records its new text's
    // digest: its spoiled line digests are again never read.
    Write("gen/B.h", text);
    std::vector<TemplateError> errors;
    _template = mtt::Template::FromString("struct ${name} {\n[% usercode %]};\n", "class.mtt", errors);
    ASSERT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"})) << _messages;
    manifest = Read("gen/.mttgen-manifest");
    manifest.replace(manifest.find("\"lines\": \"") + 10, 8, "00000000");
    Write("gen/.mttgen-manifest", manifest);
    EXPECT_EQ(mtt::FileSetStatus::kOk, Generate({"A", "B"})) << _messages;
    EXPECT_NE(std::string::npos, Read("gen/B.h").find("int mine;"));
}

}  // namespace
