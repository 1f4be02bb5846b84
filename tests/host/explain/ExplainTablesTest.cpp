// The explain page's tables as mttgen reads them back (--explain-since): the
// packed numbers, the model's nodes and pointers, the diff of lines, and
// the offsets of the text in the page's units.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <zlib.h>

#include "JsonModel.h"
#include "Gzip.h"
#include "LineDiff.h"
#include "ModelNodeTable.h"
#include "PackedNumbers.h"
#include "ScriptJson.h"

namespace {

TEST(PackedNumbersTest, ReadsBackEveryColumnWidthAndSign)
{
    // One column fits a byte, one two, one needs four; deltas go negative.
    const std::vector<std::vector<int64_t>> rows = {{0, -32768, 2147483647},
                                                    {127, 32767, -2147483647 - 1},
                                                    {-128, 300, 70000},
                                                    {5, -1, -70000}};
    PackedNumbers packed(3);
    for (const auto& row : rows) packed.Add({row[0], row[1], row[2]});
    std::string json;
    packed.AppendTo(json);
    ASSERT_GE(json.size(), 2u);
    const std::vector<int32_t> read = PackedNumbers::Read(json.substr(1, json.size() - 2), 3);
    ASSERT_EQ(12u, read.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = 0; j < 3; ++j) EXPECT_EQ(rows[i][j], read[i * 3 + j]) << i << "," << j;
    }
    EXPECT_TRUE(PackedNumbers::Read("not base64 at all!", 3).empty());
    EXPECT_TRUE(PackedNumbers::Read(json.substr(1, json.size() - 2), 2).empty());

    // Thousands of rows whose columns widen as they go, from a byte to two
    // and to four, after numbers of every width and sign were written (and,
    // in the longer tables, after blocks of rows were packed), with room
    // reserved for some of them or none; the longest, of megabytes, is
    // packed in blocks, a column's wide numbers and INT32_MIN in each.
    for (const size_t count : {size_t(1), size_t(5), size_t(5000), size_t(200000)}) {
        PackedNumbers many(4);
        if (count % 2 == 1) many.Reserve(count / 2);
        std::vector<int32_t> expected;
        for (size_t i = 0; i < count; ++i) {
            const int64_t small = static_cast<int64_t>(i % 200) - 100;
            const int64_t row[4] = {small, i < count / 3 ? small : small * 300,
                                    i < count / 2 ? small * 3 : small * 20000000, i % 7 == 3 ? INT32_MIN : small};
            many.Add({row[0], row[1], row[2], row[3]});
            expected.insert(expected.end(), row, row + 4);
        }
        std::string text;
        many.AppendTo(text);
        EXPECT_EQ(expected, PackedNumbers::Read(text.substr(1, text.size() - 2), 4)) << count;
    }
}

