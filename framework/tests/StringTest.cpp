// CString: value semantics, the clamping of the substring members, formatting and the buffer protocol.
#include <gtest/gtest.h>

#include <cstring>

#include "String.h"

TEST(CString, ConstructionFromNullAndCountedText) {
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_STREQ(CString("abcdef", 3), "abc");
    EXPECT_STREQ(CString("ab", 10), "ab");  // never reads past the terminator
    EXPECT_STREQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString('x', -2).IsEmpty());
}

TEST(CString, CopiesAreIndependent) {
    CString a("first");
    CString b = a;
    b.SetAt(0, 'F');
    b += "!";
    EXPECT_STREQ(a, "first");
    EXPECT_STREQ(b, "First!");
}

TEST(CString, ComparisonsAndConcatenation) {
    CString s("Pebblink");
    EXPECT_TRUE(s == "Pebblink");
    EXPECT_TRUE("Pebblink" == s);
    EXPECT_TRUE(s != "pebblink");
    EXPECT_EQ(s.CompareNoCase("PEBBLINK"), 0);
    EXPECT_LT(s.Compare("Pebblinl"), 0);
    EXPECT_GT(s.Compare("Pebb"), 0);
    EXPECT_TRUE(CString("AM") < CString("PM"));
    EXPECT_TRUE(CString("b") > "a");
    EXPECT_STREQ("\\\\" + CString("NAS1") + '\\' + "usb", "\\\\NAS1\\usb");
}

TEST(CString, LeftMidRightClampOutOfRangeArguments) {
    CString s("255.255.255.255");
    EXPECT_STREQ(s.Left(3), "255");
    EXPECT_STREQ(s.Left(100), "255.255.255.255");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Mid(4), "255.255.255");
    EXPECT_STREQ(s.Mid(4, 3), "255");
    EXPECT_STREQ(s.Mid(-5, 3), "255");
    EXPECT_STREQ(s.Mid(14, 10), "5");
    EXPECT_STREQ(s.Mid(99), "");
    EXPECT_STREQ(s.Mid(3, -1), "");
    EXPECT_STREQ(s.Right(3), "255");
    EXPECT_STREQ(s.Right(99), "255.255.255.255");
    EXPECT_EQ(s.GetAt(99), '\0');
    EXPECT_EQ(s[-1], '\0');
}

TEST(CString, TrimRemovesWhitespaceOrTheGivenCharacters) {
    CString s("  \t Setup Wizard \r\n");
    s.Trim();
    EXPECT_STREQ(s, "Setup Wizard");
    CString t("xxabcxx");
    t.TrimLeft("x");
    EXPECT_STREQ(t, "abcxx");
    t.TrimRight("x");
    EXPECT_STREQ(t, "abc");
    CString blank("   ");
    blank.Trim();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(CString, FindReplaceAndEdit) {
    CString path("\\\\NAS1\\USB1");
    EXPECT_EQ(path.Find('\\', 2), 6);
    EXPECT_EQ(path.Find("USB"), 7);
    EXPECT_EQ(path.Find("USB", 8), -1);
    EXPECT_EQ(path.Find('x'), -1);
    EXPECT_EQ(path.Find('N', 99), -1);
    EXPECT_EQ(path.ReverseFind('\\'), 6);
    EXPECT_STREQ(path.SpanIncluding("\\"), "\\\\");

    CString s("a-b-c");
    EXPECT_EQ(s.Replace("-", "--"), 2);  // the inserted text is not searched again
    EXPECT_STREQ(s, "a--b--c");
    EXPECT_EQ(s.Remove('-'), 4);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.Insert(99, "d"), 4);
    EXPECT_EQ(s.Delete(1, 2), 2);
    EXPECT_STREQ(s, "ad");
    EXPECT_STREQ(s.MakeUpper(), "AD");
    EXPECT_EQ(s.Replace("", "x"), 0);
}

TEST(CString, FormatGrowsBeyondAnyFixedBuffer) {
    CString s;
    s.Format("Value must be between %d and %d", 1, 254);
    EXPECT_STREQ(s, "Value must be between 1 and 254");
    std::string big(5000, 'z');
    s.Format("%s%s", big.c_str(), "!");
    EXPECT_EQ(s.GetLength(), 5001);
    EXPECT_EQ(s[5000], '!');
    s.AppendFormat("%02d", 7);
    EXPECT_EQ(s.Right(3), CString("!07"));
}

TEST(CString, GetBufferAndReleaseBuffer) {
    CString s("old");
    char* p = s.GetBuffer(16);
    std::strcpy(p, "192.168.1.10");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 12);
    EXPECT_STREQ(s, "192.168.1.10");

    p = s.GetBuffer(4);  // smaller request keeps the text
    EXPECT_STREQ(p, "192.168.1.10");
    s.ReleaseBuffer(3);
    EXPECT_STREQ(s, "192");

    p = s.GetBufferSetLength(2);
    p[0] = 'o';
    p[1] = 'k';
    s.ReleaseBuffer(99);  // cannot grow past the buffer
    EXPECT_STREQ(s, "ok");
}
