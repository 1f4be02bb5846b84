// The explain page's tables as mttgen reads them back (--explain-since): the
// packed numbers, the model's nodes and pointers, and the diff of lines.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LineDiff.h"
#include "ModelNodeTable.h"
#include "PackedNumbers.h"

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
}

TEST(ModelNodeTableTest, FindsNodesByPointerAndReadsAPageBack)
{
    const std::string text = R"({
        "classes": [{"name": "Order", "a/b": {"~x": 1}}, {"name": "Item", "tags": ["x", "y"]}],
        "title": "na\u00efve \"q\"", "n": 1.5e3, "none": null})";
    const nlohmann::json document = nlohmann::json::parse(text);
    const ModelNodeTable table(document);
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

    // Read from the text as it streams by: the text's order, the same nodes.
    // Also what the fast reader leaves to the careful one: a NUL, integers
    // beyond 64 bits, a scalar document, deep nesting.
    const std::string deep = std::string(1100, '[') + std::string(1100, ']');
    for (const std::string& each :
         {text, std::string(R"({"a": "x\u0000y\n", "b": -0, "c": [1e300, 2.50, -12]})"),
          std::string(R"({"big": 123456789012345678901234567890})"), std::string("7"), deep}) {
        const ModelNodeTable parsed{nlohmann::json::parse(each)};
        const ModelNodeTable streamed = ModelNodeTable::FromText(each);
        ASSERT_EQ(parsed.Size(), streamed.Size()) << each.substr(0, 40);
        for (int32_t node = 0; node < parsed.Size(); ++node) {
            EXPECT_EQ(parsed.Scalar(node), streamed.Scalar(streamed.Find(parsed.PointerOf(node))))
                << parsed.PointerOf(node);
        }
    }
    EXPECT_EQ(0, ModelNodeTable::FromText("{\"a\": [1, 2}").Size());
}

TEST(ModelNodeTableTest, FindsElementsOfLongLists)
{
    nlohmann::json list = nlohmann::json::array();
    for (int i = 0; i < 1000; ++i) list.push_back({{"i", i}});
    const ModelNodeTable table(nlohmann::json{{"items", list}});
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
