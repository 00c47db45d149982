// ShowWNetError over the message-box seam.
#include "ShowWNetError.h"

#include "MappingRules.h"
#include "MessageBoxSource.h"
#include "Wnd.h"

void ShowWNetError(CWnd* pOwner, unsigned long code) {
    std::string text;
    if (!WNetErrorText(code, text)) {
        return;
    }
    CMessageBoxSource::Current()->MessageBox(pOwner ? pOwner->GetSafeHwnd() : nullptr, text.c_str(), "Warning",
                                             MB_OK | MB_ICONEXCLAMATION);
}
