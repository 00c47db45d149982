// The driver protocol's escaping: any text, tabs and newlines included, survives a round trip as one field.
#include <gtest/gtest.h>

#include "../TextCodec.h"

TEST(TextCodec, AnyTextRoundTripsAsOneField) {
    const std::string samples[] = {"", "plain", "a\tb", "line\nnext", "back\\slash", "\\t literal", "end\\", "\r\n"};
    for (const std::string& s : samples) {
        std::vector<std::string> f = SplitFields("cmd\t" + Escape(s));
        ASSERT_EQ(f.size(), 2u) << s;
        EXPECT_EQ(f[1], s);
    }
}

TEST(TextCodec, SplitKeepsEmptyFields) {
    EXPECT_EQ(SplitFields("find\t\tcls"), (std::vector<std::string>{"find", "", "cls"}));
    EXPECT_EQ(SplitFields("a\t"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitFields("").empty());
}
