// The rules of the fields the user types into on the IP settings and server pages: the checks run on
// every change, and how the texts are stored into and loaded from the settings record. Portable.
#pragma once

#include <cstdint>

#include "../link/DeviceSettings.h"

// ---- IP settings page ----

constexpr int IP_FIELD_COUNT = 20;
// Check order of the twenty octet edits: address 0-3, mask 4-7, gateway 8-11, DHCP range 12-19
// (15 and 16 are the two range octets a user can type into).
constexpr int IP_FIELD_RANGE_START_LAST = 15;
constexpr int IP_FIELD_RANGE_FINISH_LAST = 16;

struct IpCheckOutcome {
    int nResult;  // CheckNumber result of the field the check stopped at; 1 when none stopped it
    int nField;   // index of that field, -1 when none
    int nMin, nMax;
};

// The check of the octets while the user types. texts: the edits' texts in check order (each read as at
// most four characters). Nothing is checked for a DHCP client. Empty address and mask octets (and the
// address copies 12-14) pass; an empty gateway or range octet stops the check.
IpCheckOutcome CheckIpFields(const char* const (&texts)[IP_FIELD_COUNT], bool bFixedIp, bool bDhcpServerOn);

// The byte stored for an octet edit: its decimal value, 0 for an empty or non-numeric text, the low 8 bits
// of a larger value. At most four characters are read.
uint8_t OctetValue(const char* pszText);

// ---- Server page ----

// 0 when the name holds one of " ' * + , . / : ; < = > ? [ \ ] ` |, else 1; the server name also refuses a space.
int CheckNameChars(const char* pszText);
int CheckServerNameChars(const char* pszText);

// Days of a month by its typed value (0 for an empty text): 29 in February of a Gregorian leap year,
// 30 for any value that is not a month of 31 days or February.
int DaysInMonth(int nMonth, int nYear);

// Decimal value of a digit text as the page reads it (0 when empty or not a number).
int TextValue(const char* pszText);

enum class ServerMessage {
    None,
    ServerNameChars,  // 61276
    WorkgroupChars,   // 61266
    NotNumeric,       // 61206
    Range,            // "Value must be between %d and %d", then the field is emptied
};

enum class ServerField { None, Month, Day, Year, Hour, Minute };

struct ServerPageTexts {
    const char* pszServerName;
    const char* pszWorkgroup;
    const char* pszMonth;
    const char* pszDay;
    const char* pszYear;
    const char* pszHour;
    const char* pszMinute;
};

struct ServerCheckOutcome {
    int bComplete;  // every field complete and valid
    ServerMessage message;
    ServerField field;  // the field of a NotNumeric or Range message
    int nMin, nMax;
};

// The whole check of the server page; the first invalid field ends it. A year of fewer than four digits
// counts as a leap year for the days of February.
ServerCheckOutcome CheckServerPage(const ServerPageTexts& texts);

// The stored time HH:MM:SS from the 12-hour fields: positions not typed are '0', seconds "00".
void StoreTime(const char* pszHour, const char* pszMinute, bool bPm, char (&szTime)[9]);
// The stored date MM/DD/YYYY from the three fields, missing digits '0'.
void StoreDate(const char* pszMonth, const char* pszDay, const char* pszYear, char (&szDate)[11]);

struct LoadedClock {
    char szMonth[3], szDay[3], szYear[5];  // date parts as stored, leading zeros kept
    char szHour[3];                        // 12-hour value without leading zero
    char szMinute[3];
    bool bPm;
};
// Splits the stored date and time (terminated or not) into the page's fields.
LoadedClock LoadClock(const char (&szDate)[11], const char (&szTime)[9]);

// The stored index if it is one of the 63 time zones, else the default 4.
int32_t NormalizeTimeZone(int32_t nTimeZone);
constexpr int32_t DEFAULT_TIME_ZONE = 4;

// Copies the text, leading and trailing white space removed, at most nMax characters, into a zero-filled
// field of nFieldSize bytes (nMax < nFieldSize).
void StoreTrimmed(const char* pszText, char* pField, int nFieldSize, int nMax);

// The server name with its following note: both are cleared (64 bytes), then the trimmed name is copied.
void StoreServerName(DeviceSettings& settings, const char* pszText);

// Four octets in dotted decimal, as the pages show addresses.
void FormatDotted(const uint8_t (&abOctets)[4], char (&szText)[16]);
