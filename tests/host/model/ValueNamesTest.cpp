// Value references, path elements and transforms, asked of the JSON model
// (immediate evaluation) and of the generated code's runtime (late
// evaluation) with the same names: both must give the expected text.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonModel.h"
#include "JsonModelObject.h"
#include "MTLIModelObject.h"
#include "mtt_runtime.h"

namespace {

struct BothModels {
    explicit BothModels(const std::string& iJson)
    {
        std::string error;
        model = JsonModel::FromText(iJson, "m.json", error);
        EXPECT_TRUE(model && runtime.LoadText(iJson, "m.json", error)) << error;
    }

    // The object at iPath, one GetProperty per element as the library walks.
    MTLIModelObject* Walk(const std::string& iPath)
    {
        MTLIModelObject* object = model->Root();
        for (size_t start = 0; object != nullptr && start < iPath.size();) {
            size_t end = mtt_runtime::PathElement::End(iPath, start);
            object = object->GetProperty(MTTString(iPath.substr(start, end - start).c_str()));
            start = end + 1;
        }
        return object;
    }

    // Null when the path reaches nothing; fails when the two disagree.
    const char* Check(const std::string& iPath, const std::string& iRef, const char* iExpected)
    {
        SCOPED_TRACE("path " + iPath + ", ref " + iRef);
        MTLIModelObject* object = Walk(iPath);
        mtt_runtime::Text late = runtime.Value(iPath, iRef);
        EXPECT_EQ(iExpected != nullptr, object != nullptr);
        EXPECT_EQ(iExpected != nullptr, static_cast<bool>(late));
        if (iExpected == nullptr || object == nullptr || !late) return nullptr;
        EXPECT_EQ(iExpected, std::string(object->GetValue(iRef.c_str()).ConvertToChar()));
        EXPECT_EQ(iExpected, late.Str());
        return iExpected;
    }

    std::unique_ptr<JsonModel> model;
    mtt_runtime::Model runtime;
};

}  // namespace

TEST(ValueNames, TransformsGiveTheSameTextsInBothModes)
{
    const char* const inputs[] = {
        "HTTPServer",
        "utf8Name x86_64 already_snake-case.name",
        "  caf\xc3\xa9"
        "Bar IPv6  ",
        "it's \"q\" \\ <a&b>\n\t\r\x01\x7f??"
        "/",
        "\xc3\xa9\xf0\x9f\x98\x80",
        "",
        "a-b/c.d=1",
    };
    struct Case {
        int input;
        const char* transforms;
        const char* expected;
    } cases[] = {
        {0, "upper", "HTTPSERVER"},
        {0, "lower", "httpserver"},
        {0, "camel", "httpServer"},
        {0, "pascal", "HttpServer"},
        {0, "snake", "http_server"},
        {0, "kebab", "http-server"},
        {0, "screaming", "HTTP_SERVER"},
        {1, "camel", "utf8NameX8664AlreadySnakeCaseName"},
        {1, "pascal", "Utf8NameX8664AlreadySnakeCaseName"},
        {1, "screaming", "UTF8_NAME_X86_64_ALREADY_SNAKE_CASE_NAME"},
        {1, "kebab", "utf8-name-x86-64-already-snake-case-name"},
        {2, "snake", "caf\xc3\xa9_bar_i_pv6"},
        {2, "pascal",
         "Caf\xc3\xa9"
         "BarIPv6"},
        {2, "upper",
         "  CAF\xc3\xa9"
         "BAR IPV6  "},
        {2, "capitalize",
         "  caf\xc3\xa9"
         "Bar IPv6  "},
        {2, "trim|capitalize",
         "Caf\xc3\xa9"
         "Bar IPv6"},
        {3, "c", "it's \\\"q\\\" \\\\ <a&b>\\n\\t\\r\\001\\177?\\?/"},
        {3, "java",
         "it's \\\"q\\\" \\\\ <a&b>\\n\\t\\r\\001\\177??"
         "/"},
        {3, "json",
         "it's \\\"q\\\" \\\\ <a&b>\\n\\t\\r\\u0001\x7f??"
         "/"},
        {3, "xml",
         "it's \"q\" \\ &lt;a&amp;b&gt;\n\t\r\x01\x7f??"
         "/"},
        {3, "xmlattr",
         "it&#39;s &quot;q&quot; \\ &lt;a&amp;b&gt;&#10;&#9;&#13;\x01\x7f??"
         "/"},
        {3, "sql",
         "it''s \"q\" \\ <a&b>\n\t\r\x01\x7f??"
         "/"},
        {3, "shell",
         "'it'\\''s \"q\" \\ <a&b>\n\t\r\x01\x7f??"
         "/'"},
        {4, "java", "\\u00e9\\ud83d\\ude00"},
        {4, "c", "\xc3\xa9\xf0\x9f\x98\x80"},
        {4, "shell", "'\xc3\xa9\xf0\x9f\x98\x80'"},
        {5, "camel", ""},
        {5, "shell", "''"},
        {6, "shell", "a-b/c.d=1"},
        {6, "snake|upper|kebab", "a-b-c-d-1"},
    };
    nlohmann::json document = nlohmann::json::object();
    for (size_t i = 0; i < sizeof inputs / sizeof inputs[0]; ++i) document["v" + std::to_string(i)] = inputs[i];
    BothModels both(document.dump());
    for (const Case& c : cases) both.Check("", "v" + std::to_string(c.input) + "|" + c.transforms, c.expected);
}

