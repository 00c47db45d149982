// CMapPtrToPtr: the window-to-hook map of the widgets relies on lookup, replacement, removal and a full
// iteration over every association.
#include <gtest/gtest.h>

#include <set>

#include "MapPtrToPtr.h"

namespace {

void* P(uintptr_t v) {
    return reinterpret_cast<void*>(v);
}

}  // namespace

TEST(CMapPtrToPtr, LookupSetAndReplace) {
    CMapPtrToPtr map;
    void* value = P(1);
    EXPECT_FALSE(map.Lookup(P(0x1000), value));
    EXPECT_EQ(value, P(1));  // untouched on a miss
    map.SetAt(P(0x1000), P(0xA));
    map[P(0x2000)] = P(0xB);
    map.SetAt(P(0x1000), P(0xC));
    EXPECT_EQ(map.GetCount(), 2);
    ASSERT_TRUE(map.Lookup(P(0x1000), value));
    EXPECT_EQ(value, P(0xC));
    EXPECT_EQ(map[P(0x3000)], nullptr);  // operator[] inserts a NULL value
    EXPECT_EQ(map.GetCount(), 3);
}

TEST(CMapPtrToPtr, RemoveKeyFromAChainOfCollidingKeys) {
    CMapPtrToPtr map;
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    // Keys 17 * 16 apart land in the same bucket.
    for (uintptr_t i = 0; i < 5; ++i) map.SetAt(P(0x100 + i * 17 * 16), P(i + 1));
    EXPECT_TRUE(map.RemoveKey(P(0x100 + 2 * 17 * 16)));
    EXPECT_FALSE(map.RemoveKey(P(0x100 + 2 * 17 * 16)));
    EXPECT_EQ(map.GetCount(), 4);
    void* value;
    for (uintptr_t i : {0, 1, 3, 4}) {
        ASSERT_TRUE(map.Lookup(P(0x100 + i * 17 * 16), value));
        EXPECT_EQ(value, P(i + 1));
    }
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Lookup(P(0x100), value));
    EXPECT_FALSE(map.RemoveKey(P(0x100)));
}

TEST(CMapPtrToPtr, IterationVisitsEveryAssociationOnce) {
    CMapPtrToPtr map;
    map.InitHashTable(7);
    EXPECT_EQ(map.GetHashTableSize(), 7u);
    std::set<void*> expected;
    for (uintptr_t i = 1; i <= 40; ++i) {
        map.SetAt(P(i * 48), P(i));
        expected.insert(P(i * 48));
    }
    map.InitHashTable(101);  // ignored once the table has entries
    EXPECT_EQ(map.GetHashTableSize(), 7u);
    std::set<void*> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        void *key, *value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(value) * 48, reinterpret_cast<uintptr_t>(key));
        EXPECT_TRUE(seen.insert(key).second);
    }
    EXPECT_EQ(seen, expected);
    CMapPtrToPtr empty;
    EXPECT_EQ(empty.GetStartPosition(), nullptr);
}
