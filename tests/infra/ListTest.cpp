#include <gtest/gtest.h>

#include <string>

#include "ListOfMTTString.h"
#include "MTTListOfPointers.h"
#include "NodeKit.h"

using namespace kit;

namespace {

const std::string kRange = Assertion("iPosition >= 1 && iPosition <= Size()");

}  // namespace

TEST(ListOfMTTString, OneBasedCopiesOfTheTexts)
{
    const char* longText = "a second text beyond the inline size";
    ListOfMTTString list;
    MTTString text("first");
    list.Append(text);
    text = "changed by the caller";
    list.Append(MTTString(longText));
    for (int i = 0; i < 40; ++i) list.Append(list[1 + i % 2]);  // its own elements, while growing
    ASSERT_EQ(list.Size(), 42);
    for (int i = 1; i <= 42; ++i) EXPECT_TRUE(list[i] == (i % 2 ? "first" : longText)) << i;

    ListOfMTTString copy(list), assigned;
    copy[1] = "only in the copy";
    EXPECT_TRUE(list[1] == "first");
    assigned.Append(MTTString("old"));
    assigned = copy;
    EXPECT_EQ(assigned.Size(), 42);
    EXPECT_TRUE(assigned[1] == "only in the copy");
    list.RemoveAll();
    EXPECT_EQ(list.Size(), 0);
    list.Append(MTTString("again"));
    EXPECT_TRUE(list.Size() == 1 && list[1] == "again" && copy.Size() == 42);
}

TEST(ListOfMTTString, OutOfRangeReportsAndGivesAnEmptyText)
{
    ListOfMTTString list;
    list.Append(MTTString("only"));
    for (int position : {0, -1, 2, 1000}) {
        SCOPED_TRACE(position);
        auto run = Quietly([&] {
            bool empty = static_cast<const ListOfMTTString&>(list)[position] == "";
            MTTString& slot = list[position];
            empty = empty && slot == "";
            slot = "written to nowhere";
            return empty;
        });
        EXPECT_TRUE(run.value);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, kRange + kRange);
        EXPECT_TRUE(list.Size() == 1 && list[1] == "only");
    }
}

TEST(MTTListOfPointers, HoldsPointersOnlyOneBased)
{
    int items[100];  // on the stack: deleting any of them would be caught
    MTTListOfPointers list;
    for (int i = 0; i < 100; ++i) list.Append(&items[i]);
    list.Append(nullptr);
    ASSERT_EQ(list.Size(), 101);
    for (int i = 1; i <= 100; ++i) ASSERT_EQ(list.GetItem(i), &items[i - 1]);
    EXPECT_EQ(list.GetItem(101), nullptr);

    MTTListOfPointers copy(list);
    EXPECT_TRUE(copy == list && !(copy != list));
    copy.GetItem(1) = &items[50];  // the non-const form is the slot itself
    EXPECT_TRUE(copy.GetItem(1) == &items[50] && list.GetItem(1) == &items[0] && copy != list);
    copy = list;
    copy.RemoveLast();
    EXPECT_TRUE(copy.Size() == 100 && !(copy == list));
    list.RemoveAll();
    EXPECT_TRUE(list == MTTListOfPointers() && copy.Size() == 100);
}

TEST(MTTListOfPointers, MisuseReportsAndChangesNothing)
{
    int a = 0, b = 0;
    MTTListOfPointers list;
    list.Append(&a);
    for (int position : {0, -1, 2}) {
        auto run = Quietly([&] {
            bool empty = static_cast<const MTTListOfPointers&>(list).GetItem(position) == nullptr;
            void*& slot = list.GetItem(position);
            empty = empty && slot == nullptr;
            slot = &b;  // lost
            return empty;
        });
        EXPECT_TRUE(run.value);
        EXPECT_EQ(run.err, kRange + kRange);  // one report per access
    }
    EXPECT_TRUE(list.Size() == 1 && list.GetItem(1) == &a);
    list.RemoveLast();
    EXPECT_EQ(Quietly([&] {
                  list.RemoveLast();
                  return 0;
              }).err,
              Assertion("Size() > 0"));
    list.Append(&b);
    EXPECT_TRUE(list.Size() == 1 && list.GetItem(1) == &b);
}
