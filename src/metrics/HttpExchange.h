#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::metrics {

// One request of the metrics endpoint, from its head (request line and header fields, up to and
// including the blank line), and the answer to it. No sockets: the endpoint feeds it bytes.
struct HttpRequest {
    std::string method;
    std::string path; // without its query
    bool keepAlive = true;
    bool hasBody = false; // the endpoint takes no body; the connection ends after the answer
};

// Longest request head taken; a longer one is answered 431 and the connection closed.
inline constexpr std::size_t kMaxRequestHeadBytes = 8192;

// Where the head ends (just past its blank line) in `bytes`, if it is complete.
std::optional<std::size_t> requestHeadEnd(std::string_view bytes);
// The request, or nothing when the head is not HTTP/1.x (answered 400).
std::optional<HttpRequest> parseRequestHead(std::string_view head);

struct HttpAnswer {
    std::string bytes;
    bool close = false; // close the connection once the answer is sent
};
// GET /metrics: the text; HEAD /metrics: its head alone; other methods 405, other paths 404.
// `metrics` is asked only for an answer that carries them.
HttpAnswer answerRequest(const HttpRequest& request, const std::function<std::string()>& metrics);
// A status with a short text body, closing the connection (400, 431).
HttpAnswer errorAnswer(int status);

} // namespace solvane::metrics
