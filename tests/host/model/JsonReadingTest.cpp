// JSON text is read by a fast reader, and again by the careful reader of
// mtt_json_builder.h when the fast one refuses it: every text must give the
// model the careful reader's document, or its error, to the byte. Checked on
// awkward texts and on thousands of damaged ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "CarefulJsonEvents.h"
#include "JsonEventPipe.h"
#include "JsonModel.h"
#include "JsonModelBuilder.h"
#include "JsonModelObject.h"
#include "JsonTextEvents.h"
#include "JsonTextReader.h"
#include "TextWindow.h"
#include "MTLIModelObject.h"
#include "mtt_json_builder.h"

namespace {

void WriteFile(const std::string& iPath, const std::string& iText)
{
    std::FILE* file = std::fopen(iPath.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(iText.data(), 1, iText.size(), file);
    std::fclose(file);
}

std::string Quoted(const std::string& iName)
{
    std::string quoted = "\"";
    for (const char c : iName) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string PointerToken(const std::string& iName)
{
    std::string token;
    for (const char c : iName) token += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
    return token;
}

// The model's objects against the careful reader's document, node by node:
// kinds, texts, sizes, every member found by its name, pointers.
void ExpectSameDocument(JsonModel& ioModel, const nlohmann::json& iExpected)
{
    struct Pending {
        const nlohmann::json* node;
        MTLIModelObject* object;
        std::string pointer;
    };
    std::vector<Pending> pending{{&iExpected, ioModel.Root(), ""}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const nlohmann::json& node = *next.node;
        ASSERT_NE(nullptr, next.object) << next.pointer;
        EXPECT_EQ(next.pointer, ioModel.PointerOf(next.object));
        EXPECT_EQ(node.is_array() ? 1 : node.is_object() ? 0 : 2, next.object->GetKind()) << next.pointer;
        EXPECT_EQ(mtt_runtime::ScalarText(node), next.object->GetValue(nullptr).ConvertToChar()) << next.pointer;
        if (node.is_array()) {
            ASSERT_EQ(static_cast<int>(node.size()), next.object->GetSize()) << next.pointer;
            for (size_t i = 0; i < node.size(); ++i) {
                pending.push_back(
                    {&node[i], next.object->GetElement(static_cast<int>(i)), next.pointer + "/" + std::to_string(i)});
            }
        } else if (node.is_object()) {
            for (auto member = node.begin(); member != node.end(); ++member) {
                const std::string name = Quoted(member.key());
                EXPECT_EQ(mtt_runtime::ScalarText(member.value()), next.object->GetValue(name.c_str()).ConvertToChar());
                pending.push_back({&member.value(), next.object->GetProperty(name.c_str()),
                                   next.pointer + "/" + PointerToken(member.key())});
            }
        }
    }
}

// What a reader other than the model's hears, as one line of tokens.
struct HeardTokens final : JsonTextEvents {
    std::string heard;
    int open = 0;
    int values = 0;
    void OpenArray() override { Value("["), ++open; }
    void OpenObject() override { Value("{"), ++open; }
    void Key(std::string_view iName) override { Hear("k:" + std::string(iName)); }
    void String(std::string_view iText) override { Value("s:" + std::string(iText)); }
    void Number(std::string_view iText) override { Value("n:" + std::string(iText)); }
    void Boolean(bool iValue) override { Value(iValue ? "true" : "false"); }
    void Null() override { Value("null"); }
    bool Close() override
    {
        Hear("end");
        return --open >= 0;
    }
    void Hear(const std::string& iToken) { heard += iToken + " "; }
    void Value(const std::string& iToken) { Hear(iToken), ++values; }
};

// A model's document told to ioEvents as a reader of its text tells it
// (the explain page's table reads it so); oSlots gets each value's slot.
// False when ioEvents refuses a Close.
bool Report(const JsonModel& iModel, JsonTextEvents& ioEvents, std::vector<uint32_t>* oSlots)
{
    struct Teller {
        const JsonModel& model;
        JsonTextEvents& events;
        std::vector<uint32_t>* slots;
        bool closed = true;

        void Value(uint32_t iSlot, uint32_t iName, JsonModel::Kind iKind, std::string_view iText)
        {
            if (slots != nullptr) slots->push_back(iSlot);
            if (iName != JsonModel::kNoName) events.Key(model.MemberName(iName));
            switch (iKind) {
            case JsonModel::kNull: events.Null(); break;
            case JsonModel::kFalse: events.Boolean(false); break;
            case JsonModel::kTrue: events.Boolean(true); break;
            case JsonModel::kNumber: events.Number(iText); break;
            case JsonModel::kString: events.String(iText); break;
            case JsonModel::kArray: events.OpenArray(); break;
            case JsonModel::kObject: events.OpenObject(); break;
            }
        }
        void Close() { closed = events.Close() && closed; }
    } teller{iModel, ioEvents, oSlots};
    iModel.Visit(teller);
    return teller.closed;
}

// FromText agrees with the careful reader on iText: the same document, or
// the same error.
void ExpectReadAsCarefully(const std::string& iText)
{
    SCOPED_TRACE(iText);
    nlohmann::json expected;
    std::string expectedError;
    const bool valid = mtt_runtime::ParseJson(iText, "m.json", expected, expectedError);
    std::string error;
    std::unique_ptr<JsonModel> model = JsonModel::FromText(iText, "m.json", error);
    ASSERT_EQ(valid, model != nullptr) << error;
    if (!valid) {
        EXPECT_EQ(expectedError, error);
        return;
    }
    ExpectSameDocument(*model, expected);
    // The document as the model reports it again (the explain page reads
    // it so), in the text's order.
    HeardTokens careful;
    ASSERT_TRUE(CarefulJsonEvents::Hear(iText, careful));
    HeardTokens reported;
    EXPECT_TRUE(Report(*model, reported, nullptr));
    EXPECT_EQ(careful.heard, reported.heard);
}

}  // namespace

TEST(JsonReading, AwkwardTextsReadAsTheCarefulReaderReadsThem)
{
    std::string manyMembers = "{";
    for (int i = 19; i >= 0; --i) manyMembers += "\"m" + std::to_string(i) + "\": " + std::to_string(i) + ",";
    manyMembers += "\"\": [], \"a/b~c\": {}}";
    const std::string texts[] = {
        // Strings and escapes, names among them.
        R"({"a \"b\" \\ \/ \b\f\n\r\t": "\u00e9\ud83d\ude00 caf\u00c3 \u20ac\u9fa5\uffe5", "": "", "\u0041": "x"})",
        "[\"caf\xc3\xa9 \xf0\x9f\x98\x80\", \"tab\\there\"]",
        // Numbers as the careful reader writes them back.
        "[0, -0, 1, -7, 42.0, 1.5, -0.25, 1e10, 1E2, 1e-2, 1e+20, 1e-400, 0.1, 1.7976931348623157e308]",
        "[9223372036854775807, -9223372036854775808, 18446744073709551615, 18446744073709551616, "
        "-9223372036854775809, 123456789012345678901234567890]",
        "[true, false, null, [], {}, [[]], [{}], {\"a\": {\"b\": {\"c\": [null]}}}]",
        // Records: the same names in the same order, in another order, fewer, more.
        R"({"list": [{"name": "a", "type": "int"}, {"name": "b", "type": "long"}, {"type": "x", "name": "c"},
                     {"name": "d"}, {"name": "e", "type": "f", "more": 1}, {}, {"name": "g", "type": "h"}]})",
        manyMembers,
        // Scalars as the whole document, whitespace, a byte order mark.
        "\"alone\"", "12", "null", " \t\r\n[ 1 , 2 ] \n", "\xef\xbb\xbf{\"bom\": 1}",
        // Nesting deeper than the fast reader goes.
        std::string(1500, '[') + "1" + std::string(1500, ']'),
        // Malformed: each is worded by the careful reader.
        "", "   ", "[1,]", "{\"a\": 1,}", "[1 2]", "{\"a\" 1}", "{\"a\": 1 \"b\": 2}", "[01]", "[1.]", "[-]", "[.5]",
        "[+1]", "[1e]", "[1e400]", "[-1e400]", "[nul]", "[tru]", "[falsey]", "[true false]", "[1] x", "[1]]", "{", "[",
        "[\"open", "{\"a\": }", "{a: 1}", "{'a': 1}", "['a']", "// c\n[1]", "/* c */ [1]", "[\"\\x\"]", "[\"\\u12\"]",
        "[\"\\u0000\"]", "{\"\\u0000\": 1}", "{\"a\": 1, \"a\": 2}", "{\"x\": {\"a\": 1, \"b\": 2, \"a\": 3}}",
        "[{\"a\": 1, \"b\": 2}, {\"a\": 1, \"a\": 2}]", "[\"\\ud800\"]", "[\"\\udc00\"]", "[\"\\ud800\\u0041\"]",
        "[\"\x01\"]", "[\"a\tb\"]", "[\"\xff\"]", "[\"\xed\xa0\x80\"]", "[\"\xc3\"]", "[1]\xc3\xa9",
        std::string("[1]\0", 4), std::string("[\"a\0b\"]", 7), "[1,,2]", "[,1]", "{,}", "{\"a\":1}}", "[}", "{]",
        "\"\\u00e9", "[1e5x]", "[\"a\": 1]", "{\"a\": 1: 2}", "[\"a\" \"b\"]", "{\"a\": \"b\" \"c\": 1}"};
    for (const std::string& text : texts) ExpectReadAsCarefully(text);
}

