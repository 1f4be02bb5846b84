// The one-pass reader of block YAML against the general reader: whatever it
// takes, it must report exactly as the general reader does, and it must
// take the YAML that models are usually written in, at every size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "JsonEventLog.h"
#include "JsonModel.h"
#include "TextWindow.h"
#include "YamlBlockReader.h"
#include "YamlReader.h"
#include "YamlScalar.h"

namespace {

// Whether the one-pass reader takes iYaml; when it does, the general reader
// must take it too and report the same.
bool Takes(const std::string& iYaml)
{
    JsonEventLog quick;
    if (!YamlBlockReader::Read(iYaml, quick)) return false;
    JsonEventLog general;
    std::string error;
    EXPECT_TRUE(YamlReader::Read(iYaml, "m.yaml", general, error))
        << "taken, but the general reader says " << error << " of:\n"
        << iYaml;
    EXPECT_EQ(general.text, quick.text) << "of:\n" << iYaml;
    return true;
}

// The text a YAML writer gives a model of iClasses classes, each with a
// list of attributes.
std::string Classes(int iClasses)
{
    std::string yaml = "classes:\n";
    for (int i = 0; i < iClasses; ++i) {
        yaml += "- name: C" + std::to_string(i) + "\n  abstract: " + (i % 2 == 0 ? "false" : "true") +
                "\n  size: " + std::to_string(i * 3) + "\n  attributes:\n";
        for (int a = 0; a < 3; ++a) {
            yaml += "  - name: a" + std::to_string(a) + "\n    type: " + (a == 2 ? "'std::string'" : "int") + "\n";
        }
    }
    return yaml;
}

}  // namespace

TEST(YamlBlockReader, TakesBlockStyleAndReportsAsTheGeneralReader)
{
    const char* const texts[] = {
        // Sequences at their key's indent, or deeper; mappings in entries.
        "a:\n- 1\n- x\nb: 2\n",
        "a:\n  - 1\n  -   two\nb:\n    c: d\n",
        "- a: 1\n  b:\n  - x\n  c: 2\n- d\n-\n- e:\n",
        "-   a: 1\n    b: 2\n- c\n",
        "- \n  k: v\n-\n  - 1\n",
        // Scalars: plain, quoted, the core schema, comments and CRLF.
        "n: ~\no: null\np:\nq: true\nr: False\ns: -12\nt: 0x1F\nu: 1.5e3\nv: 007\nw: yes\n",
        "a: 'it''s'\nb: \"say \"\nc: ''\nd: \"\"\ne: 'x: y # z'\n\"k 1\": 1\n'k''2': 2\n",
        "a: b#c  # comment\nb:c: d\n#x\n   # y\nc:    spaced   out   \n",
        "---\nurl: http://example.com:80/x?y=1&z=[2]\n-x: ---\n...y: -.5\n",
        "--- # a start\r\na: 1\r\nb:\r\n  - c\r\n",
        "a: \xc3\xa9t\xc3\xa9\n\xe2\x82\xac: \xf0\x9f\x98\x80\n",
        // Plain scalars folded over lines, as writers wrap long texts.
        "a: one\n  two\n\n\n   three  \nb: 12\n  34\nc: x\n",
        "- a\n  b\n-   c\n\n    d [e] &f *g 'h' \"i\" -j - k\n- k: long\n    text\n  j: 2\n",
        // The escapes YAML writers use for what is not printable ASCII.
        "a: \"caf\\xE9 \\u00e9\\U0001F600 \\\"q\\\" \\\\ \\/ \\t\\n\\r\\x01\"\n\"k\\u00e9\": 1\n",
        "1: a\n1.0: b\n~: c\ntrue: d\nkey : e\n",
        // Quoted scalars folded over lines, as writers wrap long ones: blanks
        // before a break dropped, blank lines kept as line ends, a break
        // escaped, a blank escaped, a quote doubled across a break.
        "a: 'one  \n  two\n\n\n     three '\nb: 'it''\n  ''s # x: - y'\n",
        "- \"wrapped at the\\\n  \\ line \\xE9\n\n  end\\\n\n  \"\n- 'x\n\n  '\n- '\n  y'\n",
        "- k: \"a\\ \n    b\"\n  j: 'c\r\n   d'\r\n",
    };
    for (const char* text : texts) EXPECT_TRUE(Takes(text)) << text;
}

