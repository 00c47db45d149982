// JSON-lines log of datagrams and events.
#include "JsonLog.h"

#include "TextFormat.h"
#include "UsbPacket.h"

#include <ctime>
#include <sys/time.h>

std::string CJsonLog::Format(const std::string& time, int64_t nowMs, const char* dir, const Datagram* d,
                             const std::string& appliance, const std::string& note) {
    std::string out = "{\"time\":" + JsonString(time) + ",\"ms\":" + std::to_string(nowMs) + ",\"dir\":\"" + dir +
                      "\",\"appliance\":" + JsonString(appliance);
    if (d) {
        const char* service = d->localPort == CONFIG_PORT        ? "config"
                              : d->localPort == USB_SERVICE_PORT ? "usb"
                                                                 : "other";
        out += std::string(",\"service\":\"") + service +
               "\",\"local\":" + JsonString(FormatEndpoint(d->localAddress, d->localPort)) +
               ",\"peer\":" + JsonString(FormatEndpoint(d->peerAddress, d->peerPort)) +
               ",\"size\":" + std::to_string(d->bytes.size()) +
               ",\"hex\":" + JsonString(ToHex(d->bytes.data(), d->bytes.size())) + ",\"decoded\":" +
               (d->localPort == USB_SERVICE_PORT ? DescribeUsbPacket(d->bytes.data(), d->bytes.size())
                                                 : DescribeConfigPacket(d->bytes.data(), d->bytes.size()));
    }
    out += ",\"note\":" + JsonString(note) + "}";
    return out;
}

void CJsonLog::Write(int64_t nowMs, const char* dir, const Datagram* datagram, const std::string& appliance,
                     const std::string& note) {
    if (!m_file) return;
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm utc;
    gmtime_r(&tv.tv_sec, &utc);
    char stamp[40];
    size_t n = strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &utc);
    snprintf(stamp + n, sizeof stamp - n, ".%03dZ", static_cast<int>(tv.tv_usec / 1000));
    std::string line = Format(stamp, nowMs, dir, datagram, appliance, note);
    fputs(line.c_str(), m_file);
    fputc('\n', m_file);
    fflush(m_file);
}
