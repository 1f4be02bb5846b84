// YAML models: the JSON document each YAML text becomes, the format chosen
// by name or given, lists of every length and the limits on nesting and
// alias copies. Messages are pinned by the yaml-* cases of the mttgen golden
// files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "MTLIModelObject.h"
#include "JsonTextEvents.h"
#include "MttModel.h"
#include "YamlReader.h"
#include "mtt_json_builder.h"

namespace {

std::string ValueText(MTTString iText)
{
    return iText.ConvertToChar();
}

std::string Repeat(const std::string& iText, size_t iCount, const std::string& iSeparator = "")
{
    std::string text;
    for (size_t i = 0; i < iCount; ++i) text += (i > 0 ? iSeparator : "") + iText;
    return text;
}

// What the reader reports, gathered into the document it describes.
class Gathered : public JsonTextEvents {
public:
    nlohmann::json document;

    void OpenArray() override { Add(nlohmann::json::array()); }
    void OpenObject() override { Add(nlohmann::json::object()); }
    void Key(std::string_view iName) override { _key = iName; }
    void String(std::string_view iText) override { Add(std::string(iText)); }
    void Number(std::string_view iText) override { Add(nlohmann::json::parse(iText)); }
    void Boolean(bool iValue) override { Add(iValue); }
    void Null() override { Add(nullptr); }
    bool Close() override
    {
        _open.pop_back();
        return true;
    }

private:
    void Add(nlohmann::json iValue)
    {
        nlohmann::json* slot = &document;
        if (!_open.empty() && _open.back()->is_array()) {
            _open.back()->push_back(nullptr);
            slot = &_open.back()->back();
        } else if (!_open.empty()) {
            EXPECT_EQ(0u, _open.back()->count(_key)) << "a key reported twice: " << _key;
            slot = &(*_open.back())[_key];
        }
        const bool container = iValue.is_structured();
        *slot = std::move(iValue);
        if (container) _open.push_back(slot);
    }

    std::vector<nlohmann::json*> _open;
    std::string _key;
};

bool Read(const std::string& iYaml, nlohmann::json& oDocument, std::string& oError)
{
    Gathered gathered;
    if (!YamlReader::Read(iYaml, "m.yaml", gathered, oError)) return false;
    oDocument = std::move(gathered.document);
    return true;
}

bool ReadsAs(const std::string& iYaml, const std::string& iJson)
{
    nlohmann::json yaml;
    nlohmann::json json;
    std::string error;
    EXPECT_TRUE(Read(iYaml, yaml, error)) << error;
    EXPECT_TRUE(mtt_runtime::ParseJson(iJson, "m.json", json, error)) << error;
    return yaml == json && yaml.dump() == json.dump();
}

std::string ErrorOf(const std::string& iYaml)
{
    nlohmann::json document;
    std::string error;
    EXPECT_FALSE(Read(iYaml, document, error));
    return error;
}

}  // namespace

TEST(YamlModel, ScalarsKeysAnchorsAndMergesBecomeTheJsonDocumentWithTheSameContent)
{
    const struct {
        const char* yaml;
        const char* json;
    } cases[] = {
        // The core schema: nulls, booleans, integers, floats; the rest, and
        // anything quoted or in a block, is a string.
        {"[~, null, Null, NULL, '', !!null '']", "[null, null, null, null, \"\", null]"},
        {"[true, True, TRUE, false, FALSE, yes, no, on, off, y]",
         "[true, true, true, false, false, \"yes\", \"no\", \"on\", \"off\", \"y\"]"},
        {"[0, -7, +7, 007, 0o17, 0x1F, 18446744073709551615, 18446744073709551616, -9223372036854775809]",
         "[0, -7, 7, 7, 15, 31, 18446744073709551615, 18446744073709551616, -9223372036854775809]"},
        {"[1.5, 1.10, -.5, 1., 6e3, 1E-2, 1e-400]", "[1.5, 1.1, -0.5, 1.0, 6e3, 1E-2, 1e-400]"},
        {"['1', \"true\", !!str 12, ! 12, !!float 3, !!int 0x10, !!bool FALSE, 1_000, 0b1, .NaNx, 12:30]",
         "[\"1\", \"true\", \"12\", \"12\", 3.0, 16, false, \"1_000\", \"0b1\", \".NaNx\", \"12:30\"]"},
        {"a: |\n  line\n  two\nb: >-\n  folded\n  text\nc: 'it''s'\nd: \"tab\\there \\u00e9\"",
         R"({"a": "line\ntwo\n", "b": "folded text", "c": "it's", "d": "tab\there \u00e9"})"},
        // Keys are their text as written.
        {"{1: a, 1.0: b, ~: c, true: d, '': e, ? f}",
         R"({"1": "a", "1.0": "b", "~": "c", "true": "d", "": "e", "f": null})"},
        // Aliases copy; an anchored key lends its value.
        {"a: &x {b: [1, &y two]}\nc: *x\nd: *y\n&k 5: *k",
         R"({"a": {"b": [1, "two"]}, "c": {"b": [1, "two"]}, "d": "two", "5": 5})"},
        // An anchored key inside a node that is copied or merged whole.
        {"a: &x {&k b: 1}\nc: *x\nd: *k\n<<: {&i }", R"({"a": {"b": 1}, "c": {"b": 1}, "d": "b", "": null})"},
        // Merges: the mapping's own keys win, then the first merged mapping.
        {"base: &b {x: 1, y: 2}\nm: {<<: *b, y: 3}\nn: {y: 0, <<: [{z: 9, x: 8}, *b]}\no: {<<: {q: &q [1]}, r: *q}",
         R"({"base": {"x": 1, "y": 2}, "m": {"x": 1, "y": 3}, "n": {"x": 8, "y": 0, "z": 9}, "o": {"q": [1], "r": [1]}})"},
        // An alias as a key; a merge into a mapping of many keys, through an
        // anchored mapping that holds a merge itself.
        {"a: &n 7\n*n : x\nb: &b {<<: {z: 1}, k5: m}\nc: {"
         "k0: 0, k1: 1, k2: 2, k3: 3, k4: 4, k5: 5, k6: 6, k7: 7, k8: 8, k9: 9, k10: 10, k11: 11, k12: 12, "
         "k13: 13, k14: 14, k15: 15, k16: 16, <<: *b, k17: 17}",
         R"({"a": 7, "7": "x", "b": {"z": 1, "k5": "m"}, "c": {"k0": 0, "k1": 1, "k2": 2, "k3": 3, "k4": 4, "k5": 5,
             "k6": 6, "k7": 7, "k8": 8, "k9": 9, "k10": 10, "k11": 11, "k12": 12, "k13": 13, "k14": 14, "k15": 15,
             "k16": 16, "k17": 17, "z": 1}})"},
        // Merges within merges, and an anchored merge source used again.
        {"o: {<<: &m {q: &q [1]}, r: *q, s: *m}\np: {<<: {<<: {a: 1}, b: 2}, c: 3}\nq: {<<: [&x {a: 1}, {<<: *x, b: 2}]}",
         R"({"o": {"q": [1], "r": [1], "s": {"q": [1]}}, "p": {"a": 1, "b": 2, "c": 3}, "q": {"a": 1, "b": 2}})"},
        {"%YAML 1.2\n---\n!!map {a: !!seq [b]}\n...\n", R"({"a": ["b"]})"},
        {"---\n", "null"},
        {"{\"json\": [1, 2.5, {\"k\": \"v\"}], \"b\": null}", R"({"json": [1, 2.5, {"k": "v"}], "b": null})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.yaml);
        EXPECT_TRUE(ReadsAs(c.yaml, c.json));
    }
}