TEST(ValueNames, MembersPathsAndLoopPositionsAgreeInBothModes)
{
    BothModels both(R"({"name": "Shop", "first name": "Ann", "$ref": "#/x", "a/b": "slash", "q\"uote": "Q",
        "@index": "member", "0": "zero", "..": "dots", "tags": ["red", "green", "blue"],
        "classes": [{"name": "Order", "attributes": [{"name": "id"}, {"name": "total"}], "UserCode": "  kept\n"},
                    {"name": "Item", "attributes": [], "UserCode": {"x": 1}}],
        "matrix": [[1, 2], [3]]})");
    struct Case {
        const char* path;
        const char* ref;
        const char* expected;  // null: the path reaches nothing
    } cases[] = {
        // Members, quoted members, and what is not a reference at all.
        {"", "name", "Shop"},
        {"", "\"first name\"", "Ann"},
        {"", "\"$ref\"", "#/x"},
        {"", "\"a/b\"", "slash"},
        {"", "\"q\\\"uote\"", "Q"},
        {"", "\"@index\"", "member"},
        {"", "0", "zero"},
        {"", "..", "dots"},
        {"", "name|upper|kebab", "shop"},
        {"", "", ""},
        {"", "first name", ""},
        {"", "name|nosuch", ""},
        {"", "name|", ""},
        {"", "\"open", ""},
        {"", "@bogus", ""},
        {"", "@index", ""},
        {"", "tags", ""},
        // ".", loop positions, indexes and quoted path elements.
        {"tags/1", ".", "green"},
        {"tags/1", "@index", "1"},
        {"tags/1", "@number", "2"},
        {"tags/1", "@first", "false"},
        {"tags/0", "@first|upper", "TRUE"},
        {"tags/2", "@last", "true"},
        {"tags/0", "@count", "3"},
        {"classes/0/attributes/1", "@index", "1"},
        {"matrix/0/1", ".", "2"},
        {"\"first name\"", ".", "Ann"},
        {"\"a/b\"", ".", "slash"},
        {"0", ".", "zero"},
        {"tags/3", "", nullptr},
        {"tags/01", "", nullptr},
        {"tags/\"0\"", "", nullptr},
        {"classes/x", "", nullptr},
        {"tags//0", "", nullptr},
        {".", "", nullptr},
        // "..": the nearest enclosing object, lists skipped.
        {"classes/0/attributes/1/..", "name", "Order"},
        {"classes/1/..", "name", "Shop"},
        {"matrix/0/1/..", "name", "Shop"},
        {"name/..", "name", "Shop"},
        {"..", "", nullptr},
        // UserCode: a scalar member, else the empty text; quoted, the member as it is.
        {"classes/0/UserCode", ".", "  kept\n"},
        {"classes/0", "UserCode|trim", "kept"},
        {"classes/1/UserCode", ".", ""},
        {"classes/1", "UserCode", ""},
        {"classes/1/\"UserCode\"", "x", "1"},
        {"UserCode", ".", ""},
        {"tags/UserCode", "", nullptr},
    };
    for (const Case& c : cases) both.Check(c.path, c.ref, c.expected);

    // Inside a loop the runtime takes the position from the loop itself.
    for (int i = 0; i < both.runtime.Size("tags"); ++i) {
        both.runtime.Enter("tags", i);
        MTLIModelObject* tag = both.model->Root()->GetProperty("tags")->GetElement(i);
        for (const char* ref : {".", "@index", "@number", "@first", "@last", "@count"}) {
            EXPECT_EQ(tag->GetValue(ref).ConvertToChar(), both.runtime.Value("", ref)) << ref;
        }
        EXPECT_EQ("Shop", both.runtime.Value("..", "name"));
        both.runtime.Leave();
    }
}

TEST(ValueNames, UserCodeComesFromTheSourceThenTheMemberAndStaysOneObject)
{
    std::string error;
    auto model =
        JsonModel::FromText(R"({"classes": [{"UserCode": "member"}, {"UserCode": "member"}, {}]})", "m.json", error);
    model->SetUserCodeSource([](const JsonModelObject& iOwner, std::string& oText) {
        oText = "kept for " + iOwner.Token();
        return iOwner.Token() == "0";
    });
    MTLIModelObject* classes = model->Root()->GetProperty("classes");
    const char* expected[] = {"kept for 0", "member", ""};
    for (int i = 0; i < 3; ++i) {
        MTLIModelObject* owner = classes->GetElement(i);
        MTLIModelObject* userCode = owner->GetProperty("UserCode");
        ASSERT_NE(nullptr, userCode);
        EXPECT_EQ(2, userCode->GetKind());
        EXPECT_EQ(userCode, owner->GetProperty("UserCode"));
        EXPECT_STREQ(expected[i], userCode->GetValue(nullptr).ConvertToChar());
        EXPECT_STREQ(expected[i], owner->GetValue("UserCode").ConvertToChar());
        EXPECT_EQ("/classes/" + std::to_string(i) + "/UserCode", model->PointerOf(userCode));
    }
    EXPECT_EQ(nullptr, classes->GetProperty("UserCode"));
}
