// Usage errors, --help and "--" are golden cases (usage-*, help-*,
// double-dash-ends-options); the version is checked here, where its number
// may change without a golden file to update.
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "CommandRunner.h"

TEST(CommandLineTest, VersionIsOneLineWithTheThreePartNumber)
{
    const CommandResult version =
        CommandRunner::Run({MTTGEN_PATH, "--version"}, std::string(MTT_TEST_DATA_DIR) + "/cli");
    EXPECT_EQ(0, version.exitCode);
    EXPECT_EQ("", version.err);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("mttgen [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}
