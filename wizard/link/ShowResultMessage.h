// The message box for an appliance's result code.
#pragma once

// Shows the code's string-table message (exclamation icon, OK, the application's title) and returns when
// the user has closed it. nCode is the reply's wStatus read as signed 16-bit.
void ShowResultMessage(int nCode);
