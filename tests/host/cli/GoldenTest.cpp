// Runs the built mttgen on every case folder under golden/ (see
// golden/README.md) in a scratch copy of the case, and compares the exit
// status, both streams, the files written, and that every input is as it
// was and nothing else was left behind.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandRunner.h"

namespace fs = std::filesystem;

namespace {

const std::string kGoldenDir = std::string(MTT_TEST_DATA_DIR) + "/cli/golden";
// Files of a case that are not copied into the scratch folder as inputs.
const std::set<std::string> kCaseFiles = {"args", "stdin", "existing", "setup", "after", "output-name"};

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kGoldenDir)) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void ReplaceAll(std::string& ioText, const std::string& iFrom, const std::string& iTo)
{
    for (size_t at = ioText.find(iFrom); at != std::string::npos; at = ioText.find(iFrom, at + iTo.size())) {
        ioText.replace(at, iFrom.size(), iTo);
    }
}

// expected.* files and the expected-files/ folder.
bool IsExpected(const std::string& iName)
{
    return iName.rfind("expected", 0) == 0;
}

// Without throwing for a symbolic link loop.
bool Exists(const std::string& iPath)
{
    std::error_code error;
    return fs::exists(iPath, error);
}

class GoldenTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        _case = kGoldenDir + "/" + GetParam();
        _scratch = CommandRunner::MakeTemporaryFolder();
        _out = Has("output-name") ? Lines("output-name").at(0) : std::string("out");
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(_case)) {
            const std::string relative = fs::relative(entry.path(), _case).string();
            if (kCaseFiles.count(relative) != 0 || IsExpected(relative)) continue;
            if (entry.is_directory()) {
                fs::create_directories(_scratch + "/" + relative);
            } else {
                fs::copy_file(entry.path(), _scratch + "/" + relative);
                _inputs[relative] = CommandRunner::ReadFile(entry.path().string());
            }
        }
    }
    void TearDown() override { fs::remove_all(_scratch); }

    bool Has(const std::string& iName) const { return fs::exists(_case + "/" + iName); }
    std::string Read(const std::string& iName) const { return CommandRunner::ReadFile(_case + "/" + iName); }

    std::string Expand(std::string iText) const
    {
        ReplaceAll(iText, "@OUT@", _scratch + "/" + _out);
        ReplaceAll(iText, "@TMP@", _scratch);
        ReplaceAll(iText, "@SRC@", MTT_SOURCE_DIR);
        ReplaceAll(iText, "@MTTGEN@", MTTGEN_PATH);
        return iText;
    }
    std::string Neutral(std::string iText) const
    {
        ReplaceAll(iText, _scratch, "@TMP@");
        ReplaceAll(iText, MTT_SOURCE_DIR, "@SRC@");
        return iText;
    }
    std::vector<std::string> Lines(const std::string& iName) const
    {
        std::vector<std::string> lines;
        const std::string text = Read(iName);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (end > start) lines.push_back(Expand(text.substr(start, end - start)));
            start = end + 1;
        }
        return lines;
    }
    // Files now in the scratch folder, symbolic links not followed.
    std::set<std::string> Listing() const
    {
        std::set<std::string> names;
        ListInto(_scratch, names);
        return names;
    }
    void ListInto(const std::string& iFolder, std::set<std::string>& ioNames) const
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(iFolder)) {
            if (fs::is_directory(entry.symlink_status())) {
                ListInto(entry.path().string(), ioNames);
            } else {
                ioNames.insert(entry.path().string().substr(_scratch.size() + 1));
            }
        }
    }
    // With MTT_UPDATE_GOLDEN set, an expected file is rewritten instead of compared.
    void Expect(const std::string& iName, const std::string& iActual, const std::string& iDefault = "")
    {
        if (std::getenv("MTT_UPDATE_GOLDEN") != nullptr) {
            if (iActual != iDefault) {
                fs::create_directories(fs::path(_case + "/" + iName).parent_path());
                CommandRunner::WriteFile(_case + "/" + iName, iActual);
            } else {
                fs::remove(_case + "/" + iName);
            }
            return;
        }
        EXPECT_EQ(Has(iName) ? Read(iName) : iDefault, iActual) << iName;
    }

    std::string _case;
    std::string _scratch;
    std::string _out;  // the output file's name in the scratch folder
    std::map<std::string, std::string> _inputs;
};

