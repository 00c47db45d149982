// Drive letters defined through Wine's mount manager, so that GetDriveType reports a network drive.
#pragma once

#include <windows.h>

#include <string>

// Points the letter, as a remote drive (DRIVE_REMOTE), at the prefix's folder dosdevices/unc/SERVER/SHARE
// for the UNC path \\SERVER\SHARE, which is where Wine keeps UNC paths and from which its WNetGetConnection
// reads the remote name. The folder is created when missing.
bool DefineRemoteDrive(wchar_t letter, const std::wstring& remoteName);
// Takes the letter's definition away.
bool RemoveDriveDefinition(wchar_t letter);
