// What a run records, and what the next run reads back from it: the
// manifest (names of any bytes) and the lines a person changed since.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "Digest.h"
#include "HandEdits.h"
#include "Manifest.h"
#include "OutputPaths.h"
#include "TextFile.h"
#include "UserCodeSections.h"

namespace fs = std::filesystem;

namespace {

std::vector<HandEdits::Edit> EditsBetween(const std::string& iWritten, const std::string& iNow)
{
    UserCodeSections written;
    UserCodeSections now;
    int line = 0;
    std::string error;
    EXPECT_TRUE(written.Read(iWritten, line, error) && now.Read(iNow, line, error)) << error;
    return HandEdits::Find(iNow, HandEdits::Of(iNow, now.All()), HandEdits::Of(iWritten, written.All()).digests);
}

std::string Lines(int iFrom, int iTo)
{
    std::string text;
    for (int i = iFrom; i <= iTo; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
}

TEST(HandEditsTest, NamesTheLinesChangedOutsideTheSections)
{
    const std::string written = "a\n// Begin of User Code /k\nmine\n// End of User Code\nb\nc\nd\n";
    // What happens inside a section is the person's own.
    EXPECT_TRUE(
        EditsBetween(written, "a\n// Begin of User Code /k\nmine\nmore\n// End of User Code\nb\nc\nd\n").empty());

    const std::vector<HandEdits::Edit> edits =
        EditsBetween(written, "a\n// Begin of User Code /k\nmine\n// End of User Code\nB!\nc\nnew\nd\n");
    ASSERT_EQ(2u, edits.size());
    EXPECT_EQ(5, edits[0].line);
    EXPECT_EQ("B!", edits[0].text);
    EXPECT_EQ(0, edits[0].deleted);
    EXPECT_EQ(7, edits[1].line);
    EXPECT_EQ("new", edits[1].text);

    const std::vector<HandEdits::Edit> deleted =
        EditsBetween(written, "a\n// Begin of User Code /k\nmine\n// End of User Code\nd\n");
    ASSERT_EQ(1u, deleted.size());
    EXPECT_EQ(5, deleted[0].line);  // where they were: before "d"
    EXPECT_EQ(2, deleted[0].deleted);
    const std::vector<HandEdits::Edit> atEnd =
        EditsBetween(written, "a\n// Begin of User Code /k\nmine\n// End of User Code\nb\n");
    ASSERT_EQ(1u, atEnd.size());
    EXPECT_EQ(6, atEnd[0].line);

    // A long file with a few edits: found by the diff, not line by line.
    std::string big = Lines(1, 20000);
    std::string edited = Lines(1, 9999) + "inserted\n" + Lines(10000, 19999);
    const std::vector<HandEdits::Edit> far = EditsBetween(big, edited);
    ASSERT_EQ(2u, far.size());
    EXPECT_EQ(10000, far[0].line);
    EXPECT_EQ(20001, far[1].line);
    EXPECT_EQ(1, far[1].deleted);
}

// Digests are recorded in manifests that outlive a run: each line keeps
// the value earlier runs wrote, however many lines the file has and
// however long each is.
TEST(HandEditsTest, ALineKeepsTheDigestEarlierRunsRecorded)
{
    EXPECT_EQ(0x4fd0bfc1u, Digest::OfLine(""));
    EXPECT_EQ(0x296230c0u, Digest::OfLine("a"));
    EXPECT_EQ(0x0df08052u, Digest::OfLine("    int size;"));
    for (const int count : {1, 2, 5, 2000}) {
        std::string text;
        std::vector<std::string> lines;
        for (int i = 0; i < count; ++i) {
            lines.push_back(std::string(static_cast<size_t>(i * 37 % 71), static_cast<char>('!' + i % 90)));
            text += lines.back() + "\n";
        }
        // Ended by a line end or not.
        for (const bool ended : {true, false}) {
            if (!ended) {
                text.pop_back();
                if (lines.back().empty()) lines.pop_back();
            }
            const HandEdits::Skeleton skeleton = HandEdits::Of(text, {});
            ASSERT_EQ(lines.size(), skeleton.digests.size());
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(Digest::OfLine(lines[i]), skeleton.digests[i]) << i;
                EXPECT_EQ(static_cast<int>(i) + 1, skeleton.lines[i]);
            }
        }
    }
}

// A whole file's digest is recorded too (an interrupted run's journal);
// read a piece at a time, it is the same however the pieces fall.
TEST(DigestTest, AFileKeepsItsDigestReadWholeOrInPieces)
{
    std::string text;
    for (int i = 0; i < 100000; ++i) text += static_cast<char>('a' + i % 26);
    const std::string_view all(text);
    const std::pair<size_t, uint64_t> recorded[] = {{0, 0x67b922ff963743a5ull},  {1, 0x53e074b595e9b8a8ull},
                                                    {31, 0xbf4f3bf62c6ad5c7ull}, {32, 0x874d210387d0d9d2ull},
                                                    {33, 0x8e4ea1ce4b4c5c25ull}, {1000, 0xf8f7726e7242bee1ull}};
    for (const auto& known : recorded) EXPECT_EQ(known.second, Digest::OfFile(all.substr(0, known.first)));
    for (const size_t size : {size_t(0), size_t(5), size_t(32), size_t(1000), size_t(100000)}) {
        for (const size_t piece : {size_t(1), size_t(7), size_t(32), size_t(33), size_t(65536)}) {
            Digest::Reading reading(size);
            for (size_t at = 0; at < size; at += piece) reading.Add(text.data() + at, std::min(piece, size - at));
            EXPECT_EQ(Digest::OfFile(all.substr(0, size)), reading.Value()) << size << " in pieces of " << piece;
        }
    }
}

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mtt-regen-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        _dir = pattern;
    }
    void TearDown() override { fs::remove_all(_dir); }
    void Write(const std::string& iName, const std::string& iText) const
    {
        FILE* file = std::fopen((_dir + "/" + iName).c_str(), "wb");
        std::fwrite(iText.data(), 1, iText.size(), file);
        std::fclose(file);
    }

    std::string _dir;
};