TEST_P(GoldenTest, MatchesExpectedRun)
{
    ASSERT_TRUE(Has("args")) << "a case needs an args file";
    const std::string out = _scratch + "/" + _out;
    if (Has("existing")) fs::copy_file(_case + "/existing", out);
    if (Has("setup")) {
        for (const std::string& command : Lines("setup")) {
            ASSERT_EQ(0, CommandRunner::Run({"sh", "-c", command}, _scratch).exitCode) << command;
        }
    }
    const std::set<std::string> before = Listing();
    std::vector<std::string> arguments = Lines("args");
    arguments.insert(arguments.begin(), MTTGEN_PATH);
    const CommandResult result = CommandRunner::Run(arguments, _scratch, Has("stdin") ? _case + "/stdin" : "");

    if (std::getenv("MTT_UPDATE_GOLDEN") != nullptr) {
        Expect("expected.exit", std::to_string(result.exitCode) + "\n", "0\n");
    } else {
        EXPECT_EQ(Has("expected.exit") ? std::stoi(Read("expected.exit")) : 0, result.exitCode);
    }
    Expect("expected.stdout", Neutral(result.out));
    Expect("expected.stderr", Neutral(result.err));

    // The output: as expected, else untouched, else absent.
    std::set<std::string> allowed = before;
    const bool update = std::getenv("MTT_UPDATE_GOLDEN") != nullptr;
    // A case that states its output keeps it, even where the file kept its text.
    if (update && (!Exists(out) ||
                   (!Has("expected.output") && Has("existing") && Read("existing") == CommandRunner::ReadFile(out)))) {
        fs::remove(_case + "/expected.output");
    } else if (Has("expected.output") || update) {
        Expect("expected.output", CommandRunner::ReadFile(out));
        allowed.insert(_out);
    } else if (Has("existing")) {
        EXPECT_EQ(Read("existing"), CommandRunner::ReadFile(out)) << "the existing file was changed";
    }
    for (const std::string& written : {_out + ".orphans", std::string("trace")}) {
        const std::string expected = written == "trace" ? "expected.trace" : "expected.orphans";
        if (Has(expected) || (Exists(_scratch + "/" + written) && update)) {
            Expect(expected, Neutral(CommandRunner::ReadFile(_scratch + "/" + written)));
            allowed.insert(written);
        }
    }
    // Other files the run creates; their texts are under expected-files/.
    if (Has("expected.created")) {
        for (const std::string& name : Lines("expected.created")) {
            allowed.insert(name);
            // A file left unchecked (a page, which changes with its script)
            // stays so when the case is updated.
            if (Has("expected-files/" + name)) {
                Expect("expected-files/" + name, Neutral(CommandRunner::ReadFile(_scratch + "/" + name)));
            }
        }
    }
    // The record of what was generated, in the output folder: compared
    // where a case says.
    for (const std::string& name : Listing()) {
        if (fs::path(name).filename() == ".mttgen-manifest") allowed.insert(name);
    }
    if (Has("expected.manifest")) Expect("expected.manifest", CommandRunner::ReadFile(_scratch + "/.mttgen-manifest"));
    // Inputs are sacred, and nothing else may be left (no temporary file).
    for (const auto& input : _inputs) {
        if (input.first == _out + ".orphans" || input.first == ".mttgen-manifest") continue;  // compared above
        EXPECT_EQ(input.second, CommandRunner::ReadFile(_scratch + "/" + input.first))
            << "input changed: " << input.first;
    }
    for (const std::string& name : Listing()) EXPECT_EQ(1u, allowed.count(name)) << "left behind: " << name;
    if (Has("after")) {
        for (const std::string& command : Lines("after")) {
            EXPECT_EQ(0, CommandRunner::Run({"sh", "-c", command}, _scratch).exitCode) << command;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& iInfo) {
                             std::string name = iInfo.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
