// Runs the built mttgen on every case folder under golden/ (see
// golden/README.md for the files of a case) and compares exit code,
// streams, the output file and what else is left in the scratch folder.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandRunner.h"

namespace fs = std::filesystem;

namespace {

const std::string kGoldenDir = std::string(MTT_TEST_DATA_DIR) + "/cli/golden";

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kGoldenDir)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

void ReplaceAll(std::string& ioText, const std::string& iFrom, const std::string& iTo) {
    for (size_t at = ioText.find(iFrom); at != std::string::npos; at = ioText.find(iFrom, at + iTo.size())) {
        ioText.replace(at, iFrom.size(), iTo);
    }
}

class GoldenTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        _case = kGoldenDir + "/" + GetParam();
        _scratch = CommandRunner::MakeTemporaryFolder();
    }
    void TearDown() override { fs::remove_all(_scratch); }

    bool Has(const std::string& iName) const { return fs::exists(_case + "/" + iName); }
    std::string Read(const std::string& iName) const { return CommandRunner::ReadFile(_case + "/" + iName); }

    // Scratch paths become @TMP@ and the source tree @SRC@, both ways.
    std::string Expand(std::string iText) const {
        ReplaceAll(iText, "@OUT@", _scratch + "/out");
        ReplaceAll(iText, "@TMP@", _scratch);
        ReplaceAll(iText, "@SRC@", MTT_SOURCE_DIR);
        return iText;
    }
    std::string Neutral(std::string iText) const {
        ReplaceAll(iText, _scratch, "@TMP@");
        ReplaceAll(iText, MTT_SOURCE_DIR, "@SRC@");
        return iText;
    }

    std::vector<std::string> Arguments() const {
        std::vector<std::string> arguments{MTTGEN_PATH};
        std::string lines = Read("args");
        size_t start = 0;
        while (start < lines.size()) {
            size_t end = lines.find('\n', start);
            if (end == std::string::npos) end = lines.size();
            const std::string line = lines.substr(start, end - start);
            if (!line.empty()) arguments.push_back(Expand(line));
            start = end + 1;
        }
        return arguments;
    }

    std::string _case;
    std::string _scratch;
};

TEST_P(GoldenTest, MatchesExpectedRun) {
    ASSERT_TRUE(Has("args")) << "a case needs an args file";
    const std::string out = _scratch + "/out";
    if (Has("existing")) {
        fs::copy_file(_case + "/existing", out);
    }
    const CommandResult result = CommandRunner::Run(Arguments(), _case, Has("stdin") ? _case + "/stdin" : "");

    const int expectedExit = Has("expected.exit") ? std::stoi(Read("expected.exit")) : 0;
    EXPECT_EQ(expectedExit, result.exitCode);
    EXPECT_EQ(Has("expected.stdout") ? Read("expected.stdout") : "", Neutral(result.out));
    EXPECT_EQ(Has("expected.stderr") ? Read("expected.stderr") : "", Neutral(result.err));

    // The output file: the expected result, else untouched, else absent.
    std::set<std::string> allowed;
    if (Has("expected.output")) {
        EXPECT_EQ(Read("expected.output"), CommandRunner::ReadFile(out));
        allowed.insert("out");
    } else if (Has("existing")) {
        EXPECT_EQ(Read("existing"), CommandRunner::ReadFile(out)) << "the existing file was changed";
        allowed.insert("out");
    }
    if (Has("expected.trace")) {
        EXPECT_EQ(Read("expected.trace"), CommandRunner::ReadFile(_scratch + "/trace"));
        allowed.insert("trace");
    }
    // Nothing else: no temporary file left behind, no output where none was due.
    for (const fs::directory_entry& entry : fs::directory_iterator(_scratch)) {
        EXPECT_EQ(1u, allowed.count(entry.path().filename().string())) << "left behind: " << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& iInfo) {
                             std::string name = iInfo.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