// A gzip is one whole member for zlib, an independent reader (trailer
// checked), and reads back through Gzip::Inflate: inputs of no byte, one,
// several, thousands and megabytes, in pieces of every size. A damaged or
// cut member, or one with more after it, is refused.
TEST(GzipTest, ReadsBackAsOneMember)
{
    const auto inflated = [](const std::string& iGzip, size_t iSize) {
        z_stream stream{};
        EXPECT_EQ(Z_OK, inflateInit2(&stream, 15 + 16));
        std::string out(iSize + 1, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(iGzip.data()));
        stream.avail_in = static_cast<uInt>(iGzip.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        const int status = inflate(&stream, Z_FINISH);
        out.resize(out.size() - stream.avail_out);
        const bool whole = status == Z_STREAM_END && stream.avail_in == 0;
        inflateEnd(&stream);
        return whole ? out : std::string("(not one whole gzip member)");
    };
    std::unique_ptr<char[]> state(new char[Gzip::kStateBytes]);
    for (const size_t size : {size_t(0), size_t(1), size_t(7), size_t(16), size_t(17), size_t(1024), size_t(1025),
                              size_t(5000), size_t(300000), size_t(3) << 20}) {
        std::string text;
        for (size_t i = 0; i < size; ++i) text += static_cast<char>(i % 7 == 0 ? 'a' + i % 26 : i % 251);
        for (const size_t cut : {size_t(1), size_t(3), size_t(4096), size_t(1) << 30}) {
            // Single bytes a piece only where they are few.
            if (cut < 4096 && size > 5000) continue;
            std::vector<std::string_view> pieces;
            for (size_t at = 0; at < size; at += cut) pieces.push_back(std::string_view(text).substr(at, cut));
            // Fixed codes for a small input, codes of its own for a larger
            // one, and those whatever the size.
            for (const std::string& gzip : {Gzip::Of(pieces), Gzip::Coded(pieces, state.get())}) {
                EXPECT_EQ(text, inflated(gzip, size)) << size << " " << cut;
                std::string read;
                EXPECT_TRUE(Gzip::Inflate(gzip, read)) << size << " " << cut;
                EXPECT_EQ(text, read) << size << " " << cut;
            }
        }
        const std::string gzip = Gzip::Of({text});
        std::string read;
        EXPECT_FALSE(Gzip::Inflate(gzip.substr(0, gzip.size() - 1), read)) << size;
        EXPECT_FALSE(Gzip::Inflate(gzip.substr(0, gzip.size() / 2), read)) << size;
        EXPECT_FALSE(Gzip::Inflate(gzip + gzip, read)) << size;
        std::string damaged = gzip;
        damaged[damaged.size() - 8] ^= 1;  // the checksum
        EXPECT_FALSE(Gzip::Inflate(damaged, read)) << size;
    }
    std::string read;
    EXPECT_FALSE(Gzip::Inflate("", read));
    EXPECT_FALSE(Gzip::Inflate("not gzip at all", read));
}

// The same pieces come out in the same bytes wherever the compressor's
// state lies: ISA-L 2.30 let the state's address into a hash, so a page
// could differ from the run before. States 64 KB apart, over every setting
// of the address bits that reached a small input's hash; a one-element
// model's table, a larger text, and that text in pieces.
TEST(GzipTest, TheSameInputComesOutTheSameWhereverTheStateLies)
{
    const size_t kApart = size_t(64) << 10;
    const size_t kPlaces = 256;
    std::unique_ptr<char[]> room(new char[(kPlaces - 1) * kApart + Gzip::kStateBytes + 64]);
    char* const first = room.get() + (64 - reinterpret_cast<uintptr_t>(room.get()) % 64) % 64;
    const std::string table("\x04\0\0\0\x01\x01\x01\0\0\x01\x01\x01\0\x01\0\x02\0\x01\0\x06", 20);
    std::string text;
    for (size_t i = 0; i < 5000; ++i) text += static_cast<char>(i % 7 == 0 ? 'a' + i % 26 : i % 13);
    std::vector<std::string_view> pieces;
    for (size_t at = 0; at < text.size(); at += 3) pieces.push_back(std::string_view(text).substr(at, 3));
    for (const std::vector<std::string_view>& input :
         {std::vector<std::string_view>{table}, std::vector<std::string_view>{text}, pieces}) {
        const std::string expected = Gzip::Coded(input, first);
        size_t same = 0;
        for (size_t place = 0; place < kPlaces; ++place) same += Gzip::Coded(input, first + place * kApart) == expected;
        EXPECT_EQ(kPlaces, same) << input.size() << " pieces";
    }
}

// The table of a model read from iText; oSlots gets each node's slot.
ModelNodeTable TableOf(const std::string& iText, std::vector<uint32_t>* oSlots = nullptr)
{
    std::string error;
    const std::unique_ptr<JsonModel> model = JsonModel::FromText(iText, "m.json", error);
    EXPECT_TRUE(model) << error;
    return model ? ModelNodeTable::Of(*model, oSlots) : ModelNodeTable::FromPage(nlohmann::json());
}

// Every node of a document, in its order, as its pointer and the JSON text
// of a scalar.
void ListNodes(const nlohmann::ordered_json& iNode, const std::string& iPointer,
               std::vector<std::pair<std::string, std::string>>& oNodes)
{
    oNodes.emplace_back(iPointer, iNode.is_structured() ? "" : iNode.dump());
    if (iNode.is_object()) {
        for (auto member = iNode.begin(); member != iNode.end(); ++member) {
            std::string token;
            for (const char c : member.key()) token += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
            ListNodes(member.value(), iPointer + "/" + token, oNodes);
        }
    } else if (iNode.is_array()) {
        for (size_t i = 0; i < iNode.size(); ++i) ListNodes(iNode[i], iPointer + "/" + std::to_string(i), oNodes);
    }
}

TEST(ModelNodeTableTest, FindsNodesByPointerAndReadsAPageBack)
{
    // A scalar longer than most, kept apart from the short ones.
    const std::string text = R"({
        "classes": [{"name": "Order", "a/b": {"~x": 1}}, {"name": "Item", "tags": ["x", "y"]}],
        "title": "na\u00efve \"q\"", "n": 1.5e3, "none": null, "long": ")" +
                             std::string(300, 'w') + "\"}";
    const ModelNodeTable table = TableOf(text);
    const int32_t item = table.Find("/classes/1");
    ASSERT_GE(item, 0);
    EXPECT_EQ("\"Item\"", table.Scalar(table.Member(item, "name")));
    EXPECT_EQ("/classes/0/a~1b/~0x", table.PointerOf(table.Find("/classes/0/a~1b/~0x")));
    EXPECT_EQ("\"y\"", table.Scalar(table.Find("/classes/1/tags/1")));
    EXPECT_EQ(-1, table.Find("/classes/2"));
    EXPECT_EQ(-1, table.Find("/classes/01"));
    EXPECT_EQ(-1, table.Find("classes"));
    // ".." reaches the nearest object, past the list.
    EXPECT_EQ(table.Find(""), table.Enclosing(item));
    EXPECT_EQ(item, table.Enclosing(table.Find("/classes/1/tags/0")));
    EXPECT_EQ("\"na\u00efve \\\"q\\\"\"", table.Scalar(table.Find("/title")));
    EXPECT_EQ("1500.0", table.Scalar(table.Find("/n")));
    EXPECT_EQ("null", table.Scalar(table.Find("/none")));
    // In the text's order, not the alphabet's.
    EXPECT_EQ("/classes", table.PointerOf(1));

    // As a page writes it and an earlier page is read back.
    std::string json;
    table.AppendJson(json);
    const ModelNodeTable read = ModelNodeTable::FromPage(nlohmann::json::parse(json));
    ASSERT_EQ(table.Size(), read.Size());
    for (int32_t node = 0; node < table.Size(); ++node) {
        EXPECT_EQ(table.PointerOf(node), read.PointerOf(node));
        EXPECT_EQ(table.Scalar(node), read.Scalar(node)) << table.PointerOf(node);
    }
    EXPECT_EQ(0, ModelNodeTable::FromPage(nlohmann::json::parse(R"({"keys": []})")).Size());
    // A page that lists a name twice: either place names the same member.
    PackedNumbers twice(3);
    twice.Add({0, 0, 0});  // the root object
    twice.Add({1, 2, 3});  // its member, the second "a": a scalar of one unit
    std::string nodes;
    twice.AppendTo(nodes);
    const ModelNodeTable listedTwice = ModelNodeTable::FromPage(
        nlohmann::json{{"keys", {"a", "a"}}, {"scalars", "1"}, {"nodes", nlohmann::json::parse(nodes)}});
    EXPECT_EQ(1, listedTwice.Member(0, "a"));
    EXPECT_EQ("/a", listedTwice.PointerOf(1));

    EXPECT_EQ("\"" + std::string(300, 'w') + "\"", read.Scalar(read.Find("/long")));

    // Every node, with its slot in the model: also for what the fast reader
    // leaves to the careful one (integers beyond 64 bits, a scalar document,
    // deep nesting), for lists of one, several and thousands of records and
    // for thousands of member names, and more than two bytes number.
    std::string many = "[";
    for (int i = 0; i < 3000; ++i) many += (i ? "," : "") + std::string("{\"i\":") + std::to_string(i) + "}";
    many += "]";
    // Thousands of names, each with a shared one and one of its own beside it.
    std::string names = "{";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        names += (i ? ",\"k" : "\"k") + n + "\":{\"x\":" + n + ",\"own" + n + "\":" + n + "}";
    }
    names += "}";
    std::string moreNames = "[";
    for (int i = 0; i < 70000; ++i)
        moreNames += (i ? ",{\"m" : "{\"m") + std::to_string(i) + "\":" + std::to_string(i % 9) + "}";
    moreNames += "]";
    const std::string deep = std::string(1100, '[') + std::string(1100, ']');
    for (const std::string& each :
         {text, std::string(R"({"a": "x\ny", "b": -0, "c": [1e300, 2.50, -12]})"),
          std::string(R"({"big": 123456789012345678901234567890})"), std::string("7"), deep, std::string("[{}]"),
          std::string(R"([{"a": 1}, {"a": 2}, {"b": [3]}])"), many, names, moreNames}) {
        std::vector<std::pair<std::string, std::string>> expected;
        ListNodes(nlohmann::ordered_json::parse(each), "", expected);
        std::vector<uint32_t> slots;
        const ModelNodeTable streamed = TableOf(each, &slots);
        ASSERT_EQ(static_cast<int32_t>(expected.size()), streamed.Size()) << each.substr(0, 40);
        ASSERT_EQ(expected.size(), slots.size());
        std::vector<bool> seen(slots.size(), false);
        for (size_t node = 0; node < expected.size(); ++node) {
            EXPECT_EQ(expected[node].first, streamed.PointerOf(static_cast<int32_t>(node)));
            EXPECT_EQ(expected[node].second, streamed.Scalar(static_cast<int32_t>(node))) << expected[node].first;
            // Each slot once: the document's values have the slots from 0 up.
            ASSERT_LT(slots[node], seen.size());
            EXPECT_FALSE(seen[slots[node]]) << expected[node].first;
            seen[slots[node]] = true;
        }
    }
}

