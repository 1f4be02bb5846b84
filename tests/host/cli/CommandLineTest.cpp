// Invocations that never reach evaluation: usage errors, --help, --version.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandRunner.h"

namespace {

CommandResult RunMttgen(std::vector<std::string> iArguments) {
    iArguments.insert(iArguments.begin(), MTTGEN_PATH);
    return CommandRunner::Run(iArguments, std::string(MTT_TEST_DATA_DIR) + "/cli");
}

TEST(CommandLineTest, UsageErrorsExitTwoWithOneLineAndAHint) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{}, "no template given"},
        {{"-m", "m.json"}, "no template given"},
        {{"--bogus", "t.mtt"}, "unknown option --bogus"},
        {{"-x", "t.mtt"}, "unknown option -x"},
        {{"t.mtt", "-m"}, "option -m needs a file name"},
        {{"--model=", "t.mtt"}, "option --model needs a file name"},
        {{"-o", "a", "--output=b", "-m", "m", "t.mtt"}, "option --output is given twice"},
        {{"-m", "m.json", "a.mtt", "b.mtt"}, "more than one template given: a.mtt and b.mtt"},
        {{"t.mtt"}, "evaluation needs a model: give -m FILE.json (or --late, or --dump)"},
        {{"--trace", "-o", "x", "t.mtt"}, "evaluation needs a model: give -m FILE.json (or --late, or --dump)"},
        {{"--late", "--model", "m.json", "t.mtt"},
         "--late reads no model: the generated code loads it when it runs; drop -m"},
        {{"--dump", "-o", "x", "t.mtt"}, "--dump prints to standard output and takes no -o"},
    };
    for (const auto& c : cases) {
        const CommandResult result = RunMttgen(c.arguments);
        const std::string label = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(2, result.exitCode) << label;
        EXPECT_EQ("", result.out) << label;
        EXPECT_EQ("mttgen: error: " + std::string(c.message) + "\nTry 'mttgen --help' for more information.\n",
                  result.err)
            << label;
    }
}

TEST(CommandLineTest, HelpSkipsCombinationRulesButNotMalformedArguments) {
    const CommandResult help = RunMttgen({"--bogus", "--help"});
    EXPECT_EQ(2, help.exitCode) << "an unknown option is reported before --help is seen";

    const CommandResult onlyHelp = RunMttgen({"a.mtt", "b.mtt", "--help"});
    EXPECT_EQ(2, onlyHelp.exitCode) << "two templates are refused while reading the arguments";

    const CommandResult usage = RunMttgen({"--late", "-m", "x", "--help"});
    EXPECT_EQ(0, usage.exitCode);
    EXPECT_EQ(0u, usage.out.rfind("Usage: mttgen [options] TEMPLATE\n", 0)) << usage.out;
    EXPECT_NE(std::string::npos, usage.out.find("Exit status:")) << usage.out;
    EXPECT_EQ("", usage.err);

    const CommandResult version = RunMttgen({"--version"});
    EXPECT_EQ(0, version.exitCode);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("mttgen [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}

TEST(CommandLineTest, DoubleDashEndsOptions) {
    // "-t.mtt" after "--" is a template name, so reading it is what fails.
    const CommandResult result = RunMttgen({"--dump", "--", "-t.mtt"});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_EQ("mttgen: error: cannot read '-t.mtt': No such file or directory\n", result.err);
}

}  // namespace
