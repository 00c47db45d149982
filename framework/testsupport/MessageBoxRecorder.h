// CMessageBoxRecorder: a message-box source for tests (see MessageBoxSource.h for the seam). Each box is
// recorded and answered at once: with the next queued answer, else with the callback's answer, else with
// the default answer (IDOK unless changed).
#pragma once

#include <functional>
#include <vector>

#include "MessageBoxSource.h"
#include "String.h"

class CMessageBoxRecorder : public CMessageBoxSource {
public:
    struct Box {
        HWND hWndOwner;
        CString text;
        CString caption;
        UINT nType;
        UINT Icon() const { return nType & MB_ICONMASK; }     // MB_ICONEXCLAMATION, MB_ICONINFORMATION, ...
        UINT Buttons() const { return nType & MB_TYPEMASK; }  // MB_OK, MB_YESNO, ...
    };
    // Called for a box when no answer is queued; its result is the answer (0: the default answer).
    typedef std::function<int(const Box& box)> Callback;

    // Installs itself; the destructor puts the previous source back.
    CMessageBoxRecorder();
    ~CMessageBoxRecorder() override;

    int MessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) override;

    void QueueAnswer(int nButton) { m_answers.push_back(nButton); }
    void SetDefaultAnswer(int nButton) { m_nDefaultAnswer = nButton; }
    void SetCallback(Callback callback) { m_callback = std::move(callback); }

    int GetCount() const { return static_cast<int>(m_boxes.size()); }
    const Box& GetAt(int nIndex) const { return m_boxes.at(static_cast<size_t>(nIndex)); }
    // The last box shown; a test must check GetCount() first.
    const Box& Last() const { return m_boxes.back(); }
    void Clear() { m_boxes.clear(); }

private:
    CMessageBoxSource* m_pPrevious;
    std::vector<Box> m_boxes;
    std::vector<int> m_answers;
    Callback m_callback;
    int m_nDefaultAnswer = IDOK;
};
