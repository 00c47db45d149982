// CMappingOrigins: which appliance may say that a mapped disk is gone. A removal notice cancels the mapping
// and forgets the remembered connection, and the protocol carries no proof of who sent it, so only the address
// that serves the path is heard: for a mapping this utility made, the address that announced the disk it
// offered; for one made before (an earlier run, another program), the addresses that announce the same path in
// a discovery. Portable; the frame and the mapping dialog feed it, the frame asks it.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// Addresses kept per path mapped before: an appliance on several of the PC's segments answers once per segment.
constexpr size_t MAX_ANNOUNCERS_PER_PATH = 4;

class CMappingOrigins {
public:
    // The utility mapped path, offered as announced by address: from now on only address speaks for it.
    void Mapped(const std::string& path, const std::string& address);

    // A discovery's replies (paths and their senders in parallel). mappedPaths are the remote names of the
    // connections that exist now: what is known of other paths is forgotten, and a mapped path the utility
    // did not map itself is spoken for by the addresses that announce it here.
    void Discovered(const std::vector<std::string>& paths, const std::vector<std::string>& senders,
                    const std::vector<std::string>& mappedPaths);

    // True when a removal notice for path from address is to be acted on.
    bool MaySpeakFor(const std::string& path, const std::string& address) const;

    size_t GetCount() const { return m_origins.size(); }

private:
    struct Origin {
        bool mappedHere = false;
        std::vector<std::string> addresses;
    };
    std::map<std::string, Origin> m_origins;
};
