// CMappingOrigins (see MappingOrigins.h).
#include "MappingOrigins.h"

#include <algorithm>

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

void CMappingOrigins::Mapped(const std::string& path, const std::string& address) {
    m_origins[path] = Origin{true, {address}};
}

void CMappingOrigins::Discovered(const std::vector<std::string>& paths, const std::vector<std::string>& senders,
                                 const std::vector<std::string>& mappedPaths) {
    // Only mapped paths are kept, so what a discovery answered by a flood can add is bounded by the connections.
    for (auto it = m_origins.begin(); it != m_origins.end();) {
        it = Contains(mappedPaths, it->first) ? std::next(it) : m_origins.erase(it);
    }
    for (size_t i = 0; i < paths.size() && i < senders.size(); i++) {
        if (!Contains(mappedPaths, paths[i])) {
            continue;
        }
        Origin& origin = m_origins[paths[i]];
        if (origin.mappedHere || Contains(origin.addresses, senders[i]) ||
            origin.addresses.size() >= MAX_ANNOUNCERS_PER_PATH) {
            continue;
        }
        origin.addresses.push_back(senders[i]);
    }
}

bool CMappingOrigins::MaySpeakFor(const std::string& path, const std::string& address) const {
    auto found = m_origins.find(path);
    return found != m_origins.end() && Contains(found->second.addresses, address);
}