TEST(YamlBlockReader, DeclinesWhatItIsUnsureOf)
{
    const char* const texts[] = {
        // What the general reader takes, in forms this reader leaves to it.
        "a: &x 1\nb: *x\n",
        "a: !!str 1\n",
        "a: [1, 2]\n",
        "{a: 1}\n",
        "a: |\n  text\n",
        "a: >\n  text\n",
        "a:\n  one\n",
        "a: \"tab\\b\"\n",
        "<<: {b: 1}\n",
        "? a\n: b\n",
        "- - 1\n",
        "%YAML 1.1\n---\na: 1\n",
        "a: 1\n...\n",
        "\xef\xbb\xbf"
        "a: 1\n",
        "a:\tb\n",
        "x\n",
        "---\n",
        "",
        "# only a comment\n",
        "  a: 1\n",
        // What it refuses: the general reader words the errors.
        "a: one # c\n  two\n",
        "a: one\n  # c\n  two\n",
        "a: one\n  two: x\n",
        "a: one\n  two:\n",
        "a: 1\na: 2\n",
        "a: b: c\n",
        "a: 1\n- b\n",
        "- a\nb: 1\n",
        "a:\n    b: 1\n  c: 2\n",
        "a: - b\n",
        "a: 'open\n",
        "a: 'open\n  on\n",
        "a: 'x\ny'\n",
        "- k: 'x\n  y'\n",
        "a:\n  b: 'x\n  y'\n",
        "'a\n  b': 1\n",
        "a: 'x\n  y' z\n",
        "a: \"x\" y\n",
        "a: .inf\n.inf: a\n",
        "a: 1\n---\nb: 2\n",
        "a: 1\r",
        "a: \xc2\x85\n",
        "a: \xe2\x80\xa8\n",
        "a: \xff\n",
        "a: \xed\xa0\x80\n",
        "a: \x01\n",
        "a: \"\\0\"\n",
        "a: \"\\x00\"\n",
        "a: \"\\ud800\"\n",
        "a: \"\\U00110000\"\n",
        "a: \"\\x4\"\n",
        "- a: 1\n b: 2\n",
    };
    for (const char* text : texts) EXPECT_FALSE(Takes(text)) << text;
    // A key of over 1,000 bytes is left to the general reader's limit.
    EXPECT_TRUE(Takes(std::string(1000, 'k') + ": v\n"));
    EXPECT_FALSE(Takes(std::string(1001, 'k') + ": v\n"));
}

TEST(YamlBlockReader, TakesModelsOfEverySize)
{
    for (int classes : {1, 5, 5000}) EXPECT_TRUE(Takes(Classes(classes))) << classes << " classes";
    // Nesting as deep as the general reader allows, and no deeper.
    std::string deep;
    for (std::size_t i = 0; i + 1 < YamlReader::kMaxNesting; ++i) deep += std::string(i * 2, ' ') + "k:\n";
    EXPECT_TRUE(Takes(deep + std::string(YamlReader::kMaxNesting * 2 - 2, ' ') + "k: v\n"));
    EXPECT_FALSE(Takes(deep + std::string(YamlReader::kMaxNesting * 2 - 2, ' ') + "k:\n" +
                       std::string(YamlReader::kMaxNesting * 2, ' ') + "k: v\n"));
}

// The shortcut that tells most plain scalars are strings without resolving
// them must never say so of a null, boolean or number: every casing of the
// words, near misses, and every first byte before a few tails.
TEST(YamlBlockReader, TellsAStringAtOnceOnlyWhereItIsOne)
{
    std::vector<std::string> texts = {"",     "~",     "nul",   "nulll", "tru",  "truee", "fals", "falsee",
                                      "name", "type",  "nulls", "n",     "t",    "f",     ".5",   "+1",
                                      "-2",   "0x1F",  "0o17",  "1e3",   ".inf", "-.Inf", ".NaN", "attributes",
                                      "_id",  "Ã©tÃ©", "Null1", "TRUE ", "fAlse"};
    for (const std::string word : {"null", "true", "false"}) {
        // Every casing, of which null, Null, NULL (and the like) are words.
        for (unsigned casing = 0; casing < (1u << word.size()); ++casing) {
            std::string text = word;
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (casing >> i & 1) text[i] = static_cast<char>(text[i] - 'a' + 'A');
            }
            texts.push_back(text);
        }
    }
    for (int first = 1; first < 256; ++first) {
        for (const char* tail : {"", "x", "1", "ull", "rue", "alse", ".5"}) {
            texts.push_back(std::string(1, static_cast<char>(first)) + tail);
        }
    }
    int surely = 0;
    for (const std::string& text : texts) {
        if (!YamlScalar::SurelyString(text)) continue;
        ++surely;
        EXPECT_EQ(YamlScalar::Type::kString, YamlScalar::Resolve(text)) << text;
    }
    // It does take the common case.
    EXPECT_GT(surely, static_cast<int>(texts.size()) / 2);
}

