// CheckNumber: the one check of a numeric text field (IP settings and server pages). Portable.
#pragma once

// Results of CheckNumber.
#define CHECK_NUMBER_VALID 1
#define CHECK_NUMBER_NOT_DIGIT (-1)
#define CHECK_NUMBER_LENGTH (-2)
#define CHECK_NUMBER_RANGE (-3)
#define CHECK_NUMBER_EMPTY (-4)

// Length rules of nFlags; other bits have no effect.
#define CHECK_NUMBER_MAX_LEN 1    // at most n characters
#define CHECK_NUMBER_EXACT_LEN 2  // exactly n characters

// 1 when pszText is a decimal number of the length rules within nMin..nMax; otherwise the first broken
// rule in the order empty (-4), not a digit (-1), length (-2), range (-3).
int CheckNumber(const char* pszText, int nMin, int nMax, int n, int nFlags);
