// CWizardDriver: the setup wizard's window with its six pages, run modally in the test program and driven
// as a user drives it (button-bar clicks, typing one character at a time, tree selection), with every
// nested dialog (search, password, confirmation, write, notice) handled on a virtual clock. The time a
// schedule waits for the simulator's answer is real, and short; the schedules themselves run on the clock.
#pragma once

#include <functional>
#include <string>

#include "Framework.h"
#include "LabSupport.h"
#include "MessageBoxRecorder.h"
#include "VirtualClock.h"
#include "../../wizard/pages/SetupWizard.h"

// Types into a control as a user does: each character is handled before the next.
void TypeText(HWND hEdit, const std::string& text);
// Selects the whole text and types over it; "" deletes it.
void Retype(HWND hEdit, const std::string& text);
// The value of an environment variable of the lab ("" when unset).
std::string LabEnv(const char* pszName);
// A settings record from the 468 hex digits of the simulator's `record NAME`; false for anything else.
bool ParseRecordHex(const std::string& hex, DeviceSettings& out);

// A radio button clicked: the other one of its pair cleared (without a notification, as the button
// does it), this one checked and its notification sent.
void ClickRadio(HWND hParent, int nId, int nOtherId);

class CWizardDriver : public CSetupWizard {
public:
    // log: the simulator's log, whose received requests pace the schedules.
    explicit CWizardDriver(const CSimLog& log);

    // Runs the wizard window; body acts inside its modal loop. The window closes when body returns.
    void Run(const std::function<void()>& body);

    // Setup on the welcome page: the device list page's first activation searches; returns when the search
    // dialog has ended.
    void StartAndSearch();
    // Selects the tree item named pszName (false when the tree has none) and follows the page's read until
    // it is answered or given up.
    bool SelectAndRead(const char* pszName);
    // Selects nothing and then the item again: a new read of the same appliance.
    void Reselect(const char* pszName);
    // The Next button of the bar; the password dialog it may open types m_password and checks it once.
    void ClickNext();
    // Save on the summary page (the sheet's Next, which the Save button runs first): confirmation OK, the
    // write on its schedule, the outcome notice (Exit when it failed).
    void Save();

    CWizardPage* ActivePage() const { return m_wizard.GetActivePage(); }
    HWND Item(CWizardPage& page, int nId) const { return ::GetDlgItem(page.m_hWnd, nId); }
    // The texts of the device list page's tree, in order.
    std::vector<std::string> TreeNames() const;
    // The "Value" column of the device list page's seven rows, joined with '|'.
    std::string ShownValues() const;

    CVirtualClock m_clock;
    CMessageBoxRecorder m_boxes;

    std::string m_password = "secret";
    // The kind of the last outcome notice shown (2 saved, 3 failed; 0 none), and the searches run.
    int m_nNoticeKind = 0;
    int m_nSearches = 0;
    // How long a schedule step waits for its answer before it looks in the simulator's log whether the
    // request got there at all (the log grows with the run; reading it is the slow way).
    DWORD m_dwAnswerWait = 25;

private:
    void OnDialog(CDialog* pDlg);
    // Follows a dialog's retry schedule: waits for each request to reach the simulator and its answer to
    // arrive, then moves the clock on by one period, until the dialog ends or nTicks periods have passed.
    void FollowSchedule(CDialog* pDlg, size_t nBase, DWORD dwPeriod, int nTicks);
    HTREEITEM FindItem(const char* pszName) const;

    const CSimLog& m_log;
    size_t m_nBase = 0;
    std::function<void()> m_body;
};
