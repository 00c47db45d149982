// The message box for a network-connection error code (the table is WNetErrorText in MappingRules.h).
#pragma once

class CWnd;

// Codes 0 and 87 show nothing; every other code a "Warning" box with the exclamation icon, owned by pOwner.
void ShowWNetError(CWnd* pOwner, unsigned long code);
