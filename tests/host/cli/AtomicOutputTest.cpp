// Replacing the output file keeps what the user set up around it.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "CommandRunner.h"

namespace fs = std::filesystem;

namespace {

class AtomicOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        _dir = CommandRunner::MakeTemporaryFolder();
        CommandRunner::WriteFile(_dir + "/model.json", "{\"name\": \"N\"}");
        CommandRunner::WriteFile(_dir + "/t.mtt", "new ${name}\n");
    }
    void TearDown() override { fs::remove_all(_dir); }

    CommandResult Generate(const std::string& iOutput) {
        return CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "-o", iOutput, "t.mtt"}, _dir);
    }
    static mode_t ModeOf(const std::string& iPath) {
        struct stat info;
        return ::stat(iPath.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
    }

    std::string _dir;
};

TEST_F(AtomicOutputTest, ReplacedFileKeepsItsPermissions) {
    CommandRunner::WriteFile(_dir + "/out", "old\n");
    ASSERT_EQ(0, ::chmod((_dir + "/out").c_str(), 0751));
    const CommandResult result = Generate("out");
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("new N\n", CommandRunner::ReadFile(_dir + "/out"));
    EXPECT_EQ(0751u, ModeOf(_dir + "/out"));
}

TEST_F(AtomicOutputTest, NewFileGetsTheUsualPermissionsNotPrivateOnes) {
    const mode_t mask = ::umask(022);
    const CommandResult result = Generate("fresh");
    ::umask(mask);
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(0644u, ModeOf(_dir + "/fresh"));
}

TEST_F(AtomicOutputTest, LinkStaysAndItsTargetIsReplaced) {
    fs::create_directory(_dir + "/real");
    CommandRunner::WriteFile(_dir + "/real/out", "old\n");
    fs::create_symlink("real/out", _dir + "/link");
    const CommandResult result = Generate("link");
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_TRUE(fs::is_symlink(_dir + "/link"));
    EXPECT_EQ("new N\n", CommandRunner::ReadFile(_dir + "/real/out"));
    // The temporary file was made beside the target, and is gone.
    EXPECT_EQ(1, std::distance(fs::directory_iterator(_dir + "/real"), fs::directory_iterator()));
}

}  // namespace
