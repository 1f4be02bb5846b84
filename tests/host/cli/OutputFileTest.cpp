// Replacing the output file keeps what the user set up around it, and
// what happens to the file while mttgen runs (cases the golden runner
// cannot stage: a process stopped right before the file is replaced).
#include <atomic>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CommandRunner.h"

namespace fs = std::filesystem;

namespace {

class OutputFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        _dir = CommandRunner::MakeTemporaryFolder();
        CommandRunner::WriteFile(_dir + "/model.json", "{\"name\": \"N\"}");
        CommandRunner::WriteFile(_dir + "/t.mtt", "new ${name}\n");
    }
    void TearDown() override { fs::remove_all(_dir); }

    CommandResult Generate(const std::string& iOutput)
    {
        return CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "-o", iOutput, "t.mtt"}, _dir);
    }
    // iOutput as an earlier run wrote it ("old\n"), on record.
    void Seed(const std::string& iOutput)
    {
        CommandRunner::WriteFile(_dir + "/t.mtt", "old\n");
        ASSERT_EQ(0, Generate(iOutput).exitCode);
        CommandRunner::WriteFile(_dir + "/t.mtt", "new ${name}\n");
    }
    static mode_t ModeOf(const std::string& iPath)
    {
        struct stat info;
        return ::stat(iPath.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
    }
    static struct stat StatOf(const std::string& iPath)
    {
        struct stat info {};
        ::stat(iPath.c_str(), &info);
        return info;
    }
    // Starts mttgen writing "out" (and iMore), stopped right before it
    // replaces the file.
    pid_t StartStopped(const std::vector<std::string>& iMore = {})
    {
        std::vector<std::string> words = {MTTGEN_PATH, "-m", _dir + "/model.json", "-o", _dir + "/out"};
        words.insert(words.end(), iMore.begin(), iMore.end());
        words.push_back(_dir + "/t.mtt");
        std::vector<char*> arguments;
        for (std::string& word : words) arguments.push_back(word.data());
        arguments.push_back(nullptr);
        std::string pause = "MTTGEN_PAUSE_BEFORE_COMMIT=1";
        char* environment[] = {pause.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        EXPECT_EQ(0, posix_spawn(&pid, MTTGEN_PATH, &actions, nullptr, arguments.data(), environment));
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        EXPECT_EQ(pid, ::waitpid(pid, &status, WUNTRACED));
        EXPECT_TRUE(WIFSTOPPED(status));
        return pid;
    }
    static int Resume(pid_t iPid, int iSignal = 0)
    {
        if (iSignal != 0) ::kill(iPid, iSignal);
        ::kill(iPid, SIGCONT);
        int status = 0;
        ::waitpid(iPid, &status, 0);
        return status;
    }
    size_t FilesInFolder() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(_dir), fs::directory_iterator()));
    }

    std::string _dir;
};

TEST_F(OutputFileTest, ReplacedFileKeepsItsPermissions)
{
    Seed("out");
    ASSERT_EQ(0, ::chmod((_dir + "/out").c_str(), 0751));
    const CommandResult result = Generate("out");
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("new N\n", CommandRunner::ReadFile(_dir + "/out"));
    EXPECT_EQ(0751u, ModeOf(_dir + "/out"));
}

TEST_F(OutputFileTest, NewFileGetsTheUsualPermissionsNotPrivateOnes)
{
    const mode_t mask = ::umask(022);
    const CommandResult result = Generate("fresh");
    ::umask(mask);
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(0644u, ModeOf(_dir + "/fresh"));
}

TEST_F(OutputFileTest, LinkStaysAndItsTargetIsReplaced)
{
    fs::create_directory(_dir + "/real");
    fs::create_symlink("real/out", _dir + "/link");
    Seed("link");
    const CommandResult result = Generate("link");
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_TRUE(fs::is_symlink(_dir + "/link"));
    EXPECT_EQ("new N\n", CommandRunner::ReadFile(_dir + "/real/out"));
    // The temporary file was made beside the target, and is gone.
    EXPECT_EQ(1, std::distance(fs::directory_iterator(_dir + "/real"), fs::directory_iterator()));
}

