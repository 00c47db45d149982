// The appliance's result codes and the string-table messages the wizard shows for them, and the English
// texts of the strings the device link and the device operations use, for the programs that have no resource
// script (the command-line tool). The wizard's resource script holds the same texts; a test keeps the two in
// step.
#pragma once

#include <cstddef>

struct ResultCodeRow {
    int nCode;
    unsigned nStringId;
};
extern const ResultCodeRow g_resultCodes[];
extern const size_t g_resultCodeCount;

struct StringTextRow {
    unsigned nStringId;
    const char* pszText;
};
extern const StringTextRow g_linkStrings[];
extern const size_t g_linkStringCount;

// String id of the message for a result code, widened from the reply's signed 16-bit wStatus. Codes not
// in the table, positive ones included, give IDS_OTHER_ERROR.
unsigned ResultMessageId(int nCode);

// English text of one of the strings above; nullptr for another id.
const char* LinkStringText(unsigned nStringId);
