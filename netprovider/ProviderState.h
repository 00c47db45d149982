// The test network provider's shared state: its connections and the failures it is told to give, kept as
// text in one file so that every process of a Wine prefix sees the same. Portable (no Windows headers).
//
// File format, one record a line, fields separated by tabs:
//   conn <local name, e.g. Z: or empty> <remote name>
//   fail <call, e.g. NPAddConnection3> <error code> <times left, -1 for always>
//   group <name>        a workgroup of the network neighbourhood, in the order the provider lists them
// Unknown lines are kept as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CProviderState {
public:
    struct Connection {
        std::string localName;  // "Z:" (upper case) or empty for a connection without a device
        std::string remoteName;
    };
    struct Failure {
        std::string call;
        uint32_t code;
        int timesLeft;  // -1: every time
    };

    void Parse(const std::string& text);
    std::string Serialize() const;

    const std::vector<Connection>& Connections() const { return m_connections; }
    // By local name, drive letters compared without regard to case; nullptr when there is none.
    const Connection* FindByLocal(const std::string& localName) const;
    // By remote name, for connections without a device.
    const Connection* FindDevicelessByRemote(const std::string& remoteName) const;
    void Add(const Connection& connection);

    // The workgroups the provider lists as its children in a global enumeration.
    const std::vector<std::string>& Workgroups() const { return m_workgroups; }
    // Names with a tab or a line break, or empty ones, are left out.
    void SetWorkgroups(const std::vector<std::string>& names);
    // Removes the connection FindByLocal (or, for a name without a colon, FindDevicelessByRemote) finds.
    bool Remove(const std::string& name);

    // The code a call is to fail with, 0 when it is to go on; a counted failure is used up by the call.
    uint32_t TakeFailure(const std::string& call);
    void SetFailure(const std::string& call, uint32_t code, int times);
    void ClearFailures();

    // "z:" and "Z:" give "Z:"; anything that is not a drive letter and a colon gives an empty text.
    static std::string NormalizeDrive(const std::string& localName);
    // \\server\share with non-empty server and share parts.
    static bool IsUncPath(const std::string& remoteName);
    // Always-failing rules from a list "call:code,call:code" (as set in an environment variable).
    static std::vector<Failure> ParseFailureList(const std::string& list);

private:
    std::vector<Connection> m_connections;
    std::vector<Failure> m_failures;
    std::vector<std::string> m_workgroups;
    std::vector<std::string> m_otherLines;
};
