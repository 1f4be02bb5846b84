#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "MTTString.h"

namespace {

// Whether the text lives inside the object itself (no heap buffer).
bool IsInside(const MTTString& iText)
{
    const char* begin = reinterpret_cast<const char*>(&iText);
    return iText.ConvertToChar() >= begin && iText.ConvertToChar() < begin + sizeof(MTTString);
}

std::string Std(const MTTString& iText)
{
    EXPECT_EQ(iText.ConvertToChar()[iText.Length()], '\0');
    return std::string(iText.ConvertToChar(), iText.Length());
}

}  // namespace

TEST(MTTString, UpTo15BytesStayInsideTheObjectAndAppendsKeepEveryPrefix)
{
    for (size_t n : {0u, 1u, 14u, 15u, 16u, 17u, 200u}) {
        std::string text;
        for (size_t i = 0; i < n; ++i) text += static_cast<char>('a' + i % 26);
        MTTString s(text.c_str()), copy(s);
        EXPECT_EQ(IsInside(s), n <= 15) << n;
        EXPECT_EQ(IsInside(copy), n <= 15) << n;
        EXPECT_EQ(Std(copy), text);
    }
    MTTString s;
    std::string expected;
    for (int i = 0; i < 70; ++i) {
        char piece[2] = {static_cast<char>('A' + i % 26), '\0'};
        ASSERT_EQ(&s.Append(MTTString(piece)), &s);
        expected += piece[0];
        ASSERT_EQ(Std(s), expected);
    }
}

TEST(MTTString, ManySmallAppendsBuildAFourMegabyteText)
{
    const MTTString piece("0123456");
    const size_t count = (4u << 20) / 7 + 1;
    MTTString s;
    for (size_t i = 0; i < count; ++i) s.Append(piece);
    ASSERT_EQ(s.Length(), 7 * count);
    for (size_t i = 0; i < s.Length(); i += 4099) ASSERT_EQ(s.ConvertToChar()[i], static_cast<char>('0' + i % 7)) << i;
    EXPECT_EQ(Std(s).substr(s.Length() - 8), "60123456");
    // Long texts grow several times over at once: past that by one append,
    // and by appending themselves.
    MTTString longer(std::string(300000, 'x').c_str());
    const std::string more(3000000, 'y');
    longer.Append(more.c_str(), more.size());
    ASSERT_EQ(Std(longer), std::string(300000, 'x') + more);
    const std::string before = Std(s);
    s.Append(s);
    ASSERT_TRUE(Std(s) == before + before);
}

// A long text moves in steps whose pages are given back: the next text of
// that size takes the same buffer again and must read as written.
TEST(MTTString, MovedOutTextsArriveWholeAndTheirBuffersServeAgain)
{
    for (size_t length : {size_t(0), size_t(15), size_t(300), (size_t(4) << 20) + 4097}) {
        for (char base : {'a', 'A'}) {
            MTTString s;
            s.Reserve(length);
            std::string expected;
            for (size_t i = 0; i < length; ++i) expected += static_cast<char>(base + i % 23);
            s.Append(expected.c_str(), expected.size());
            std::string moved = "replaced";
            s.MoveTo(moved);
            ASSERT_TRUE(moved == expected) << length;
            EXPECT_TRUE(s.IsEmpty());
            s.Append("still usable");
            EXPECT_EQ(Std(s), "still usable");
        }
    }
}

TEST(MTTString, AppendingOrAssigningItsOwnBytes)
{
    // Inline, crossing into the heap, and a heap buffer of exactly the
    // text's size that must grow while it is the source.
    for (std::string text : {"abc", "abcdefgh", "0123456789abcdefghij"}) {
        MTTString s(text.c_str());
        s.Append(s);
        EXPECT_EQ(Std(s), text + text);
        s.Append(s).Append(s);
        EXPECT_EQ(Std(s), text + text + text + text + text + text + text + text);
    }
    MTTString s("0123456789abcdefghij");
    s.Append(s.ConvertToChar() + 10);
    EXPECT_EQ(Std(s), "0123456789abcdefghijabcdefghij");
    s = s.ConvertToChar() + 25;  // shrinks into its heap buffer
    const MTTString& same = s;
    s = same;
    EXPECT_EQ(Std(s), "fghij");
    s.Append("klmnopqrstuvwxyz");
    EXPECT_EQ(Std(s), "fghijklmnopqrstuvwxyz");
}

