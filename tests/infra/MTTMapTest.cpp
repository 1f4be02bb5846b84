#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "MTTMap.h"
#include "MTTMapIterator.h"

namespace {

// Distinct addresses that must never be deleted: the map does not own them.
char gValues[64];

void* Value(int i)
{
    return &gValues[i % 64];
}

char gAbsent;

// The value under the key, or &gAbsent.
void* Find(const MTTMap& iMap, const std::string& iKey)
{
    void* found = nullptr;
    return iMap.search(iKey.c_str(), &found) ? found : &gAbsent;
}

}  // namespace

TEST(MTTMap, KeepsItsOwnKeysAndNeverDeletesValues)
{
    MTTMap map;
    char buffer[32];
    std::strcpy(buffer, "alpha");
    map.insert(buffer, Value(1));
    std::strcpy(buffer, "omega");  // the caller's buffer changes afterwards
    map.insert(std::string("a key held by a temporary heap string").c_str(), Value(2));
    map.insert("", Value(3));
    int* owned = new int(7);
    map.insert("owned", owned);
    EXPECT_EQ(map.size(), 4);
    EXPECT_EQ(Find(map, "alpha"), Value(1));
    EXPECT_EQ(Find(map, "a key held by a temporary heap string"), Value(2));
    EXPECT_EQ(Find(map, ""), Value(3));
    for (const char* absent : {"omega", "alph", "alphaa"}) EXPECT_EQ(Find(map, absent), &gAbsent) << absent;

    map.insert("alpha", nullptr);  // replaces; null is a value
    EXPECT_EQ(map.size(), 4);
    EXPECT_EQ(Find(map, "alpha"), nullptr);
    map.remove("owned");
    map.remove("owned");
    map.remove("absent");
    EXPECT_EQ(map.size(), 3);
    EXPECT_EQ(Find(map, "owned"), &gAbsent);
    map.insert("owned", owned);
    map.clear();
    EXPECT_TRUE(map.size() == 0 && Find(map, "alpha") == &gAbsent && *owned == 7);
    map.insert("alpha", Value(4));
    EXPECT_EQ(Find(map, "alpha"), Value(4));
    delete owned;
}

TEST(MTTMap, StaysConsistentUnderHeavyInsertAndRemove)
{
    MTTMap map;
    std::map<std::string, void*> reference;
    std::mt19937 random(12345);
    for (int step = 0; step < 60000; ++step) {
        std::string key = "k" + std::to_string(random() % 3000);
        if (random() % 3 == 0) {
            map.remove(key.c_str());
            reference.erase(key);
        } else {
            map.insert(key.c_str(), Value(step));
            reference[key] = Value(step);
        }
    }
    ASSERT_EQ(map.size(), static_cast<int>(reference.size()));
    for (int i = 0; i < 3000; ++i) {
        std::string key = "k" + std::to_string(i);
        auto it = reference.find(key);
        ASSERT_EQ(Find(map, key), it == reference.end() ? &gAbsent : it->second) << key;
    }
    // Endless fresh keys, each removed at once: removed slots must be
    // reclaimed, or lookups would run out of free slots and never end.
    for (int i = 0; i < 200000; ++i) {
        std::string key = "fresh" + std::to_string(i);
        map.insert(key.c_str(), Value(i));
        map.remove(key.c_str());
    }
    EXPECT_EQ(map.size(), static_cast<int>(reference.size()));
}

TEST(MTTMap, IteratorVisitsEachEntryOnce)
{
    MTTMap map;
    std::unique_ptr<MTTMapIterator> onEmpty(map.getIterator());
    EXPECT_EQ(onEmpty->Next(), 0);
    EXPECT_EQ(onEmpty->Value(), nullptr);
    std::map<std::string, void*> expected;
    for (int i = 0; i < 500; ++i) {
        std::string key = "name" + std::to_string(i);
        map.insert(key.c_str(), Value(i));
        expected[key] = Value(i);
        if (i % 3 == 0) {
            map.remove(key.c_str());
            expected.erase(key);
        }
    }
    std::unique_ptr<MTTMapIterator> it(map.getIterator());
    EXPECT_TRUE(it->Key() == nullptr && it->Value() == nullptr);  // Next comes before the first entry
    for (int pass = 0; pass < 2; ++pass) {
        std::map<std::string, int> seen;
        while (it->Next()) {
            ASSERT_NE(it->Key(), nullptr);
            ++seen[it->Key()];
            ASSERT_EQ(expected.count(it->Key()), 1u) << it->Key();
            EXPECT_EQ(it->Value(), expected[it->Key()]);
        }
        EXPECT_EQ(seen.size(), expected.size());
        for (auto& s : seen) EXPECT_EQ(s.second, 1) << s.first;
        EXPECT_TRUE(it->Next() == 0 && it->Value() == nullptr);  // stays at the end
        it->Reset();
    }
}