TEST(ModelNodeTableTest, FindsElementsOfLongLists)
{
    nlohmann::json list = nlohmann::json::array();
    for (int i = 0; i < 1000; ++i) list.push_back({{"i", i}});
    const ModelNodeTable table = TableOf(nlohmann::json{{"items", list}}.dump());
    EXPECT_EQ("999", table.Scalar(table.Find("/items/999/i")));
    EXPECT_EQ("/items/640", table.PointerOf(table.Find("/items/640")));
    EXPECT_EQ(-1, table.Find("/items/1000"));
}

TEST(LineDiffTest, FindsReplacedAddedAndRemovedLines)
{
    const auto hunks = [](const std::string& a, const std::string& b) {
        std::vector<std::vector<size_t>> found;
        for (const LineDiff::Hunk& hunk : LineDiff::Of(a, b)) {
            found.push_back({hunk.oldFirst, hunk.oldCount, hunk.newFirst, hunk.newCount});
        }
        return found;
    };
    using Hunks = std::vector<std::vector<size_t>>;
    EXPECT_EQ(Hunks(), hunks("a\nb\n", "a\nb\n"));
    EXPECT_EQ(Hunks({{1, 1, 1, 1}}), hunks("a\nb\nc\n", "a\nB\nc\n"));
    EXPECT_EQ(Hunks({{1, 0, 1, 2}}), hunks("a\nc\n", "a\nx\ny\nc\n"));
    EXPECT_EQ(Hunks({{0, 1, 0, 0}, {3, 1, 2, 0}}), hunks("a\nb\nc\nd\n", "b\nc\n"));
    // The last line without its line end differs from the same line with one.
    EXPECT_EQ(Hunks({{1, 1, 1, 1}}), hunks("a\nb", "a\nb\n"));
    EXPECT_EQ(Hunks({{0, 0, 0, 1}}), hunks("", "x\n"));
}

}  // namespace

