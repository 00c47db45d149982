// The appliance's result codes and the string-table messages the wizard shows for them (the texts are in
// the resource script's string table).
#pragma once

#include <cstddef>

struct ResultCodeRow {
    int nCode;
    unsigned nStringId;
};
extern const ResultCodeRow g_resultCodes[];
extern const size_t g_resultCodeCount;

// String id of the message for a result code, widened from the reply's signed 16-bit wStatus. Codes not
// in the table, positive ones included, give IDS_OTHER_ERROR.
unsigned ResultMessageId(int nCode);