TEST(JsonReading, DamagedTextsReadAsTheCarefulReaderReadsThem)
{
    const std::string seed =
        R"({"classes": [{"name": "Order", "id": 12, "attributes": [{"name": "id", "type": "int", "key": true},
           {"name": "total", "type": "double", "key": false, "scale": -2.5e3}], "UserCode": "kept\n"},
           {"name": "Caf\u00e9 \"x\"", "attributes": [], "tags": ["a", "b", null, 18446744073709551615]}]})";
    const char alphabet[] = "{}[]:,\"\\ 0-1.eE+tfnu\x01\xc3\xa9";
    std::mt19937 random(20240611u);
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        std::string text = seed;
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const size_t at = random() % text.size();
            const char c = alphabet[random() % (sizeof alphabet - 1)];
            switch (random() % 3) {
            case 0: text[at] = c; break;
            case 1: text.insert(at, 1, c); break;
            default: text.erase(at, 1); break;
            }
        }
        ExpectReadAsCarefully(text);
    }
}

// A regular file is read at its size; a pipe has none, and its buffer
// grows as the text comes: past the first 64 KiB with thousands of records.
TEST(JsonReading, AFileOrAPipeReadsAsItsText)
{
    const auto records = [](int iCount) {
        std::string text = "[";
        for (int i = 0; i < iCount; ++i) {
            text += (i ? "," : "") + std::string("{\"name\": \"C") + std::to_string(i) +
                    "\", \"n\": " + std::to_string(i) + "}";
        }
        return text + "]";
    };
    const std::string path = std::string(MTT_BINARY_DIR) + "/json-reading-test.json";
    for (const std::string& text :
         {std::string(R"({"a": [1, "two", {"b": null}]})"), records(1), records(5), records(20000)}) {
        ASSERT_NO_FATAL_FAILURE(WriteFile(path, text));
        std::string error;
        std::unique_ptr<JsonModel> model = JsonModel::LoadFile(path, error);
        std::remove(path.c_str());
        ASSERT_TRUE(model) << error;
        ExpectSameDocument(*model, nlohmann::json::parse(text));

        int ends[2];
        ASSERT_EQ(0, pipe(ends));
        std::thread writer([&text, &ends] {
            for (size_t done = 0; done < text.size();) {
                const ssize_t wrote = write(ends[1], text.data() + done, text.size() - done);
                if (wrote <= 0) break;
                done += static_cast<size_t>(wrote);
            }
            close(ends[1]);
        });
        model = JsonModel::LoadFile("/dev/fd/" + std::to_string(ends[0]), error);
        writer.join();
        close(ends[0]);
        ASSERT_TRUE(model) << error;
        ExpectSameDocument(*model, nlohmann::json::parse(text));
    }
}

