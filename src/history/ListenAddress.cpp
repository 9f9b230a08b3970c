#include "history/ListenAddress.h"

#include <arpa/inet.h>
#include <charconv>

namespace solvane::history {

std::optional<ListenAddress> parseListenAddress(std::string_view text) {
    ListenAddress where;
    std::string_view portText = text;
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        auto host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        const bool bracketed = host.starts_with('[') && host.ends_with(']');
        if (bracketed)
            host = host.substr(1, host.size() - 2);
        const std::string numeric(host);
        unsigned char address[16];
        if (bracketed ? inet_pton(AF_INET6, numeric.c_str(), address) != 1
                      : inet_pton(AF_INET, numeric.c_str(), address) != 1)
            return std::nullopt;
        where.host = numeric;
    }
    unsigned port = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() || port > 65535)
        return std::nullopt;
    where.port = static_cast<std::uint16_t>(port);
    return where;
}

std::string metricsUrl(const ListenAddress& where, std::uint16_t port) {
    const bool ipv6 = where.host.find(':') != std::string::npos;
    return "http://" + (ipv6 ? "[" + where.host + "]" : where.host) + ":" + std::to_string(port) + "/metrics";
}

} // namespace solvane::history
