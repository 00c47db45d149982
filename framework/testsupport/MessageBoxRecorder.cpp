// CMessageBoxRecorder.
#include "MessageBoxRecorder.h"

CMessageBoxRecorder::CMessageBoxRecorder() : m_pPrevious(CMessageBoxSource::Install(this)) {}

CMessageBoxRecorder::~CMessageBoxRecorder() {
    CMessageBoxSource::Install(m_pPrevious);
}

int CMessageBoxRecorder::MessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    m_boxes.push_back({hWndOwner, CString(lpszText), CString(lpszCaption), nType});
    if (!m_answers.empty()) {
        int answer = m_answers.front();
        m_answers.erase(m_answers.begin());
        return answer;
    }
    if (m_callback) {
        // A copy: the callback may show boxes of its own, which grow the vector.
        Box box = m_boxes.back();
        if (int answer = m_callback(box)) return answer;
    }
    return m_nDefaultAnswer;
}