// A file is read in chunks: read from memory in chunks of 1 to 9 bytes,
// every token is cut at each of its bytes, and must be heard as in the
// whole text; a token longer than the buffer grows it. In a file of
// several real chunks, a fault past the first one is worded by the careful
// reader with its position.
TEST(JsonReading, AFileReadInChunksIsHeardAsTheWholeText)
{
    const std::string texts[] = {
        R"({"caf\u00e9 \ud83d\ude00 \"q\" \\n": ["caf\u00c3", -12.5e-3, 0, -0, 18446744073709551615, 1E2]})",
        "[\"caf\xc3\xa9 \xf0\x9f\x98\x80\", true, false, null, {}, [], {\"a\": {\"b\": [1, [2]]}}]",
        " \r\n [ 1 ,\t2 ] \n", "{\"long\": \"" + std::string(100, 'y') + "\\t\", \"after\": 12345678901234}"};
    for (const std::string& text : texts) {
        HeardTokens whole;
        ASSERT_TRUE(JsonTextReader::Read(text.data(), text.size(), whole)) << text;
        for (std::size_t chunk = 1; chunk <= 9; ++chunk) {
            std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
            ASSERT_NE(nullptr, file);
            HeardTokens chunked;
            EXPECT_TRUE(JsonTextReader::Read(file, chunked, chunk)) << chunk << ": " << text;
            std::fclose(file);
            EXPECT_EQ(whole.heard, chunked.heard) << chunk << ": " << text;
        }
    }
    const std::string path = std::string(MTT_BINARY_DIR) + "/json-chunks-test.json";
    std::string text = "[\n";
    while (text.size() < 3 * TextWindow::kChunk) text += "  {\"name\": \"a\", \"n\": 1},\n";
    text += "  {\"name\": \"x\\u0000\"}\n]";
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, text));
    std::string error;
    EXPECT_EQ(nullptr, JsonModel::LoadFile(path, error));
    std::remove(path.c_str());
    std::string expected;
    nlohmann::json document;
    EXPECT_FALSE(mtt_runtime::ParseJson(text, path, document, expected));
    EXPECT_EQ(expected, error);
}

