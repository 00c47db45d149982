// CConfigClient: the tool's transactions with the configuration service (UDP 915) on the wizard's rules:
// the search over every local address, the settings read, the password check and the settings write, each
// with its schedule, acceptance test and receiver fix-ups from the shared core. Blocks while it waits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DatagramSocket.h"
#include "DeviceInfo.h"
#include "DeviceList.h"
#include "PacketHeader.h"
#include "SearchSchedule.h"

class CConfigClient {
public:
    enum class Outcome { Ok, NoAnswer, Refused, NetworkError };
    struct Result {
        Outcome outcome = Outcome::Ok;
        int nStatus = 0;    // the appliance's result code when refused
        std::string error;  // the platform's text of a network error
    };

    explicit CConfigClient(std::vector<LocalInterface> interfaces) : m_interfaces(std::move(interfaces)) {}

    // Searches through every local address, adding each accepted reply to list. Ends when the schedule is
    // over, after nLimitMs (0: no limit), or as soon as bEnough says the list holds what the caller needs.
    Result Search(CDeviceList& list, uint32_t nLimitMs, const std::function<bool(const CDeviceList&)>& bEnough);
    // The appliance's info and settings as the device list page reads them.
    Result Read(const DeviceEntry& entry, DeviceInfo& info);
    Result CheckPassword(const DeviceEntry& entry, const char* pszPassword);
    Result Write(const DeviceEntry& entry, const DeviceSettings& settings);

    const std::vector<LocalInterface>& Interfaces() const { return m_interfaces; }
    // The interface an entry was found through; nullptr when the search was not bound to one.
    const LocalInterface* FoundThrough(const DeviceEntry& entry) const;

private:
    using Acceptor = std::function<bool(const uint8_t* pData, size_t nLength, uint32_t sender)>;
    Result Transact(const DeviceEntry& entry, uint16_t wType, uint8_t (&packet)[MAX_PACKET],
                    const RetrySchedule& schedule, const Acceptor& accept);
    Result NetworkError(const IDatagramSocket& socket) const;
    uint16_t NextSequence();

    std::vector<LocalInterface> m_interfaces;
    uint16_t m_wSequence = 0;
};
