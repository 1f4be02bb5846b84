#include <gtest/gtest.h>

#include <string>

#include "JsonModel.h"
#include "MTLIModelObject.h"

namespace {

std::unique_ptr<JsonModel> Load(const std::string& iText)
{
    std::string error;
    std::unique_ptr<JsonModel> model = JsonModel::FromText(iText, "m.json", error);
    EXPECT_TRUE(model) << error;
    return model;
}

std::string Text(MTTString iText)
{
    return iText.ConvertToChar();
}

}  // namespace

TEST(JsonModel, ScalarKindsAndTextsAgreeForOwnTextAndMemberText)
{
    struct Case {
        const char* json;
        int kind;
        const char* text;
    } cases[] = {
        {"\"a \\\"b\\\" \\\\ \\u00e9\"", 2, "a \"b\" \\ \xc3\xa9"},
        {"42", 2, "42"},
        {"-7", 2, "-7"},
        {"18446744073709551615", 2, "18446744073709551615"},
        {"1.5", 2, "1.5"},
        {"1e10", 2, "10000000000.0"},
        {"1E2", 2, "100.0"},
        {"true", 2, "true"},
        {"false", 2, "false"},
        {"null", 2, ""},
        {"[1]", 1, ""},
        {"{\"x\":1}", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        auto model = Load(std::string("{\"v\":") + c.json + "}");
        MTLIModelObject* value = model->Root()->GetProperty("v");
        ASSERT_NE(nullptr, value);
        EXPECT_EQ(c.kind, value->GetKind());
        EXPECT_EQ(c.text, Text(value->GetValue(nullptr)));
        EXPECT_EQ(c.text, Text(model->Root()->GetValue("v")));
        // A scalar has no members, and a root scalar reads like a member.
        EXPECT_EQ(nullptr, value->GetProperty("v"));
        EXPECT_EQ(c.text, Text(Load(c.json)->Root()->GetValue(nullptr)));
    }
}

TEST(JsonModel, PropertiesAndElementsAreStableObjectsWithNullForWhatIsMissing)
{
    auto model = Load(R"({"classes":[{"name":"A"},{"name":"B"}],"n":"x","o":{}})");
    MTLIModelObject* root = model->Root();
    EXPECT_EQ(0, root->GetKind());
    EXPECT_EQ(root, model->Root());
    MTLIModelObject* classes = root->GetProperty("classes");
    ASSERT_NE(nullptr, classes);
    EXPECT_EQ(classes, root->GetProperty("classes"));
    EXPECT_EQ(2, classes->GetSize());
    EXPECT_EQ("B", Text(classes->GetElement(1)->GetValue("name")));
    EXPECT_EQ(classes->GetElement(0), classes->GetElement(0));
    EXPECT_EQ(nullptr, classes->GetElement(2));
    EXPECT_EQ(nullptr, classes->GetElement(-1));
    EXPECT_EQ(classes->GetElement(0), classes->GetProperty("0"));  // an index, the same object
    EXPECT_EQ(nullptr, root->GetProperty("missing"));
    EXPECT_EQ(0, root->GetSize());
    EXPECT_EQ(nullptr, root->GetElement(0));
    // Non-scalar or missing members, and names on non-objects, read as "".
    EXPECT_EQ("", Text(root->GetValue("classes")));
    EXPECT_EQ("", Text(root->GetValue("o")));
    EXPECT_EQ("", Text(root->GetValue("missing")));
    EXPECT_EQ("", Text(classes->GetValue("name")));
    EXPECT_EQ("", Text(root->GetValue(nullptr)));
}

TEST(JsonModel, PointersAreRfc6901WithEscapesAndAMarkerForForeignObjects)
{
    auto model = Load(R"({"a/b":{"m~n":[0,{"":true}]}})");
    MTLIModelObject* root = model->Root();
    MTLIModelObject* inner = root->GetProperty("\"a/b\"")->GetProperty("\"m~n\"");
    EXPECT_EQ("", model->PointerOf(root));
    EXPECT_EQ("/a~1b/m~0n", model->PointerOf(inner));
    EXPECT_EQ("/a~1b/m~0n/1/", model->PointerOf(inner->GetElement(1)->GetProperty("\"\"")));

    auto other = Load("[1]");
    EXPECT_EQ(JsonModel::kUnknownPointer, model->PointerOf(other->Root()));
    EXPECT_EQ(JsonModel::kUnknownPointer, model->PointerOf(nullptr));
}

// Objects find their model from where they lie: every block of a large
// model, and the scalars made on request, answer for their own model only.
TEST(JsonModel, ObjectsOfEveryBlockAndThoseMadeOnRequestKnowTheirModel)
{
    for (int count : {1, 5, 30000}) {
        std::string json = "[";
        for (int i = 0; i < count; ++i) json += std::string(i > 0 ? "," : "") + "{\"n\":" + std::to_string(i) + "}";
        auto model = Load(json + "]");
        auto other = Load(json + "]");
        MTLIModelObject* root = model->Root();
        ASSERT_EQ(count, root->GetSize());
        for (int i = 0; i < count; i += 1 + count / 1000) {
            MTLIModelObject* element = root->GetElement(i);
            MTLIModelObject* number = element->GetProperty("n");
            ASSERT_NE(nullptr, number);
            EXPECT_EQ("/" + std::to_string(i), model->PointerOf(element));
            EXPECT_EQ("/" + std::to_string(i) + "/n", model->PointerOf(number));
            EXPECT_EQ(std::to_string(i), Text(number->GetValue(nullptr)));
            EXPECT_EQ(JsonModel::kUnknownPointer, other->PointerOf(element));
            EXPECT_EQ(JsonModel::kUnknownPointer, other->PointerOf(number));
        }
    }
}

// Malformed and unreadable models: the model-* cases of the mttgen golden files.
TEST(JsonModel, DeepNestingNeitherOverflowsTheStackNorLimitsTheDepth)
{
    const size_t depth = 100000;
    auto model = Load(std::string(depth, '[') + "\"deep\"" + std::string(depth, ']'));
    MTLIModelObject* object = model->Root();
    for (size_t i = 0; i < depth; ++i) object = object->GetElement(0);
    EXPECT_EQ("deep", Text(object->GetValue(nullptr)));
    EXPECT_EQ(depth * 2, model->PointerOf(object).size());

    std::string error;
    EXPECT_EQ(nullptr, JsonModel::FromText(std::string(depth, '{'), "m.json", error));
    EXPECT_EQ("m.json:1:2: error: expected a member name in double quotes, found '{'", error);
    EXPECT_EQ(nullptr, JsonModel::FromText(std::string(depth, '['), "m.json", error));
    EXPECT_EQ("m.json:1:100001: error: unexpected end of the input: the '[' at 1:100000 is not closed", error);
}