TEST(YamlModel, ListsOfOneSeveralAndThousandsOfElementsReadAndCopyWhole)
{
    for (size_t count : {size_t(1), size_t(3), size_t(5000)}) {
        SCOPED_TRACE(count);
        std::string yaml = "items: &items\n";
        for (size_t i = 0; i < count; ++i) yaml += "  - {name: n" + std::to_string(i) + ", <<: *common}\n";
        yaml = "common: &common {kind: item}\n" + yaml + "again: *items\n";
        std::string error;
        std::unique_ptr<mtt::Model> model = mtt::Model::FromText(yaml, "m.yaml", error);
        ASSERT_TRUE(model) << error;
        for (const char* list : {"items", "again"}) {
            MTLIModelObject* items = model->Root()->GetProperty(list);
            ASSERT_EQ(static_cast<int>(count), items->GetSize());
            MTLIModelObject* last = items->GetElement(static_cast<int>(count) - 1);
            EXPECT_EQ("n" + std::to_string(count - 1), ValueText(last->GetValue("name")));
            EXPECT_EQ("item", ValueText(last->GetValue("kind")));
            EXPECT_EQ("/" + std::string(list) + "/" + std::to_string(count - 1), model->PointerOf(last));
        }
    }
}

TEST(YamlModel, TheFormatComesFromTheNameUnlessGiven)
{
    EXPECT_EQ(mtt::ModelFormat::kYaml, mtt::Model::FormatOf("m.yaml"));
    EXPECT_EQ(mtt::ModelFormat::kYaml, mtt::Model::FormatOf("dir/M.YML"));
    for (const char* name : {"m.json", "<stdin>", "yaml", "m.yaml/json", "m.yaml.json", "-"}) {
        EXPECT_EQ(mtt::ModelFormat::kJson, mtt::Model::FormatOf(name)) << name;
    }
    std::string error;
    EXPECT_TRUE(mtt::Model::FromText("a: 1", "<stdin>", error, mtt::ModelFormat::kYaml)) << error;
    EXPECT_FALSE(mtt::Model::FromText("a: 1", "<stdin>", error));
    EXPECT_EQ(0u, error.find("<stdin>:1:1: error: "));
    EXPECT_FALSE(mtt::Model::FromText("[1,]", "m.yaml", error, mtt::ModelFormat::kJson));
    EXPECT_EQ("m.yaml:1:4: error: trailing ',' after the last element", error);
}

TEST(YamlModel, NestingAndAliasCopiesStopAtTheirLimits)
{
    const size_t depth = YamlReader::kMaxNesting;
    std::string error;
    nlohmann::json document;
    EXPECT_TRUE(Read(std::string(depth, '[') + std::string(depth, ']'), document, error));
    EXPECT_EQ("m.yaml:1:1001: error: nesting deeper than 1000 levels",
              ErrorOf(std::string(depth + 1, '[') + std::string(depth + 1, ']')));

    // 1,003 nodes written (a mapping, a sequence of 1,000, the sequence of
    // aliases) allow 110,030 copied: 109 copies of 1,001 nodes, not 110.
    const std::string anchored = "a: &a [" + Repeat("x", 1000, ",") + "]\nb: [";
    EXPECT_TRUE(Read(anchored + Repeat("*a", 109, ",") + "]", document, error)) << error;
    EXPECT_EQ(109u, document["b"].size());
    EXPECT_EQ(0u, ErrorOf(anchored + Repeat("*a", 110, ",") + "]")
                      .find("m.yaml:2:" + std::to_string(5 + 109 * 3) + ": error: aliases and merges would copy"));
}
