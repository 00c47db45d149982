// The summary page: values from g_settings and the apply step.
#include "SummaryPage.h"

#include <cstring>

#include "../link/TimeZones.h"
#include "../ops/OperationDlg.h"
#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../shell/DeviceListPage.h"
#include "../shell/FieldRules.h"
#include "../shell/WizardState.h"
#include "ConfirmDlg.h"
#include "NoticeDlg.h"

namespace {

const int kLabels[] = {IDC_SUMMARY_NAME_LABEL,    IDC_SUMMARY_ADDRESS_LABEL,   IDC_SUMMARY_MASK_LABEL,
                       IDC_SUMMARY_GATEWAY_LABEL, IDC_SUMMARY_TIME_ZONE_LABEL, IDC_SUMMARY_DATE_LABEL,
                       IDC_SUMMARY_TIME_LABEL};

// A text field of the record, which need not be terminated.
template <size_t N>
CString FieldText(const char (&field)[N]) {
    char sz[N + 1] = {};
    memcpy(sz, field, N);
    return CString(sz);
}

}  // namespace

CSummaryPage::CSummaryPage() : CWizardPage(IDD_SUMMARY, IDB_SUMMARY) {}

BOOL CSummaryPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LOGFONTA lf = {};
    lf.lfHeight = 14;
    lf.lfWidth = 6;
    lf.lfWeight = 600;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    m_labelFont.CreateFontIndirect(&lf);
    for (int nId : kLabels) GetDlgItem(nId)->SetFont(&m_labelFont, FALSE);
    return TRUE;
}

void CSummaryPage::OnSetActive() {
    char szAddress[16], szMask[16], szGateway[16];
    FormatDotted(g_settings.abIpAddress, szAddress);
    FormatDotted(g_settings.abSubnetMask, szMask);
    FormatDotted(g_settings.abGateway, szGateway);
    SetDlgItemText(IDC_SUMMARY_NAME, FieldText(g_settings.szServerName));
    SetDlgItemText(IDC_SUMMARY_ADDRESS, szAddress);
    SetDlgItemText(IDC_SUMMARY_MASK, szMask);
    SetDlgItemText(IDC_SUMMARY_GATEWAY, szGateway);
    SetDlgItemText(IDC_SUMMARY_TIME_ZONE, TimeZoneDisplayName(g_settings.nTimeZone));
    SetDlgItemText(IDC_SUMMARY_DATE, FieldText(g_settings.szDate));
    SetDlgItemText(IDC_SUMMARY_TIME, FieldText(g_settings.szTime));
}

int CSummaryPage::OnWizardNext() {
    CConfirmDlg confirm;
    if (confirm.DoModal() == IDCANCEL) {
        g_saveAttempted = false;
        return WIZARD_STAY;
    }
    g_redoSearch = false;
    g_saveAttempted = true;
    INT_PTR nResult = IDCANCEL;
    // Without a chosen appliance there is nothing to write to: that is a failed write.
    if (g_selectedDevice) {
        COperationDlg write(OP_SET_CONFIG, g_selectedDevice, &g_settings, g_pDeviceListPage);
        nResult = write.DoModal();
    }
    if (nResult == IDOK) {
        g_noticeKind = 2;
        CNoticeDlg notice;
        notice.DoModal();
        return WIZARD_NEIGHBOUR;
    }
    g_noticeKind = 3;
    CNoticeDlg notice;
    if (notice.DoModal() == IDCANCEL) {
        // Redo starts the setup anew, with nothing saved: a later Save that saves nothing must not be taken
        // for this attempt's.
        g_saveAttempted = false;
        g_redoSearch = true;
        return IDD_DEVICE_LIST;
    }
    g_closeAfterSave = true;
    return 1;
}
