// Result code to message box.
#include "ShowResultMessage.h"

#include "Framework.h"
#include "ResultCodes.h"

void ShowResultMessage(int nCode) {
    AfxMessageBox(ResultMessageId(nCode), MB_OK | MB_ICONEXCLAMATION);
}
