// The sorted root texts of a tree and TVI_SORT's place among them.
#include "SortedSiblings.h"

#include <algorithm>

size_t CSortedSiblings::Place(const char* text) const {
    // The first sibling not less than the text: the new one goes before it unless it is equal.
    auto first = std::lower_bound(m_siblings.begin(), m_siblings.end(), text,
                                  [this](const Sibling& s, const char* t) { return m_compare(s.text.c_str(), t) < 0; });
    size_t place = static_cast<size_t>(first - m_siblings.begin());
    if (first != m_siblings.end() && m_compare(first->text.c_str(), text) == 0) ++place;
    return place;
}

void CSortedSiblings::Record(size_t place, const char* text, void* item) {
    m_siblings.insert(m_siblings.begin() + static_cast<std::ptrdiff_t>(place), Sibling{text, item});
}
