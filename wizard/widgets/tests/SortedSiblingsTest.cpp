// The binary-search place must be the one the tree control's own scan gives, twins included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "SortedSiblings.h"

namespace {

// The tree control's TVI_SORT: walk the siblings; before the first greater one, right after the first equal one.
void InsertLikeTheTree(std::list<std::string>& tree, const std::string& text) {
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const int comp = strcmp(text.c_str(), it->c_str());
        if (comp < 0) {
            tree.insert(it, text);
            return;
        }
        if (comp == 0) {
            tree.insert(std::next(it), text);
            return;
        }
    }
    tree.push_back(text);
}

}  // namespace

TEST(SortedSiblings, PlacesEveryTextWhereTheTreeWould) {
    std::mt19937 random(7);
    std::list<std::string> tree;
    std::vector<std::string> items;  // item "handles" point at these, so twins stay told apart
    items.reserve(2000);
    CSortedSiblings order(strcmp);
    std::list<std::string*> placed;  // the handles in the order CSortedSiblings put them
    for (int n = 0; n < 2000; ++n) {
        // Few distinct names, so that twins and first/last places come often.
        items.push_back("NAS" + std::to_string(random() % 300));
        std::string* item = &items.back();
        InsertLikeTheTree(tree, *item);

        const size_t place = order.Place(item->c_str());
        void* before = order.ItemBefore(place);
        auto at = placed.begin();
        if (before) at = std::next(std::find(placed.begin(), placed.end(), static_cast<std::string*>(before)));
        placed.insert(at, item);
        order.Record(place, item->c_str(), item);
    }
    ASSERT_EQ(order.GetCount(), tree.size());
    auto expected = tree.begin();
    for (const std::string* item : placed) EXPECT_EQ(*item, *expected++);
}