namespace {

bool ReadFast(const std::string& iText, HeardTokens& oTokens)
{
    return JsonTextReader::Read(iText.data(), iText.size(), oTokens);
}

}  // namespace

TEST(JsonReading, OtherListenersHearTheTextInOrderOrAreRefusedIt)
{
    std::string many = "[";
    for (int i = 0; i < 3000; ++i)
        many += (i ? "," : "") + std::string("{\"i\":") + std::to_string(i) + ",\"s\":\"x\"}";
    for (const std::string& text :
         {std::string(R"({"b": [true, false, null], "a": {"k": "v\"q"}, "n": [0, -7, 2.50, 1e3]})"),
          std::string("[[]]"), many + "]"}) {
        HeardTokens fast;
        HeardTokens careful;
        ASSERT_TRUE(ReadFast(text, fast)) << text.substr(0, 40);
        ASSERT_TRUE(CarefulJsonEvents::Hear(text, careful));
        EXPECT_EQ(careful.heard, fast.heard) << text.substr(0, 40);
        // A model read from the text reports it again, value by value.
        std::string error;
        const std::unique_ptr<JsonModel> model = JsonModel::FromText(text, "m.json", error);
        ASSERT_TRUE(model) << error;
        HeardTokens reported;
        std::vector<uint32_t> slots;
        EXPECT_TRUE(Report(*model, reported, &slots));
        EXPECT_EQ(careful.heard, reported.heard) << text.substr(0, 40);
        EXPECT_EQ(static_cast<size_t>(reported.values), slots.size());
    }
    // What only the careful reader takes, and what nobody takes.
    const std::string deep = std::string(1100, '[') + std::string(1100, ']');
    for (const std::string& text :
         {std::string(R"({"a": "x\u0000"})"), std::string(R"([123456789012345678901234567890])"), std::string("7"),
          deep, std::string("[1] [2]"), std::string("{\"a\": }")}) {
        HeardTokens fast;
        EXPECT_FALSE(ReadFast(text, fast)) << text.substr(0, 40);
    }
}

namespace {

// What a model holds, value by value in the text's order.
std::string Reported(JsonModel& ioModel)
{
    HeardTokens reported;
    EXPECT_TRUE(Report(ioModel, reported, nullptr));
    return reported.heard;
}

}  // namespace