TEST_F(OutputFileTest, UnchangedTextLeavesTheFileUntouched)
{
    CommandRunner::WriteFile(_dir + "/out", "new N\n");
    const struct stat before = StatOf(_dir + "/out");
    ::sleep(1);
    const CommandResult result = Generate("out");
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("", result.err);
    const struct stat after = StatOf(_dir + "/out");
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST_F(OutputFileTest, StandardOutputLeavesTheFolderAsItIs)
{
    // A run that writes only to standard output neither reads nor writes
    // the folder's record: not even one it could not read.
    Seed("out");
    const std::string record = CommandRunner::ReadFile(_dir + "/.mttgen-manifest");
    CommandResult result = CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "t.mtt"}, _dir);
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("new N\n", result.out);
    EXPECT_EQ(record, CommandRunner::ReadFile(_dir + "/.mttgen-manifest"));
    CommandRunner::WriteFile(_dir + "/.mttgen-manifest", "{\"mttgen-manifest\": 1, \"files\": ");
    result = CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "t.mtt"}, _dir);
    EXPECT_EQ(0, result.exitCode) << result.err;
    // Writing a file needs it, and says so.
    result = Generate("out");
    EXPECT_NE(0, result.exitCode);
    EXPECT_NE(std::string::npos, result.err.find(".mttgen-manifest: error: not a manifest")) << result.err;
}

TEST_F(OutputFileTest, RootKeepsTheOwnerOfSomeoneElsesFile)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another user";
    Seed("out");
    ASSERT_EQ(0, ::chown((_dir + "/out").c_str(), 65534, 65534));
    EXPECT_EQ(0, Generate("out").exitCode);
    EXPECT_EQ(65534u, StatOf(_dir + "/out").st_uid);
    EXPECT_EQ(65534u, StatOf(_dir + "/out").st_gid);
}

