// CModalHook.
#include "ModalHook.h"

namespace {

CModalHook* g_pModalHook;

}  // namespace

CModalHook::CModalHook(Handler handler) : m_handler(std::move(handler)), m_pPrevious(g_pModalHook) {
    g_pModalHook = this;
}

CModalHook::~CModalHook() {
    g_pModalHook = m_pPrevious;
}

void CModalHook::Notify(CDialog* pDialog) {
    if (g_pModalHook && g_pModalHook->m_handler) g_pModalHook->m_handler(pDialog);
}