// A file of more than one read is parsed on another thread while the model
// is built from what it reads: the same model as a text read alone, and
// the same error. A name given twice halfway stops the builder while the
// reader, mostly waiting for it, has half the file to go; a fault at the
// end stops the reader while the builder waits for it: neither may hang.
TEST(JsonReading, ALargeFileIsParsedBesideTheModelBuiltFromIt)
{
    const std::string path = std::string(MTT_BINARY_DIR) + "/json-large-test";
    std::string json = "[\n";
    std::string yaml = "classes:\n";
    const size_t kSize = TextWindow::kChunk + (size_t(16) << 10);  // more than one read: the reader gets a thread
    for (int i = 0; json.size() < kSize || yaml.size() < kSize; ++i) {
        const std::string n = std::to_string(i);
        json += "{\"name\": \"C" + n + " caf\\u00e9 \\\"q\\\"\", \"n\": " + n +
                ".5, \"key\": " + (i % 3 ? "true" : "null") + ", \"tags\": [" + n + ", \"t\\n\"]},\n";
        yaml += "  - name: C" + n + "\n    n: " + n + "\n    tags:\n      - a\n      - " + n + "\n";
    }
    const std::string longText(100000, 'x');  // longer than what goes to the builder at once
    const std::string good = json + "\"" + longText + "\"]";
    ASSERT_NO_FATAL_FAILURE(WriteFile(path + ".json", good));
    std::string error;
    std::unique_ptr<JsonModel> model = JsonModel::LoadFile(path + ".json", error);
    ASSERT_TRUE(model) << error;
    EXPECT_EQ(Reported(*JsonModel::FromText(good, "m.json", error)), Reported(*model));
    for (const std::string& text : {json + "{\"a\": 1, \"a\": 2},\n" + json + "1]", json + "1,]"}) {
        SCOPED_TRACE(text.substr(0, 20) + " ... " + text.substr(text.size() - 20));
        ASSERT_NO_FATAL_FAILURE(WriteFile(path + ".json", text));
        EXPECT_EQ(nullptr, JsonModel::LoadFile(path + ".json", error));
        std::string expected;
        nlohmann::json document;
        EXPECT_FALSE(mtt_runtime::ParseJson(text, path + ".json", document, expected));
        EXPECT_EQ(expected, error);
    }
    // A plain scalar the reader's side does not take (a number beyond
    // JSON's) goes to the general reader, as the whole text would.
    for (const char* last : {"last:\n  a: 1\n", "last:\n  a: 1e400\n", "last:\n  a: 0x1F\n"}) {
        const std::string text = yaml + last;
        SCOPED_TRACE(last);
        ASSERT_NO_FATAL_FAILURE(WriteFile(path + ".yaml", text));
        std::string expectedError;
        const std::unique_ptr<JsonModel> expected = JsonModel::FromYamlText(text, path + ".yaml", expectedError);
        model = JsonModel::LoadYamlFile(path + ".yaml", error);
        ASSERT_EQ(expected == nullptr, model == nullptr) << error;
        if (expected) {
            EXPECT_EQ(Reported(*expected), Reported(*model));
        } else {
            EXPECT_EQ(expectedError, error);
        }
    }
    std::remove((path + ".json").c_str());
    std::remove((path + ".yaml").c_str());
}

