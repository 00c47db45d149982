// The apply table: CSV and JSON, every row checked, faulty rows named.
#include <gtest/gtest.h>

#include <sstream>

#include "../ApplyTable.h"

TEST(ApplyTable, ReadsCsvWithQuotesAndEmptyCells) {
    std::istringstream in(
        "mac,name,workgroup,timezone\r\n02:5a:54:01:01:0a,NAS1,\"OFFICE\",\"(GMT+09:00) Seoul\"\r\n"
        "02-5A-54-01-01-0B,,,\n");
    std::vector<ApplyRow> rows;
    std::vector<std::string> errors;
    ASSERT_TRUE(ReadApplyTable(in, false, rows, errors)) << (errors.empty() ? "" : errors[0]);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(*rows[0].change.workgroup, "OFFICE");
    EXPECT_EQ(*rows[0].change.timezone, "(GMT+09:00) Seoul");
    EXPECT_EQ(rows[1].abMac[5], 0x0b);
    EXPECT_TRUE(rows[1].change.IsEmpty());
}

TEST(ApplyTable, NamesEveryFaultyRow) {
    std::istringstream in("mac,name,colour\n02:5a:54:01:01:0a,A B,red\nnot-a-mac,NAS2,\n02:5a:54:01:01:0c,NAS3\n");
    std::vector<ApplyRow> rows;
    std::vector<std::string> errors;
    EXPECT_FALSE(ReadApplyTable(in, false, rows, errors));
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[0].rfind("row 2: unknown column", 0), 0u);
    EXPECT_EQ(errors[1].rfind("row 2: --name", 0), 0u);
    EXPECT_EQ(errors[2].rfind("row 3: unknown column", 0), 0u);
    EXPECT_EQ(errors[3], "row 3: no valid MAC address");
    EXPECT_EQ(errors[4].rfind("row 4: 2 cells", 0), 0u);
}

TEST(ApplyTable, ReadsJson) {
    std::istringstream in(R"([{"mac":"02:5a:54:01:01:0a","timezone":50,"date":"2027-01-05"}])");
    std::vector<ApplyRow> rows;
    std::vector<std::string> errors;
    ASSERT_TRUE(ReadApplyTable(in, true, rows, errors));
    EXPECT_EQ(*rows[0].change.timezone, "50");
    std::istringstream bad(R"({"mac":"x"})");
    EXPECT_FALSE(ReadApplyTable(bad, true, rows, errors));
}