TEST_F(FolderTest, ManifestKeepsNamesAndDigestsByteForByte)
{
    Manifest manifest;
    std::string error;
    ASSERT_TRUE(manifest.Load(_dir, error)) << error;
    EXPECT_FALSE(manifest.Loaded());
    const std::vector<std::string> names = {"plain.h",     "sub/x.h",           "100%.h", "caf\xc3\xa9.h", "bad\xff.h",
                                            "line\nbreak", "quote\"back\\slash"};
    for (size_t i = 0; i < names.size(); ++i) {
        manifest.Set(names[i], Manifest::Entry{"${name}.h", {static_cast<uint32_t>(i), 0xdeadbeef}, std::nullopt});
    }
    // The whole text's digest, where a run recorded one.
    manifest.Set("whole.h", Manifest::Entry{"whole.h", {7}, 0xfedcba9876543210ull});
    manifest.Set("text.h", Manifest::Entry{"text.h", {7}, Digest::OfFile("a line\n")});
    EXPECT_TRUE(manifest.Find("text.h")->Holds("a line\n"));
    EXPECT_FALSE(manifest.Find("text.h")->Holds("a line \n"));
    EXPECT_FALSE(manifest.Find("plain.h")->Holds(""));
    Write(Manifest::kFileName, manifest.Text());
    Manifest again;
    ASSERT_TRUE(again.Load(_dir, error)) << error;
    EXPECT_TRUE(again.Loaded());
    ASSERT_EQ(names.size() + 2, again.Entries().size());
    EXPECT_EQ(0xfedcba9876543210ull, again.Find("whole.h")->whole);
    EXPECT_TRUE(again.Find("text.h")->Holds("a line\n"));
    EXPECT_FALSE(again.Find("plain.h")->whole);
    // A whole digest that is not one is passed over: the lines decide.
    Write(Manifest::kFileName,
          "{\"mttgen-manifest\": 1, \"files\": {\"a\": {\"run\": \"r\", \"whole\": \"12g4\", \"lines\": \"\"}}}");
    ASSERT_TRUE(again.Load(_dir, error)) << error;
    ASSERT_NE(nullptr, again.Find("a"));
    EXPECT_FALSE(again.Find("a")->whole);
    Write(Manifest::kFileName, manifest.Text());
    ASSERT_TRUE(again.Load(_dir, error)) << error;
    for (size_t i = 0; i < names.size(); ++i) {
        const Manifest::Entry* entry = again.Find(names[i]);
        ASSERT_NE(nullptr, entry) << names[i];
        EXPECT_EQ("${name}.h", entry->run);
        EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(i), 0xdeadbeef}), entry->lines);
    }

    // Every digit in every place of a digest reads back; any other byte,
    // in any place, makes the entry damaged.
    std::vector<uint32_t> digests = {0x01234567, 0x89abcdef, 0xfedcba98, 0x76543210, 0, 0xffffffff};
    for (uint32_t i = 0, value = 1; i < 5000; ++i) digests.push_back(value = value * 2654435761u + 0x9e3779b9u);
    manifest.Set("many.h", Manifest::Entry{"many.h", digests, std::nullopt});
    Write(Manifest::kFileName, manifest.Text());
    ASSERT_TRUE(again.Load(_dir, error)) << error;
    EXPECT_EQ(digests, again.Find("many.h")->lines);
    for (int byte = 1; byte < 256; ++byte) {
        if ((byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') || byte == '"' || byte == '\\') continue;
        std::string lines = "0123456789abcdef";
        lines[static_cast<size_t>(byte) % 16] = static_cast<char>(byte);
        Write(Manifest::kFileName,
              "{\"mttgen-manifest\": 1, \"files\": {\"a\": {\"run\": \"r\", \"lines\": \"" + lines + "\"}}}");
        EXPECT_FALSE(again.Load(_dir, error)) << byte;
    }

    // Thousands of files, and the same text cut short or with more behind.
    Manifest many;
    for (int i = 0; i < 3000; ++i)
        many.Set("gen/C" + std::to_string(i) + ".h", Manifest::Entry{"gen/${name}.h", {1, 2}, std::nullopt});
    const std::string full = many.Text();
    // As an editor may save it: with a byte order mark and CRLF line ends.
    std::string saved = "\xEF\xBB\xBF";
    for (const char c : full) saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Write(Manifest::kFileName, saved);
    ASSERT_TRUE(again.Load(_dir, error)) << error;
    EXPECT_EQ(3000u, again.Entries().size());
    for (const std::string& damaged :
         {std::string("not json"), std::string("{\"mttgen-manifest\": 2, \"files\": {}}"),
          std::string("{\"mttgen-manifest\": 1, \"files\": {\"a\": {\"run\": \"r\", \"lines\": \"xyz\"}}}"),
          std::string("{\"mttgen-manifest\": 1, \"files\": {\"a\": {\"run\": \"r\", \"lines\": \"0123abcg\"}}}"),
          std::string("{\"mttgen-manifest\": 1}"), full.substr(0, full.size() / 2), full + "{}"}) {
        Write(Manifest::kFileName, damaged);
        EXPECT_FALSE(again.Load(_dir, error)) << damaged.substr(0, 80);
        EXPECT_NE(std::string::npos, error.find(Manifest::kFileName)) << error;
        EXPECT_TRUE(again.Entries().empty()) << damaged.substr(0, 80);
    }
    // A link in its place is not followed.
    fs::remove(_dir + "/" + Manifest::kFileName);
    fs::create_symlink("/etc/passwd", _dir + "/" + Manifest::kFileName);
    EXPECT_FALSE(again.Load(_dir, error));
    EXPECT_NE(std::string::npos, error.find("symbolic link")) << error;
}

// The commit reads the manifest again under the folder's lock: what another
// run wrote since is read, not the entries held from before.
TEST_F(FolderTest, ManifestReadAgainTakesWhatChangedSince)
{
    Manifest mine;
    mine.Set("a.h", Manifest::Entry{"a.h", {1, 2, 3}, std::nullopt});
    Write(Manifest::kFileName, mine.Text());
    Manifest first, again;
    std::string error;
    ASSERT_TRUE(first.Load(_dir, error)) << error;
    ASSERT_TRUE(again.Load(_dir, error, &first)) << error;
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), again.Find("a.h")->lines);
    mine.Set("b.h", Manifest::Entry{"b.h", {4}, std::nullopt});
    Write(Manifest::kFileName, mine.Text());
    ASSERT_TRUE(again.Load(_dir, error, &first)) << error;
    ASSERT_NE(nullptr, again.Find("b.h"));
    // Damaged since: refused, though read well before.
    Write(Manifest::kFileName, mine.Text().substr(0, 40));
    EXPECT_FALSE(again.Load(_dir, error, &first));
    fs::remove(_dir + "/" + Manifest::kFileName);
    ASSERT_TRUE(again.Load(_dir, error, &first)) << error;
    EXPECT_TRUE(again.Entries().empty());
}

