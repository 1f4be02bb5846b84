// One run's files go in all together or not at all, whatever fails or
// interrupts it, and what a person saved meanwhile is never lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CommitJournal.h"
#include "CommitPhase.h"
#include "Digest.h"
#include "OutputFile.h"
#include "RunMarker.h"
#include "TemporaryFileGuard.h"

namespace fs = std::filesystem;

namespace {

class CommitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mtt-commit-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        _dir = pattern;
    }
    void TearDown() override { fs::remove_all(_dir); }

    std::string Path(const std::string& iName) const { return _dir + "/" + iName; }
    void Write(const std::string& iName, const std::string& iText) const
    {
        std::ofstream(Path(iName), std::ios::binary) << iText;
    }
    std::string Read(const std::string& iName) const
    {
        std::ifstream file(Path(iName), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(_dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::unique_ptr<OutputFile> Prepared(const std::string& iName, std::string iText) const
    {
        std::unique_ptr<OutputFile> file(new OutputFile(Path(iName), true));
        std::string error;
        EXPECT_TRUE(file->ReadCurrent(error) && file->Prepare(std::move(iText), error)) << error;
        return file;
    }

    std::string _dir;
};

TEST_F(CommitTest, AFileThatCannotGoInPutsTheOthersBack)
{
    Write("a", "old a\n");
    Write("b", "old b\n");
    std::unique_ptr<OutputFile> created = Prepared("new", "new\n");
    std::unique_ptr<OutputFile> a = Prepared("a", "new a\n");
    std::unique_ptr<OutputFile> b = Prepared("b", "new b\n");
    // The last file's prepared text vanishes: its swap fails.
    fs::remove(b->SavedPath());
    const CommitPhase::Outcome outcome = CommitPhase::Run(_dir, {created.get(), a.get(), b.get()});
    EXPECT_EQ(CommitPhase::Outcome::Kind::kFailed, outcome.kind);
    EXPECT_NE(std::string::npos, outcome.error.find("nothing written")) << outcome.error;
    EXPECT_EQ("old a\n", Read("a"));
    EXPECT_EQ("old b\n", Read("b"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Listing()) << "no new file, temporary file or journal left";
}

TEST_F(CommitTest, AllGoInAndTheReplacedTextsGo)
{
    Write("a", "old a\n");
    Write("same", "same\n");
    std::vector<std::unique_ptr<OutputFile>> files;
    std::vector<OutputFile*> order;
    for (int i = 0; i < 2000; ++i) files.push_back(Prepared("f" + std::to_string(i), std::to_string(i)));
    files.push_back(Prepared("a", "new a\n"));
    files.push_back(Prepared("same", "same\n"));
    for (auto& file : files) order.push_back(file.get());
    const CommitPhase::Outcome outcome = CommitPhase::Run(_dir, order);
    ASSERT_EQ(CommitPhase::Outcome::Kind::kDone, outcome.kind) << outcome.error;
    EXPECT_EQ(2001u, outcome.written);
    EXPECT_EQ("new a\n", Read("a"));
    EXPECT_EQ("1999", Read("f1999"));
    EXPECT_EQ(2002u, Listing().size());
}

TEST_F(CommitTest, AnEditorsSaveIntoTheReplacedFileWins)
{
    Write("a", "old\n");
    std::unique_ptr<OutputFile> a = Prepared("a", "generated\n");
    // An editor holds the file open and saves into it after the swap.
    fs::create_hard_link(Path("a"), Path("editor-handle"));
    std::string error;
    ASSERT_EQ(OutputFile::Result::kWritten, a->Commit(error)) << error;
    Write("editor-handle", "saved by hand\n");
    EXPECT_FALSE(a->SavedIntact());
    ASSERT_TRUE(a->Rollback(error)) << error;
    EXPECT_EQ("saved by hand\n", Read("a"));
    EXPECT_EQ((std::vector<std::string>{"a", "editor-handle"}), Listing());

    // An editor that has truncated the file and not written it yet.
    std::unique_ptr<OutputFile> open = Prepared("a", "generated\n");
    ASSERT_EQ(OutputFile::Result::kWritten, open->Commit(error)) << error;
    const int writing = ::open(open->SavedPath().c_str(), O_WRONLY);
    EXPECT_FALSE(open->SavedIntact());
    ::close(writing);
    EXPECT_TRUE(open->SavedIntact());
    ASSERT_TRUE(open->Rollback(error)) << error;

    // Saved by renaming a new file in before the swap: refused, kept.
    std::unique_ptr<OutputFile> again = Prepared("a", "generated\n");
    Write("a.new", "saved again\n");
    fs::rename(Path("a.new"), Path("a"));
    EXPECT_EQ(OutputFile::Result::kChanged, again->Commit(error));
    EXPECT_EQ("saved again\n", Read("a"));
    again.reset();
    EXPECT_EQ((std::vector<std::string>{"a", "editor-handle"}), Listing());
}

TEST_F(CommitTest, AJournalLeftByAKilledRunPutsTheFilesBack)
{
    Write("a", "old a\n");
    Write("gone", "old gone\n");
    Write("b", "old b\n");
    // A run that dies in the middle of its commit, as kill -9 would stop it.
    const pid_t child = ::fork();
    if (child == 0) {
        std::unique_ptr<OutputFile> a = Prepared("a", "new a\n");
        std::unique_ptr<OutputFile> created = Prepared("c", "new c\n");
        std::unique_ptr<OutputFile> quoted = Prepared("q\"\\", "new q\n");     // a name JSON must escape
        std::unique_ptr<OutputFile> latin = Prepared("caf\xe9", "new caf\n");  // a name that is not UTF-8
        std::unique_ptr<OutputFile> gone(new OutputFile(Path("gone"), false));
        std::unique_ptr<OutputFile> b = Prepared("b", "new b\n");  // not reached
        std::string error;
        bool ok = gone->ReadCurrent(error) && gone->PrepareRemoval(error);
        CommitJournal journal(_dir);
        ok = ok && journal.Begin({a.get(), created.get(), quoted.get(), latin.get(), gone.get(), b.get()}, error);
        for (OutputFile* file : {a.get(), created.get(), quoted.get(), latin.get(), gone.get()}) {
            ok = ok && file->Commit(error) == OutputFile::Result::kWritten;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ("new a\n", Read("a"));
    ASSERT_FALSE(fs::exists(Path("gone")));

    std::vector<std::string> restored;
    std::string error;
    ASSERT_TRUE(CommitJournal(_dir).Recover(restored, error)) << error;
    EXPECT_EQ(5u, restored.size());
    EXPECT_EQ("old a\n", Read("a"));
    EXPECT_EQ("old b\n", Read("b"));
    EXPECT_EQ("old gone\n", Read("gone"));
    EXPECT_EQ((std::vector<std::string>{"a", "b", "gone"}), Listing()) << "the new file, temporaries and journal go";

    // A journal of the first version, whose digests took a byte at a time,
    // is still followed; one of a version to come is not.
    const auto hex = [](uint64_t iDigest) {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(iDigest));
        return std::string(text);
    };
    const std::string firstVersion = "{\"mttgen-journal\": 1, \"steps\": [{\"kind\": \"replace\", \"file\": \"" +
                                     Path("a") + "\", \"saved\": \"" + Path("x") + "\", \"old\": \"" +
                                     hex(Digest::OfText("old a\n")) + "\", \"new\": \"" +
                                     hex(Digest::OfText("newer a\n")) + "\"}]}";
    Write("a", "newer a\n");
    Write("x", "old a\n");
    Write(CommitJournal::kFileName, "{\"mttgen-journal\": 4" + firstVersion.substr(firstVersion.find(',')));
    EXPECT_FALSE(CommitJournal(_dir).Recover(restored, error));
    EXPECT_EQ("newer a\n", Read("a"));
    Write(CommitJournal::kFileName, firstVersion);
    restored.clear();
    ASSERT_TRUE(CommitJournal(_dir).Recover(restored, error)) << error;
    EXPECT_EQ((std::vector<std::string>{Path("a")}), restored);
    EXPECT_EQ("old a\n", Read("a"));
    EXPECT_FALSE(fs::exists(Path("x")));

    // A file changed since is left to its owner, with a message.
    Write(CommitJournal::kFileName, "{\"steps\": [{\"kind\": \"replace\", \"file\": \"" + Path("a") +
                                        "\", \"saved\": \"" + Path("x") + "\", \"old\": \"1\", \"new\": \"2\"}]}");
    EXPECT_FALSE(CommitJournal(_dir).Recover(restored, error));
    EXPECT_NE(std::string::npos, error.find(Path("a"))) << error;
    EXPECT_EQ("old a\n", Read("a"));
}

TEST_F(CommitTest, AnInterruptedRunTakesAnyNumberOfTemporaryFilesWithIt)
{
    const pid_t child = ::fork();
    if (child == 0) {
        TemporaryFileGuard::RemoveOnSignals();
        std::vector<std::unique_ptr<TemporaryFileGuard>> guards;
        for (int i = 0; i < 3000; ++i) {
            Write("t" + std::to_string(i), "x");
            guards.emplace_back(new TemporaryFileGuard());
            guards.back()->Guard(Path("t" + std::to_string(i)));
        }
        guards[7]->Release();              // put in place: stays
        guards.erase(guards.begin() + 8);  // done with: removed now
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ((std::vector<std::string>{"t7"}), Listing());
}

// A run killed outright (kill -9) removes nothing itself: the next run
// removes the temporary files it left, thousands in two folders, and
// nothing else: not the files of a run still going, nor a name that only
// looks like one.
TEST_F(CommitTest, TheNextRunRemovesTheTemporaryFilesOfARunKilledOutright)
{
    fs::create_directory(Path("sub"));
    Write("sub/.kept.h.mttgen-abc123", "someone's");
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const auto run = [&](const std::string& iPrefix, int iFiles) {
        const pid_t child = ::fork();
        if (child != 0) return child;
        RunMarker marker(_dir);
        const RunMarker::Active active(marker);
        std::vector<std::unique_ptr<OutputFile>> files;
        for (int i = 0; i < iFiles; ++i) {
            files.push_back(Prepared((i % 2 == 0 ? "" : "sub/") + iPrefix + std::to_string(i) + ".h", "text"));
        }
        const char done = 'x';
        if (::write(ready[1], &done, 1) != 1) ::_exit(1);
        ::pause();  // until killed: nothing is cleaned up
        ::_exit(0);
    };
    const auto waitReady = [&] {
        char done = 0;
        ASSERT_EQ(1, ::read(ready[0], &done, 1));
    };
    const auto temporaries = [this] {
        size_t count = 0;
        for (const char* folder : {"", "sub"}) {
            for (const auto& entry : fs::directory_iterator(Path(folder))) {
                const std::string name = entry.path().filename().string();
                count += name[0] == '.' && name.find(".mttgen-") != std::string::npos && name != RunMarker::kFolder &&
                         name.rfind(".kept", 0) != 0;
            }
        }
        return count;
    };
    const pid_t killed = run("a", 3000);
    waitReady();
    const pid_t going = run("b", 3);
    waitReady();
    EXPECT_EQ(3003u, temporaries());
    // Both still hold their markers.
    EXPECT_EQ(0u, RunMarker::Sweep(_dir));
    ::kill(killed, SIGKILL);
    ASSERT_EQ(killed, ::waitpid(killed, nullptr, 0));
    EXPECT_EQ(3000u, RunMarker::Sweep(_dir));
    EXPECT_EQ(3u, temporaries());
    EXPECT_EQ("someone's", Read("sub/.kept.h.mttgen-abc123"));
    ::kill(going, SIGKILL);
    ASSERT_EQ(going, ::waitpid(going, nullptr, 0));
    EXPECT_EQ(3u, RunMarker::Sweep(_dir));
    EXPECT_EQ(0u, temporaries());
    // The markers' folder goes with the last of them.
    EXPECT_EQ((std::vector<std::string>{"sub"}), Listing());
    ::close(ready[0]);
    ::close(ready[1]);
}

}  // namespace
