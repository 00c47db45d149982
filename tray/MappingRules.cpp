// Rules of drive mapping and safe removal (see MappingRules.h).
#include "MappingRules.h"

#include <cstdio>

namespace {

struct WNetMessage {
    unsigned long code;
    const char* text;
};

const WNetMessage kWNetMessages[] = {
    {5, "Access is denied."},
    {53, "The network path was not found."},
    {66, "The network resource type is not correct."},
    {67, "The network name cannot be found."},
    {85, "The local device name is already in use."},
    {86, "The format of the specified password is invalid."},
    {170, "The requested resource is in use."},
    {1200, "The specified device name is invalid."},
    {1202, "The local device name has a remembered connection to another network resource."},
    {1203, "No network provider accepted the given network path."},
    {1204, "The specified network provider name is invalid."},
    {1205, "Unable to open the network connection profile."},
    {1206, "The network connection profile is corrupted."},
    {1208, "An extended error has occurred."},
    {1222, "The network is not present or not started."},
    {1223, "The operation was canceled by the user."},
    {2250, "This network connection does not exist."},
    {2401, "This network connection has files open or requests pending."},
    {2404, "The device is in use by an active process and cannot be disconnected."},
};

}  // namespace

bool WNetErrorText(unsigned long code, std::string& text) {
    if (code == 0 || code == 87) {
        return false;
    }
    for (const WNetMessage& m : kWNetMessages) {
        if (m.code == code) {
            text = m.text;
            return true;
        }
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "Unknown error code = %lu", code);
    text = buffer;
    return true;
}

std::vector<std::string> CandidateDriveLetters(const std::vector<std::string>& localNames) {
    std::vector<std::string> letters;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string drive{letter, ':'};
        bool listed = false;
        for (const std::string& local : localNames) {
            if (local.compare(0, 2, drive) == 0) {
                listed = true;
                break;
            }
        }
        if (!listed) {
            letters.push_back(drive);
        }
    }
    return letters;
}