// Short texts are compared and appended a whole inline store at a time:
// only their own bytes may count, whatever lies past them, and an append
// may use the room at the end of a buffer up to its last byte.
TEST(MTTString, ShortTextsCountOnlyTheirOwnBytes)
{
    for (size_t n = 0; n <= 15; ++n) {
        const std::string text = std::string("0123456789abcde").substr(0, n);
        const MTTString plain(text.c_str());
        MTTString cut((text + std::string("ZYXWVUTSRQPONML").substr(n)).c_str());
        cut.Truncate(n);  // the same text, other bytes past its end
        MTTString held("a text long enough to live in a buffer");
        held = text.c_str();  // the same text, in a buffer
        MTTString appended;
        appended.Append(text.c_str());
        SCOPED_TRACE(n);
        EXPECT_TRUE(plain == cut && cut == plain && plain == held && held == plain && plain == appended);
        for (size_t i = 0; i < n; ++i) {
            std::string other = text;
            other[i] = static_cast<char>(other[i] ^ 0x40);
            EXPECT_TRUE(plain != MTTString(other.c_str()) && MTTString(other.c_str()) != cut) << i;
        }
        EXPECT_TRUE(plain != MTTString((text + "!").c_str()));
    }
    // Appends that end exactly at the buffer's last byte, and one past it.
    for (size_t room : {14u, 15u, 16u, 17u}) {
        MTTString s;
        s.Reserve(40);
        std::string expected(40 - room, '.');
        s.Append(expected.c_str());
        ASSERT_EQ(s.Capacity() - s.Length(), room);
        for (const char* piece : {"0123456789abcde", "x", "", "0123456789abcd"}) {
            s.Append(MTTString(piece));
            expected += piece;
            ASSERT_EQ(Std(s), expected) << room;
        }
    }
}

TEST(MTTString, HighBytesAreKeptAndOrderedAsUnsigned)
{
    const char* accented = "caf\xC3\xA9 \xE2\x82\xAC \xFF";
    EXPECT_EQ(Std(MTTString(accented)), accented);
    const char* rows[][2] = {{"", "a"},
                             {"a", "ab"},
                             {"ab", "b"},
                             {"Z", "a"},
                             {"z", "\x80"},
                             {"\x7F", "\x80"},
                             {"\x80", "\xFF"},
                             {"abc\x01", "abc\xC3"},
                             {"0123456789abcdefX", "0123456789abcdefY"}};
    for (auto& row : rows) {
        MTTString a(row[0]), b(row[1]);
        SCOPED_TRACE(std::string(row[0]) + " < " + row[1]);
        EXPECT_TRUE((a < b) && (a <= b) && (b > a) && (b >= a) && (a != b) && (b == row[1]));
        EXPECT_FALSE((a == b) || (b < a) || (a >= b) || (b <= a) || (a > b) || (a == row[1]));
        EXPECT_TRUE((a <= a) && (a >= a) && (a == a) && !(a < a) && !(a > a) && !(a != a));
    }
}

TEST(MTTString, MovedFromNullAndClearedStringsAreEmptyAndUsable)
{
    for (const char* text : {"short", "a text well beyond the inline size"}) {
        MTTString source(text);
        MTTString target(std::move(source));
        EXPECT_EQ(Std(target), text);
        EXPECT_TRUE(source == "");
        source.Append("reused after the move, long enough for the heap");
        EXPECT_EQ(Std(source), "reused after the move, long enough for the heap");
        MTTString assigned("previous heap text that must be released");
        assigned = std::move(target);
        EXPECT_EQ(Std(assigned), text);
        EXPECT_TRUE(target == "");
        MTTString& same = assigned;
        assigned = std::move(same);
        EXPECT_EQ(Std(assigned), text);
    }
    MTTString fromNull(static_cast<const char*>(nullptr)), byDefault, assigned("a text beyond the inline size");
    assigned = static_cast<const char*>(nullptr);
    MTTString cleared("another text beyond the inline size");
    cleared.Clear();
    MTTString moved("a third text beyond the inline size");
    MTTString sink(std::move(moved));
    for (const MTTString* s : {&fromNull, &byDefault, &assigned, &cleared, &moved}) {
        ASSERT_NE(s->ConvertToChar(), nullptr);
        EXPECT_STREQ(s->ConvertToChar(), "");
        EXPECT_TRUE(*s == "" && *s == MTTString() && s->Length() == 0);
    }
    MTTString s("x");
    s.Append(static_cast<const char*>(nullptr)).Append(MTTString()).Append("");
    EXPECT_EQ(Std(s), "x");
}
