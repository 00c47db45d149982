// CString: the portable members (everything but LoadString).
#include "String.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool InSet(char ch, LPCSTR set) {
    return ch != '\0' && std::strchr(set, ch) != nullptr;
}

int CompareChars(LPCSTR a, LPCSTR b, bool noCase) {
    for (;; ++a, ++b) {
        int ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
        if (noCase) {
            ca = std::tolower(ca);
            cb = std::tolower(cb);
        }
        if (ca != cb || ca == 0) return ca - cb;
    }
}

}  // namespace

CString::CString(LPCSTR psz) : m_str(psz ? psz : "") {}

CString::CString(LPCSTR pch, int nLength) {
    if (pch && nLength > 0) m_str.assign(pch, strnlen(pch, static_cast<size_t>(nLength)));
}

CString::CString(char ch, int nRepeat) {
    if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR psz) {
    m_str = psz ? psz : "";
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetLength() ? m_str[static_cast<size_t>(nIndex)] : '\0';
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& str) {
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    if (psz) m_str += psz;
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCSTR psz) const {
    return CompareChars(GetString(), psz ? psz : "", false);
}

int CString::CompareNoCase(LPCSTR psz) const {
    return CompareChars(GetString(), psz ? psz : "", true);
}

CString CString::Left(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(0, static_cast<size_t>(nCount)).c_str());
}

CString CString::Right(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(static_cast<size_t>(GetLength() - nCount)).c_str());
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = std::clamp(nFirst, 0, GetLength());
    nCount = std::clamp(nCount, 0, GetLength() - nFirst);
    CString r;
    r.m_str = m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount));
    return r;
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const {
    size_t n = 0;
    while (n < m_str.size() && InSet(m_str[n], pszCharSet)) ++n;
    CString r;
    r.m_str = m_str.substr(0, n);
    return r;
}

CString& CString::MakeUpper() {
    for (char& ch : m_str) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::MakeLower() {
    for (char& ch : m_str) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::TrimLeft() {
    return TrimLeft(" \t\r\n\v\f");
}
CString& CString::TrimRight() {
    return TrimRight(" \t\r\n\v\f");
}
CString& CString::Trim(LPCSTR pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft(LPCSTR pszTargets) {
    size_t n = 0;
    while (n < m_str.size() && InSet(m_str[n], pszTargets)) ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight(LPCSTR pszTargets) {
    size_t n = m_str.size();
    while (n > 0 && InSet(m_str[n - 1], pszTargets)) --n;
    m_str.resize(n);
    return *this;
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || nStart >= GetLength()) return -1;
    size_t i = m_str.find(ch, static_cast<size_t>(nStart));
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || nStart > GetLength()) return -1;
    size_t i = m_str.find(pszSub, static_cast<size_t>(nStart));
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::ReverseFind(char ch) const {
    size_t i = m_str.rfind(ch);
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::Replace(char chOld, char chNew) {
    int n = 0;
    for (char& ch : m_str)
        if (ch == chOld) {
            ch = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
    if (!pszOld || !*pszOld) return 0;
    std::string from(pszOld), to(pszNew ? pszNew : "");
    int n = 0;
    for (size_t i = m_str.find(from); i != std::string::npos; i = m_str.find(from, i + to.size())) {
        m_str.replace(i, from.size(), to);
        ++n;
    }
    return n;
}

int CString::Remove(char ch) {
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, LPCSTR psz) {
    nIndex = std::clamp(nIndex, 0, GetLength());
    if (psz) m_str.insert(static_cast<size_t>(nIndex), psz);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex >= 0 && nIndex < GetLength() && nCount > 0)
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args) {
    // Formatted apart first: the arguments may point into this string.
    CString tail;
    tail.FormatV(pszFormat, args);
    *this += tail;
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
        return;
    }
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), pszFormat, args);
    out.resize(static_cast<size_t>(n));
    m_str = std::move(out);
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
    return m_str.data();
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
bool operator<(const CString& a, LPCSTR b) {
    return a.Compare(b) < 0;
}
bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
bool operator>(const CString& a, LPCSTR b) {
    return a.Compare(b) > 0;
}
bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