// Checking that a file still holds what was read, before it is replaced,
// reads it a piece at a time: every byte counts, past the first piece too.
// Reading it whole goes by the same pieces.
TEST_F(FolderTest, AFileHoldsATextOnlyByteForByte)
{
    const std::string path = _dir + "/f";
    std::string text;
    std::string read;
    std::string error;
    for (const size_t size : {size_t(0), size_t(10), size_t(65536), size_t(65537), size_t(200000)}) {
        text.assign(size, 'x');
        for (size_t i = 0; i < size; i += 97) text[i] = static_cast<char>('a' + i % 26);
        Write("f", text);
        EXPECT_TRUE(TextFile::Read(path, read, error)) << error;
        EXPECT_EQ(text, read) << size;
        // With the size a status gave, also one out of date: grown, shrunk.
        for (const size_t told : {size, size / 2, size + 100}) {
            EXPECT_TRUE(TextFile::Read(path, told, read, error)) << error;
            EXPECT_EQ(text, read) << size << " read as " << told;
        }
        // Compared byte for byte, or by size and digest (a text not held).
        const auto holds = [&path](const std::string& iText) {
            const bool compared = TextFile::HoldsNoFollow(path, iText);
            EXPECT_EQ(compared, TextFile::HoldsNoFollow(path, iText.size(), Digest::OfFile(iText))) << iText.size();
            return compared;
        };
        EXPECT_TRUE(holds(text)) << size;
        EXPECT_FALSE(holds(text + "y")) << size;
        if (size == 0) continue;
        EXPECT_FALSE(holds(text.substr(0, size - 1))) << size;
        std::string other = text;
        other.back() = '#';
        EXPECT_FALSE(holds(other)) << size;
    }
    EXPECT_FALSE(TextFile::HoldsNoFollow(_dir + "/missing", ""));
    fs::create_symlink(path, _dir + "/link");
    EXPECT_FALSE(TextFile::HoldsNoFollow(_dir + "/link", text)) << "a link is not followed";
    EXPECT_FALSE(TextFile::HoldsNoFollow(_dir, "")) << "a folder holds no text";
    EXPECT_TRUE(TextFile::Read(_dir + "/link", read, error) && read == text)
        << "a file read whole is read through a link";
    EXPECT_FALSE(TextFile::Read(_dir, read, error));
    EXPECT_EQ("cannot read '" + _dir + "': Is a directory", error);
    EXPECT_FALSE(TextFile::Read(_dir + "/missing", read, error));
    EXPECT_EQ("cannot read '" + _dir + "/missing': No such file or directory", error);
    EXPECT_FALSE(TextFile::Read(_dir, 4096, read, error));
    EXPECT_EQ("cannot read '" + _dir + "': Is a directory", error);
    EXPECT_FALSE(TextFile::Read(_dir + "/missing", 10, read, error));
    EXPECT_EQ("cannot read '" + _dir + "/missing': No such file or directory", error);
}

