#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::history {

// Where the metrics endpoint listens: "ADDRESS:PORT", or "PORT" alone for 127.0.0.1. The address is
// numeric, IPv4 or IPv6 in brackets ("[::1]:9101"); port 0 takes a free one.
struct ListenAddress {
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;
};
std::optional<ListenAddress> parseListenAddress(std::string_view text);
// "http://HOST:PORT/metrics", an IPv6 host in brackets.
std::string metricsUrl(const ListenAddress& where, std::uint16_t port);

} // namespace solvane::history