TEST(ScriptJsonTest, UnitsAreTheSameInPlaceAndWhenWritten)
{
    // One byte a unit; "é" two bytes, one unit; "😀" four bytes, two units.
    for (const std::string& text : {std::string("abc"), std::string("a\xc3\xa9z \xf0\x9f\x98\x80!")}) {
        std::vector<uint32_t> bytes;
        for (uint32_t at = 0; at <= text.size(); ++at) {
            const unsigned char c = at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
            if (c < 0x80 || c >= 0xC0) bytes.push_back(at);  // where a character begins, and the end
        }
        std::vector<uint32_t> apart, inPlace(bytes), written;
        ScriptJson::Units(text, bytes, apart);
        ScriptJson::Units(text, inPlace, inPlace);
        std::string json;
        ScriptJson::AppendString(json, text, bytes, written);
        EXPECT_EQ(apart, written) << text;
        EXPECT_EQ(inPlace, written) << text;
    }
    std::vector<uint32_t> units;
    ScriptJson::Units("a\xc3\xa9z \xf0\x9f\x98\x80!", {0, 1, 3, 4, 5, 9, 10}, units);
    EXPECT_EQ(units, (std::vector<uint32_t>{0, 1, 2, 3, 4, 6, 7}));
}

TEST(ScriptJsonTest, ATextReadsBackWhateverItsRunsAndEscapes)
{
    // Runs of every length between pieces to escape, a byte that is not
    // UTF-8 among them: texts of one piece, several, and thousands (past
    // any buffer the writer keeps), each read back by a JSON parser.
    // ASCII texts (the pieces before the first non-ASCII one) are written
    // by a way of their own.
    const std::vector<std::string> all = {"\"", "\\", "\n", "\t", "<", "\x01", "\xc3\xa9", "\xf0\x9f\x98\x80", "\xff"};
    for (const size_t kinds : {size_t(6), all.size()})
        for (const size_t count : {size_t(1), size_t(7), size_t(3000)}) {
            std::string text, expected;
            for (size_t i = 0; i < count; ++i) {
                const std::string run(i * 7 % 23 + (i % 500 == 499 ? 5000 : 0), static_cast<char>('a' + i % 26));
                const std::string& piece = all[i % kinds];
                text += run + piece;
                expected += run + (piece == "\xff" ? std::string("\xef\xbf\xbd") : piece);
            }
            std::string json = "[";
            ScriptJson::AppendString(json, text);
            json += "]";
            EXPECT_EQ(json.find('<'), std::string::npos) << count;
            const nlohmann::json read = nlohmann::json::parse(json, nullptr, false);
            ASSERT_TRUE(read.is_array()) << count;
            EXPECT_EQ(read[0].get<std::string>(), expected) << count;
        }
    // Both ways write every ASCII byte alike.
    std::string ascii;
    for (int round = 0; round < 3; ++round) {
        for (int c = 0; c < 128; ++c) ascii += std::string(static_cast<size_t>(c % 11), 'x') + static_cast<char>(c);
    }
    std::string alone, beside;
    ScriptJson::AppendString(alone, ascii);
    ScriptJson::AppendString(beside, ascii + "\xc3\xa9");
    ASSERT_EQ(alone.size() + 2, beside.size());
    EXPECT_EQ(alone.substr(0, alone.size() - 1), beside.substr(0, alone.size() - 1));
}