TEST_F(FolderTest, PathsStayInsideTheRootAndNameOneFileOnce)
{
    OutputPaths paths;
    EXPECT_EQ("/a/c", paths.Absolute("/a/./b/../c//"));
    EXPECT_EQ("/", paths.Absolute("/../.."));
    // Names with dots that are no "." or ".." part stay as written.
    for (const char* plain : {"/a/.b/c", "/a/..b", "/a/...", "/a/b.", "/x"}) EXPECT_EQ(plain, paths.Absolute(plain));
    EXPECT_EQ("/a/b", paths.Absolute("/a/b/."));
    EXPECT_EQ("/a", paths.Absolute("/a/b/.."));
    EXPECT_EQ("/a/b", paths.Absolute("/a//b/"));
    EXPECT_EQ("/", paths.Absolute("/"));
    EXPECT_TRUE(OutputPaths::Inside("/a", "/a/b"));
    EXPECT_TRUE(OutputPaths::Inside("/", "/x"));
    EXPECT_FALSE(OutputPaths::Inside("/a", "/ab"));
    EXPECT_FALSE(OutputPaths::Inside("/a/b", "/a"));
    EXPECT_EQ("b/c", OutputPaths::Relative("/a", "/a/b/c"));
    EXPECT_EQ("x", OutputPaths::Relative("/", "/x"));

    fs::create_directories(_dir + "/real");
    fs::create_directory_symlink(_dir + "/real", _dir + "/link");
    // Files that do not exist yet, reached two ways.
    EXPECT_EQ(paths.Identity(_dir + "/real/new/x.h"), paths.Identity(_dir + "/link/./new/x.h"));
    EXPECT_NE(paths.Identity(_dir + "/real/x.h"), paths.Identity(_dir + "/real/y.h"));
    EXPECT_TRUE(paths.RealInside(_dir + "/real", _dir + "/real/new/x.h"));
    fs::create_directories(_dir + "/root");
    fs::create_directory_symlink(_dir + "/real", _dir + "/root/out");
    EXPECT_FALSE(paths.RealInside(_dir + "/root", _dir + "/root/out/x.h"));

    // Thousands of files of a folder not made yet, which is looked up once:
    // each is itself, and a link on the way still leads outside for every one.
    std::set<std::string> identities;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "/new/C" + std::to_string(i) + ".h";
        identities.insert(paths.Identity(_dir + "/root" + name));
        ASSERT_TRUE(paths.RealInside(_dir + "/root", _dir + "/root" + name)) << name;
        ASSERT_FALSE(paths.RealInside(_dir + "/root", _dir + "/root/out" + name)) << name;
        ASSERT_EQ(paths.Identity(_dir + "/real" + name), paths.Identity(_dir + "/root/out/." + name)) << name;
    }
    EXPECT_EQ(3000u, identities.size());
}

}  // namespace
