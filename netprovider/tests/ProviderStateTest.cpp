// The provider's state text: connections, failure rules and what a damaged file turns into.
#include "../ProviderState.h"

#include <gtest/gtest.h>

TEST(ProviderState, ConnectionsAndRulesSurviveTheFile) {
    CProviderState state;
    state.Add({"z:", "\\\\NAS1\\usb"});
    state.Add({"", "\\\\NAS2\\data"});
    state.SetFailure("NPCancelConnection", 2401, 2);
    state.SetFailure("NPAddConnection3", 1207, -1);

    CProviderState copy;
    copy.Parse(state.Serialize());

    ASSERT_EQ(copy.Connections().size(), 2u);
    EXPECT_EQ(copy.Connections()[0].localName, "Z:");
    EXPECT_EQ(copy.Connections()[0].remoteName, "\\\\NAS1\\usb");
    EXPECT_EQ(copy.Connections()[1].localName, "");
    EXPECT_EQ(copy.Serialize(), state.Serialize());
    EXPECT_EQ(copy.TakeFailure("NPCancelConnection"), 2401u);
    EXPECT_EQ(copy.TakeFailure("NPCancelConnection"), 2401u);
    EXPECT_EQ(copy.TakeFailure("NPCancelConnection"), 0u);
    for (int i = 0; i < 3; i++) EXPECT_EQ(copy.TakeFailure("NPAddConnection3"), 1207u);
    EXPECT_EQ(copy.TakeFailure("NPGetConnection"), 0u);
}

TEST(ProviderState, FindAndRemoveByLetterOrByRemoteName) {
    CProviderState state;
    state.Parse("conn\tZ:\t\\\\NAS1\\usb\nconn\t\t\\\\NAS1\\usb\nconn\tY:\t\\\\NAS1\\usb\n");
    ASSERT_NE(state.FindByLocal("z:"), nullptr);
    EXPECT_EQ(state.FindByLocal("Z"), nullptr);
    EXPECT_EQ(state.FindByLocal(""), nullptr);
    ASSERT_NE(state.FindDevicelessByRemote("\\\\NAS1\\usb"), nullptr);
    EXPECT_EQ(state.FindDevicelessByRemote("\\\\nas1\\usb"), nullptr);

    EXPECT_TRUE(state.Remove("\\\\NAS1\\usb"));  // the one without a letter
    EXPECT_FALSE(state.Remove("\\\\NAS1\\usb"));
    EXPECT_TRUE(state.Remove("z:"));
    ASSERT_EQ(state.Connections().size(), 1u);
    EXPECT_EQ(state.Connections()[0].localName, "Y:");
}

TEST(ProviderState, DamagedLinesAreKeptButNeverTakenAsRecords) {
    const std::string text =
        "conn\tZZ:\t\\\\A\\b\n"
        "conn\tZ:\n"
        "fail\tNPAddConnection3\tx\t1\n"
        "fail\tNPAddConnection3\t-5\t1\n"
        "fail\tNPAddConnection3\t5\t-2\n"
        "garbage\r\n"
        "\n"
        "conn\tY:\t\\\\A\\b\r\n";
    CProviderState state;
    state.Parse(text);
    ASSERT_EQ(state.Connections().size(), 1u);
    EXPECT_EQ(state.Connections()[0].remoteName, "\\\\A\\b");
    EXPECT_EQ(state.TakeFailure("NPAddConnection3"), 0u);
    CProviderState again;
    again.Parse(state.Serialize());
    EXPECT_EQ(again.Serialize(), state.Serialize());
}

TEST(ProviderState, SetFailureReplacesAndZeroTimesLifts) {
    CProviderState state;
    state.SetFailure("NPOpenEnum", 1222, -1);
    state.SetFailure("NPOpenEnum", 59, 1);
    EXPECT_EQ(state.TakeFailure("NPOpenEnum"), 59u);
    EXPECT_EQ(state.TakeFailure("NPOpenEnum"), 0u);
    state.SetFailure("NPOpenEnum", 1222, -1);
    state.SetFailure("NPOpenEnum", 0, 0);
    EXPECT_EQ(state.TakeFailure("NPOpenEnum"), 0u);
    state.SetFailure("bad\tname", 5, -1);
    EXPECT_EQ(state.Serialize(), "");
}

