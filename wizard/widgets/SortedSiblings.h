// CSortedSiblings: where an item inserted with TVI_SORT lands among a tree's root items, found by binary search.
// The tree control finds that place by comparing the new text with every item before it; with thousands of
// appliances answering a search that scan, run once a reply, took longer than the search itself. The page keeps
// the root's texts here in the tree's order and inserts each item after the handle this gives instead.
// Valid from an empty tree while items are only added; after an item's text changes in the tree, Clear and
// start again.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CSortedSiblings {
public:
    // The tree's own comparison of two item texts (lstrcmpA for the common controls).
    using Compare = int (*)(const char*, const char*);
    explicit CSortedSiblings(Compare compare) : m_compare(compare) {}

    // The place TVI_SORT gives a new text: before the first greater text; a text already present goes right
    // after its first twin. The item to insert after is ItemBefore(place).
    size_t Place(const char* text) const;
    // The item before place, nullptr when place is the first (insert with TVI_FIRST).
    void* ItemBefore(size_t place) const { return place == 0 ? nullptr : m_siblings[place - 1].item; }
    // Records the item the tree inserted at place.
    void Record(size_t place, const char* text, void* item);

    size_t GetCount() const { return m_siblings.size(); }
    void Clear() { m_siblings.clear(); }

private:
    struct Sibling {
        std::string text;
        void* item;
    };
    Compare m_compare;
    std::vector<Sibling> m_siblings;
};