TEST_F(OutputFileTest, AnEditSavedDuringTheRunIsNeverOverwritten)
{
    // A file the run would replace, and one whose text it would keep: it is
    // told by its status alone, which the edit changes.
    for (const bool replaced : {true, false}) {
        if (replaced) {
            Seed("out");
        } else {
            ASSERT_EQ(0, Generate("out").exitCode);
        }
        const pid_t pid = StartStopped();
        CommandRunner::WriteFile(_dir + "/out", "edited meanwhile\n");
        const int status = Resume(pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status << (replaced ? " replaced" : " kept");
        EXPECT_EQ("edited meanwhile\n", CommandRunner::ReadFile(_dir + "/out"));
        EXPECT_EQ(4u, FilesInFolder()) << "the temporary file is gone";
        fs::remove(_dir + "/out");
        fs::remove(_dir + "/" + ".mttgen-manifest");
    }
}

// A page the run replaces is compared by its digest, not held: a change
// made meanwhile is still seen.
TEST_F(OutputFileTest, APageChangedDuringTheRunIsNeverOverwritten)
{
    const std::vector<std::string> page = {"--explain", _dir + "/page.html"};
    std::vector<std::string> words = {MTTGEN_PATH, "-m", "model.json", "-o", "out"};
    words.insert(words.end(), page.begin(), page.end());
    words.push_back("t.mtt");
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    const std::string written = CommandRunner::ReadFile(_dir + "/page.html");
    const struct stat before = StatOf(_dir + "/page.html");
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    EXPECT_EQ(before.st_ino, StatOf(_dir + "/page.html").st_ino) << "an unchanged page is left as it is";
    CommandRunner::WriteFile(_dir + "/t.mtt", "newer ${name}\n");
    // Someone's notes, saved over the page: no page for the run to write
    // alone to say why it refused either.
    const pid_t pid = StartStopped(page);
    CommandRunner::WriteFile(_dir + "/page.html", "my notes\n");
    const int status = Resume(pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    EXPECT_EQ("my notes\n", CommandRunner::ReadFile(_dir + "/page.html"));
    EXPECT_NE(written, CommandRunner::ReadFile(_dir + "/page.html"));
}

// A page is told by its opening, and a large one of the run's own is not
// read whole: someone's large file where the page goes is still kept whole
// (--force), and a page of the run's own that has not changed is left as
// it is.
TEST_F(OutputFileTest, ALargeFileWhereThePageGoesIsKeptWhole)
{
    std::string notes = "<!DOCTYPE html>\n<html><head><title>notes</title></head><body>\n";
    while (notes.size() < (size_t(300) << 10))
        notes += "<p>written by hand, " + std::to_string(notes.size()) + "</p>\n";
    CommandRunner::WriteFile(_dir + "/page.html", notes);
    const std::vector<std::string> words = {MTTGEN_PATH, "-m",        "model.json", "-o",   "out",
                                            "--explain", "page.html", "--force",    "t.mtt"};
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    EXPECT_EQ(notes, CommandRunner::ReadFile(_dir + "/page.html.edited"));
    // Again, without the note of the copy kept: the page as it stays.
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    const std::string page = CommandRunner::ReadFile(_dir + "/page.html");
    ASSERT_GT(page.size(), size_t(64) << 10);
    const struct stat before = StatOf(_dir + "/page.html");
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    EXPECT_EQ(before.st_ino, StatOf(_dir + "/page.html").st_ino);
    // A page whose end was changed by hand is made again.
    CommandRunner::WriteFile(_dir + "/page.html", page.substr(0, page.size() - 1) + "!");
    ASSERT_EQ(0, CommandRunner::Run(words, _dir).exitCode);
    EXPECT_EQ(page, CommandRunner::ReadFile(_dir + "/page.html"));
}

TEST_F(OutputFileTest, AnInterruptedRunLeavesNoTemporaryFile)
{
    Seed("out");
    for (const int signal : {SIGTERM, SIGINT}) {
        const int status = Resume(StartStopped(), signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ("old\n", CommandRunner::ReadFile(_dir + "/out"));
        EXPECT_EQ(4u, FilesInFolder());
    }
    // Killed outright, it leaves them for the next run to remove.
    const int status = Resume(StartStopped(), SIGKILL);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ("old\n", CommandRunner::ReadFile(_dir + "/out"));
    EXPECT_LT(4u, FilesInFolder());
    const CommandResult next = Generate("out");
    EXPECT_EQ(0, next.exitCode) << next.err;
    EXPECT_NE(std::string::npos, next.err.find("temporary files that a run killed before it finished left behind"))
        << next.err;
    EXPECT_EQ("new N\n", CommandRunner::ReadFile(_dir + "/out"));
    EXPECT_EQ(4u, FilesInFolder());
}

// An editor saving the file's user code again and again, by renaming a new
// file in and by writing in place, while mttgen regenerates it as often:
// each save must survive, so the editor must always find its last one.
// (A save of a buffer read before a regeneration undoes generated lines,
// which mttgen takes for a hand edit: --force keeps going, keeping copies.)
TEST_F(OutputFileTest, EditsSavedWhileRegeneratingAreNeverLost)
{
    CommandRunner::WriteFile(_dir + "/t.mtt", "// run [%= run %]\nclass ${name} {\n[% usercode %]};\n");
    ASSERT_EQ(
        0, CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "-D", "run=0", "-o", "out", "t.mtt"}, _dir).exitCode);
    const std::string out = _dir + "/out";
    // Both sides go on until each has done its share, however slow either is.
    const int kSaves = 150;
    const int kRuns = 40;
    std::atomic<int> saves(0);
    std::atomic<bool> stop(false);
    int lost = 0;
    std::thread editor([&] {
        std::string last;
        while (!stop) {
            std::string text = CommandRunner::ReadFile(out);
            const size_t marker = text.find("Begin of User Code");
            const size_t begin = marker == std::string::npos ? marker : text.find('\n', marker) + 1;
            const size_t end = text.find("// End of User Code");
            if (begin == std::string::npos || end == std::string::npos || end < begin) continue;  // caught mid-write
            if (text.substr(begin, end - begin) != last) ++lost;
            last = "  int edit" + std::to_string(++saves) + ";\n";
            text.replace(begin, end - begin, last);
            if (saves % 2 == 0) {
                CommandRunner::WriteFile(out + ".saving", text);
                ::rename((out + ".saving").c_str(), out.c_str());
            } else {
                CommandRunner::WriteFile(out, text);
            }
            ::usleep(static_cast<useconds_t>(1000 + (saves * 7919) % 5000));
        }
    });
    int runs = 0;
    int refused = 0;
    while (runs < kRuns || saves < kSaves) {
        const CommandResult result =
            CommandRunner::Run({MTTGEN_PATH, "-m", "model.json", "-D", "run=" + std::to_string(++runs), "--force", "-o",
                                "out", "t.mtt"},
                               _dir);
        if (result.exitCode == 3) ++refused;
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 3) << result.err;
    }
    stop = true;
    editor.join();
    EXPECT_EQ(0, lost) << "in " << runs << " regenerations (" << refused << " refused) and " << saves << " saves";
    // Nothing left behind but the files, the record and the copies.
    for (const fs::directory_entry& entry : fs::directory_iterator(_dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "out" || name == "model.json" || name == "t.mtt" || name == ".mttgen-manifest" ||
                    name.rfind("out.edited", 0) == 0 || name.rfind("out.earlier", 0) == 0)
            << name;
    }
}

}  // namespace
