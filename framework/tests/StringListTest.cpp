// CStringList: queue use as in the tray utility (AddTail / GetHead / RemoveHead), iteration, Find, and the
// reuse of block-allocated nodes.
#include <gtest/gtest.h>

#include "StringList.h"

namespace {

CString Join(const CStringList& list) {
    CString out;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        if (!out.IsEmpty()) out += ",";
        out += list.GetNext(pos);
    }
    return out;
}

}  // namespace

TEST(CStringList, QueueOrder) {
    CStringList queue(10);
    EXPECT_TRUE(queue.IsEmpty());
    queue.AddTail("\\\\NAS1\\usb");
    queue.AddTail("\\\\NAS2\\usb");
    queue.AddTail("\\\\NAS3\\usb");
    EXPECT_EQ(queue.GetCount(), 3);
    EXPECT_STREQ(queue.GetHead(), "\\\\NAS1\\usb");
    EXPECT_STREQ(queue.GetTail(), "\\\\NAS3\\usb");
    EXPECT_STREQ(queue.RemoveHead(), "\\\\NAS1\\usb");
    EXPECT_STREQ(queue.GetHead(), "\\\\NAS2\\usb");
    EXPECT_EQ(queue.GetCount(), 2);
    queue.RemoveAll();
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.GetHeadPosition(), nullptr);
}

TEST(CStringList, EmptyListHeadAndRemoveAreHarmless) {
    CStringList list;
    EXPECT_TRUE(list.GetHead().IsEmpty());
    EXPECT_TRUE(list.GetTail().IsEmpty());
    EXPECT_TRUE(list.RemoveHead().IsEmpty());
    EXPECT_TRUE(list.RemoveTail().IsEmpty());
    EXPECT_EQ(list.GetCount(), 0);
    // Writing through the empty head must not create an element.
    list.GetHead() = "ghost";
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(list.GetHead().IsEmpty());
}

TEST(CStringList, IterationBothWaysAndInsertion) {
    CStringList list(2);
    list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("d");
    list.InsertBefore(posC, "c");
    list.InsertAfter(posC, "e");
    EXPECT_STREQ(Join(list), "a,b,c,d,e");

    CString backwards;
    for (POSITION pos = list.GetTailPosition(); pos;) backwards += list.GetPrev(pos);
    EXPECT_STREQ(backwards, "edcba");

    list.SetAt(list.FindIndex(1), "B");
    list.RemoveAt(list.FindIndex(0));
    list.RemoveAt(list.GetTailPosition());
    EXPECT_STREQ(Join(list), "B,c,d");
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
}

TEST(CStringList, FindIsExactAndCanContinue) {
    CStringList list;
    list.AddTail("Z:");
    list.AddTail("\\\\NAS1\\usb");
    list.AddTail("z:");
    list.AddTail("\\\\NAS1\\usb");
    POSITION first = list.Find("\\\\NAS1\\usb");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, list.FindIndex(1));
    POSITION second = list.Find("\\\\NAS1\\usb", first);
    EXPECT_EQ(second, list.FindIndex(3));
    EXPECT_EQ(list.Find("\\\\NAS1\\usb", second), nullptr);
    EXPECT_EQ(list.Find("z:"), list.FindIndex(2));
    EXPECT_EQ(list.Find("nas1"), nullptr);
}

TEST(CStringList, ManyElementsAcrossBlocksSurviveRemoval) {
    CStringList list(3);
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format("%d", i);
        list.AddTail(s);
    }
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(list.RemoveHead(), [&] {
            CString s;
            s.Format("%d", i);
            return s;
        }());
    for (int i = 100; i < 120; ++i) {  // reuses freed nodes
        CString s;
        s.Format("%d", i);
        list.AddTail(s);
    }
    EXPECT_EQ(list.GetCount(), 70);
    EXPECT_STREQ(list.GetHead(), "50");
    EXPECT_STREQ(list.GetTail(), "119");
    while (!list.IsEmpty()) list.RemoveTail();
    list.AddTail("again");  // a list emptied to zero starts over cleanly
    EXPECT_STREQ(Join(list), "again");
}

TEST(CStringList, AppendAnotherList) {
    CStringList a, b;
    a.AddTail("1");
    b.AddTail("2");
    b.AddTail("3");
    a.AddTail(&b);
    a.AddHead(&b);
    a.AddTail(&a);  // appending to itself is ignored rather than looping
    EXPECT_STREQ(Join(a), "2,3,1,2,3");
    EXPECT_EQ(b.GetCount(), 2);
}
