// The rules of drive mapping that need no window: the messages of network-connection errors and the drive
// letters a mapping may use. Portable, so that they are tested natively.
#pragma once

#include <string>
#include <vector>

// The message for a network-connection error code, false for the codes that are never shown (0 and 87).
bool WNetErrorText(unsigned long code, std::string& text);

// "C:" to "Z:" in order, without those a listed local name already uses (same letter and colon, exact
// comparison). A: and B: are never candidates.
std::vector<std::string> CandidateDriveLetters(const std::vector<std::string>& localNames);