TEST(ProviderState, DriveAndUncRules) {
    EXPECT_EQ(CProviderState::NormalizeDrive("q:"), "Q:");
    EXPECT_EQ(CProviderState::NormalizeDrive("Q"), "");
    EXPECT_EQ(CProviderState::NormalizeDrive("1:"), "");
    EXPECT_EQ(CProviderState::NormalizeDrive("Q:\\"), "");
    EXPECT_TRUE(CProviderState::IsUncPath("\\\\NAS1\\usb"));
    EXPECT_TRUE(CProviderState::IsUncPath("\\\\NAS1\\usb\\sub"));
    EXPECT_FALSE(CProviderState::IsUncPath("\\\\NAS1"));
    EXPECT_FALSE(CProviderState::IsUncPath("\\\\NAS1\\"));
    EXPECT_FALSE(CProviderState::IsUncPath("\\\\\\usb"));
    EXPECT_FALSE(CProviderState::IsUncPath("NAS1\\usb"));
    EXPECT_FALSE(CProviderState::IsUncPath("\\\\NAS1\\u\nsb"));
}

TEST(ProviderState, EnvironmentFailureList) {
    auto rules = CProviderState::ParseFailureList("NPAddConnection3:1219,bad,:5,NPCancelConnection:2401,x:y");
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].call, "NPAddConnection3");
    EXPECT_EQ(rules[0].code, 1219u);
    EXPECT_EQ(rules[1].call, "NPCancelConnection");
    EXPECT_EQ(rules[1].code, 2401u);
    EXPECT_EQ(rules[1].timesLeft, -1);
}

TEST(ProviderState, TrailingCarriageReturnsDoNotChangeTheTextReadBack) {
    CProviderState state;
    state.Parse("kept\r\r\nconn\tq:\t\\\\A\\b\r\r\n");
    ASSERT_EQ(state.Connections().size(), 1u);
    EXPECT_EQ(state.Connections()[0].remoteName, "\\\\A\\b");
    CProviderState again;
    again.Parse(state.Serialize());
    EXPECT_EQ(again.Serialize(), state.Serialize());
    EXPECT_EQ(state.Serialize(), "conn\tQ:\t\\\\A\\b\nkept\n");
}

TEST(ProviderState, WorkgroupsKeepTheirOrderAndDamagedOnesAreNotListed) {
    CProviderState state;
    state.Parse("group\tZULU\ngroup\t\ngroup\tA\tB\nconn\tQ:\t\\\\A\\b\ngroup\tMY GROUP\r\ngroup\tALPHA\n");
    EXPECT_EQ(state.Workgroups(), (std::vector<std::string>{"ZULU", "MY GROUP", "ALPHA"}));
    EXPECT_EQ(state.Connections().size(), 1u);
    CProviderState again;
    again.Parse(state.Serialize());
    EXPECT_EQ(again.Workgroups(), state.Workgroups());
    EXPECT_EQ(again.Serialize(), state.Serialize());

    // A new list replaces the old one; names that would break the file are left out.
    state.SetWorkgroups({"LAB", "", "BAD\tNAME", "TWO\nLINES", "LAB2"});
    EXPECT_EQ(state.Workgroups(), (std::vector<std::string>{"LAB", "LAB2"}));
    again.Parse(state.Serialize());
    EXPECT_EQ(again.Workgroups(), (std::vector<std::string>{"LAB", "LAB2"}));
    // Reading a text without groups forgets the earlier ones.
    again.Parse("conn\tQ:\t\\\\A\\b\n");
    EXPECT_TRUE(again.Workgroups().empty());
}
