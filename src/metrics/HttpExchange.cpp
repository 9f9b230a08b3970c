#include "metrics/HttpExchange.h"

#include "history/MetricsText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace solvane::metrics {

namespace {

struct Status {
    int code;
    std::string_view reason;
};

constexpr std::array<Status, 5> kStatuses{{
    {200, "OK"},
    {400, "Bad Request"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {431, "Request Header Fields Too Large"},
}};

std::string_view reasonOf(int code) {
    const auto* found =
        std::find_if(kStatuses.begin(), kStatuses.end(), [code](const Status& s) { return s.code == code; });
    return found == kStatuses.end() ? "Error" : found->reason;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

HttpAnswer answer(int code, std::string_view contentType, const std::string& body, bool withBody, bool close,
                  std::string_view extraField = {}) {
    std::string head = "HTTP/1.1 " + std::to_string(code) + " " + std::string(reasonOf(code)) + "\r\n";
    head.append("Content-Type: ").append(contentType).append("\r\n");
    head.append("Content-Length: ").append(std::to_string(body.size())).append("\r\n");
    if (!extraField.empty())
        head.append(extraField).append("\r\n");
    if (close)
        head.append("Connection: close\r\n");
    head.append("\r\n");
    if (withBody)
        head += body;
    return {std::move(head), close};
}

constexpr std::string_view kPlainText = "text/plain; charset=utf-8";

} // namespace

std::optional<std::size_t> requestHeadEnd(std::string_view bytes) {
    // A bare LF ends lines too, as lenient servers take it.
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        if (at + 1 < bytes.size() && bytes[at + 1] == '\n')
            return at + 2;
        if (at + 2 < bytes.size() && bytes[at + 1] == '\r' && bytes[at + 2] == '\n')
            return at + 3;
    }
    return std::nullopt;
}

std::optional<HttpRequest> parseRequestHead(std::string_view head) {
    const auto lineEnd = head.find('\n');
    const auto line = trimmed(head.substr(0, lineEnd));
    const auto firstSpace = line.find(' ');
    const auto lastSpace = line.rfind(' ');
    if (firstSpace == std::string_view::npos || lastSpace == firstSpace)
        return std::nullopt;
    const auto version = line.substr(lastSpace + 1);
    if (!version.starts_with("HTTP/1."))
        return std::nullopt;
    HttpRequest request;
    request.method = std::string(line.substr(0, firstSpace));
    auto target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    request.path = std::string(target.substr(0, target.find('?')));
    request.keepAlive = version != "HTTP/1.0";
    for (auto rest = head.substr(lineEnd == std::string_view::npos ? head.size() : lineEnd + 1);
         !rest.empty();) {
        const auto end = rest.find('\n');
        const auto field = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const auto colon = field.find(':');
        if (colon == std::string_view::npos)
            continue;
        const auto name = lowered(trimmed(field.substr(0, colon)));
        const auto value = lowered(trimmed(field.substr(colon + 1)));
        if (name == "connection")
            request.keepAlive = value.find("close") == std::string::npos &&
                                (request.keepAlive || value.find("keep-alive") != std::string::npos);
        else if (name == "transfer-encoding" || (name == "content-length" && value != "0"))
            request.hasBody = true;
    }
    return request;
}

HttpAnswer answerRequest(const HttpRequest& request, const std::function<std::string()>& metrics) {
    const bool close = !request.keepAlive || request.hasBody;
    if (request.path != "/metrics")
        return answer(404, kPlainText, "Not Found\n", request.method != "HEAD", close);
    if (request.method != "GET" && request.method != "HEAD")
        return answer(405, kPlainText, "Method Not Allowed\n", true, close, "Allow: GET, HEAD");
    return answer(200, history::kMetricsContentType, metrics(), request.method == "GET", close);
}

HttpAnswer errorAnswer(int status) {
    return answer(status, kPlainText, std::string(reasonOf(status)) + "\n", true, true);
}

} // namespace solvane::metrics