// Texts shaped like models, one line in three then changed the way texts
// go wrong: whatever the one-pass reader takes, the general one reads the
// same.
TEST(YamlBlockReader, AgreesWithTheGeneralReaderOnRandomTexts)
{
    std::vector<std::string> keys = {"a", "b", "-k", "'q'", "\"d\"", "1", "~", "a b", "a:b", "'x''y'", "\xc3\xa9"};
    std::vector<std::string> values = {"",       "v",    "12",      "-3",    "1.5",       "0x1F",
                                       ".inf",   "null", "\"s q\"", "'s q'", "a: b",      "- x",
                                       "x #c",   "[1]",  "&a x",    "*a",    "!!str 1",   "|",
                                       "'open",  "a:",   "true",    "''",    "\"a\\tb\"", "\"\\u00e9\\x41\\\"\\/\"",
                                       "\"\\q\""};
    // Long ones, whose ':' and '#' lie past the first 16 bytes read at once.
    keys.insert(keys.end(), {"name_of_more_than_16_bytes", "a key of many words, #7", "long key that goes: on"});
    values.insert(values.end(), {"a value of more than sixteen bytes", "sixteen bytes ab #c",
                                 "a value with a:colon and a#hash inside", "a long value that goes: on",
                                 "a long value ending in blanks      ", "a long value and a comment   # here"});
    // Quoted values over lines, deeper than their key or not.
    for (const char* wrapped : {"'s\n   q  \n\n   r'", "\"p \\\n   \\ q\\\n\n  r\"", "'a''\n    ''b'"}) {
        values.push_back(wrapped);
    }
    const std::vector<std::string> odd = {"- - x", "? k", "k: v: w", "#", "...", "---", "<<: {}", "\tk: v", "k:v"};
    std::mt19937 random(7);
    const auto pick = [&random](const std::vector<std::string>& iList) { return iList[random() % iList.size()]; };
    // A mapping or sequence at iIndent, its lines added to ioLines.
    std::function<void(std::vector<std::string>&, std::size_t, int)> node = [&](std::vector<std::string>& ioLines,
                                                                                std::size_t iIndent, int iDepth) {
        const bool mapping = random() % 2 == 0;
        for (int i = 0, count = 1 + static_cast<int>(random() % 3); i < count; ++i) {
            std::string line(iIndent, ' ');
            std::size_t inner = iIndent;
            if (!mapping) {
                line += "- ";
                inner += 2;
                if (random() % 3 == 0) {
                    line += pick(values);
                    ioLines.push_back(line);
                    continue;
                }
            }
            line += pick(keys) + ":";
            if (iDepth < 3 && random() % 3 == 0) {
                ioLines.push_back(line);
                // Deeper, or a sequence at the key's own indent.
                const std::size_t indent = random() % 4 == 0 ? inner : inner + 1 + random() % 4;
                node(ioLines, indent, iDepth + 1);
            } else {
                ioLines.push_back(line + " " + pick(values));
            }
        }
    };
    int taken = 0;
    const int kTexts = 50000;
    for (int t = 0; t < kTexts; ++t) {
        std::vector<std::string> lines;
        node(lines, 0, 0);
        if (random() % 3 == 0) {
            std::string& line = lines[random() % lines.size()];
            switch (random() % 5) {
            case 0: line.insert(0, 1 + random() % 2, ' '); break;
            case 1: line.erase(0, std::min<std::size_t>(line.find_first_not_of(' '), 1 + random() % 2)); break;
            case 2: line += " # note"; break;
            case 3: line = std::string(random() % 4, ' ') + pick(odd); break;
            default: lines.push_back(line); break;
            }
        }
        std::string yaml = random() % 8 == 0 ? "---\n" : "";
        for (const std::string& line : lines) yaml += line + (random() % 20 == 0 ? "\r\n" : "\n");
        if (Takes(yaml)) ++taken;
    }
    // The texts reach what it takes, not only what it declines.
    EXPECT_GT(taken, kTexts / 10);
}

// A file is read in chunks: read from memory in chunks of 1 to 9 bytes,
// every line is cut at each of its bytes (a plain scalar going on over the
// cut among them), and must be reported as the whole text is; a line
// longer than the buffer grows it. In a file of several real chunks, a
// byte declined past the first one leaves the file to the general reader,
// which words it.
TEST(YamlBlockReader, ReadsAFileInChunksAsAWholeText)
{
    const std::string texts[] = {"k: \"caf\\xE9 \\u2013\"\r\nnext: 1\r\n",
                                 "k: caf\xc3\xa9 \xe2\x80\x93 x\n",
                                 "k: first words\n   go on here\n\n   and here\nnext: one",
                                 "- 'it''s\n\n   wrapped '\n- \"and \\\n  \\ escaped\"\n",
                                 "---\nlist:\n- a\n- b: c\n  d: e  # note\n\n# end\n",
                                 Classes(3),
                                 "long: " + std::string(100, 'y') + "\nafter: 1\n"};
    for (const std::string& text : texts) {
        JsonEventLog whole;
        ASSERT_TRUE(Takes(text)) << text;
        YamlBlockReader::Read(text, whole);
        for (std::size_t chunk = 1; chunk <= 9; ++chunk) {
            std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
            ASSERT_NE(nullptr, file);
            JsonEventLog chunked;
            EXPECT_TRUE(YamlBlockReader::Read(file, chunked, chunk)) << chunk << ":\n" << text;
            std::fclose(file);
            EXPECT_EQ(whole.text, chunked.text) << chunk << ":\n" << text;
        }
    }
    const std::string path = std::string(MTT_BINARY_DIR) + "/yaml-chunks-test.yaml";
    const std::string text = Classes(4000) + "bad: a\x01b\n";
    ASSERT_GT(text.size(), 2 * TextWindow::kChunk);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    std::string error;
    std::string expected;
    EXPECT_EQ(nullptr, JsonModel::LoadYamlFile(path, error));
    EXPECT_EQ(nullptr, JsonModel::FromYamlText(text, path, expected));
    EXPECT_EQ(expected, error);
    std::remove(path.c_str());
}