namespace {

// Events of a document of iCount records, one of them a text longer than
// any batch, heard by iEvents. Most records have the same names in the
// same order; some have them in another order, fewer or more.
void WriteRecords(JsonTextEvents& ioEvents, int iCount)
{
    ioEvents.OpenArray();
    for (int i = 0; i < iCount; ++i) {
        ioEvents.OpenObject();
        const auto name = [&] {
            ioEvents.Key("name");
            ioEvents.String(i == iCount / 2 ? std::string(70000, 'x') : "C" + std::to_string(i));
        };
        const auto n = [&] {
            ioEvents.Key("n");
            ioEvents.Number(std::to_string(i));
        };
        if (i % 7 == 3) {
            n();
            name();
        } else {
            name();
            n();
        }
        if (i % 11 != 5) {
            ioEvents.Key("on");
            ioEvents.Boolean(i % 2 == 0);
        }
        ioEvents.Key("none");
        ioEvents.Null();
        // Texts of every short length, as they are copied in words.
        ioEvents.Key("description");
        ioEvents.String(std::string("abcdefghijklmnopqrstu", static_cast<std::size_t>(i % 22)));
        if (i % 13 == 4) {
            ioEvents.Key("more");
            ioEvents.OpenArray();
            ioEvents.OpenObject();
            ioEvents.Key("n");
            ioEvents.Null();
            ioEvents.Close();
            ioEvents.Close();
        }
        ioEvents.Close();
    }
    ioEvents.Close();
}

// A builder needs a model: one read from a text, whose root the document
// built replaces.
std::unique_ptr<JsonModel> Blank()
{
    std::string error;
    return JsonModel::FromText("null", "blank.json", error);
}

const auto kNoThread = [] { return false; };

const JsonEventPipe::Texts kTexts[] = {JsonEventPipe::Texts::kNumberedByReader, JsonEventPipe::Texts::kSentToBuilder};

}  // namespace

// The pipe itself, with the smallest batches (asked for 1 byte: every event
// ships at once, a text overflows its batch) up to the usual size, the
// texts numbered by either side: the builder hears what the reader wrote,
// in order.
TEST(JsonEventPipe, TheBuilderHearsWhatTheReaderWroteWhateverTheBatches)
{
    for (const size_t batch : {size_t(1), size_t(7), size_t(64), JsonEventPipe::kBatchBytes}) {
        for (const int count : {1, 5, 5000}) {
            for (const JsonEventPipe::Texts texts : kTexts) {
                SCOPED_TRACE(std::to_string(batch) + " bytes, " + std::to_string(count) + " records, " +
                             (texts == JsonEventPipe::Texts::kNumberedByReader ? "numbered" : "sent"));
                HeardTokens expected;
                WriteRecords(expected, count);
                const std::unique_ptr<JsonModel> model = Blank();
                JsonModelBuilder builder(*model, 0);
                const auto write = [count](JsonEventPipe& ioPipe) {
                    WriteRecords(ioPipe, count);
                    return true;
                };
                ASSERT_TRUE(JsonEventPipe::Read(write, builder, kNoThread, texts, batch) && builder.Finish());
                EXPECT_EQ(expected.heard, Reported(*model));
            }
        }
    }
}

// The reader writes far faster than the builder builds: it waits for a
// batch when the builder refuses a name given twice, and must be let go.
// A reader that fails or throws ends the builder's wait.
TEST(JsonEventPipe, EitherSideStoppingEndsBoth)
{
    const auto refused = [](JsonEventPipe& ioPipe) {
        ioPipe.OpenArray();
        for (int i = 0; i < 500000; ++i) ioPipe.Null();
        ioPipe.OpenObject();
        ioPipe.Key("a");
        ioPipe.Null();
        ioPipe.Key("a");
        ioPipe.Null();
        for (int i = 0; i < 500000 && ioPipe.Close(); ++i) ioPipe.OpenArray();
        return true;
    };
    const auto failed = [](JsonEventPipe& ioPipe) {
        WriteRecords(ioPipe, 1000);
        return false;
    };
    const auto thrown = [](JsonEventPipe& ioPipe) -> bool {
        WriteRecords(ioPipe, 1000);
        throw std::runtime_error("read failed");
    };
    for (int round = 0; round < 4; ++round) {
        const JsonEventPipe::Texts texts = kTexts[round % 2];
        for (const auto& read :
             {std::function<bool(JsonEventPipe&)>(refused), std::function<bool(JsonEventPipe&)>(failed)}) {
            const std::unique_ptr<JsonModel> model = Blank();
            JsonModelBuilder builder(*model, 0);
            EXPECT_FALSE(JsonEventPipe::Read(read, builder, kNoThread, texts));
        }
        const std::unique_ptr<JsonModel> model = Blank();
        JsonModelBuilder builder(*model, 0);
        EXPECT_THROW(JsonEventPipe::Read(thrown, builder, kNoThread, texts), std::runtime_error);
    }
}
