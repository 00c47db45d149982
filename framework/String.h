// CString: the library's 8-bit string. Value semantics over std::string; GetBuffer/ReleaseBuffer hand out a
// writable buffer for the API calls that fill one. No Win32 dependency except LoadString (StringResource.cpp).
#pragma once

#include <cstdarg>
#include <string>

#include "Types.h"

#ifdef __MINGW32__
#define ZT_PRINTF_FORMAT(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define ZT_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz);               // NULL gives the empty string
    CString(LPCSTR pch, int nLength);  // the first nLength characters (fewer if pch is shorter)
    CString(char ch, int nRepeat = 1);
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    operator LPCSTR() const { return m_str.c_str(); }
    // Out-of-range indexes read as NUL and writes to them are ignored.
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);
    // An LPCSTR on either side converts (NULL as the empty string). char has its own overload: a string
    // also converts to LPCSTR, so "str + ch" would otherwise be as near to pointer arithmetic as to this.
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, char b);

    // strcmp / stricmp results: negative, 0 or positive.
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(LPCSTR pszTargets);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight(LPCSTR pszTargets);

    // Index of the first match at or after nStart, -1 when there is none.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    void Format(LPCSTR pszFormat, ...) ZT_PRINTF_FORMAT(2, 3);
    void AppendFormat(LPCSTR pszFormat, ...) ZT_PRINTF_FORMAT(2, 3);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormatV(LPCSTR pszFormat, va_list args);

    // Loads string table entry nID of the program's resources; FALSE (string emptied) when there is none.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinBufLength characters plus a NUL, holding the current text.
    // ReleaseBuffer(-1) takes the length up to the first NUL; ReleaseBuffer(n) keeps n characters.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);
