#pragma once

#include "history/ListenAddress.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QHttpServer;

namespace solvane::metrics {

// Serves GET /metrics with the text the source gives at that moment; every other path is 404.
class MetricsEndpoint {
public:
    using Source = std::function<std::string()>;

    explicit MetricsEndpoint(Source source);
    ~MetricsEndpoint();
    MetricsEndpoint(const MetricsEndpoint&) = delete;
    MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

    // The port it listens on (useful with port 0), or 0 with `error` set.
    quint16 listen(const history::ListenAddress& where, std::string& error);

private:
    std::unique_ptr<QHttpServer> m_server;
    Source m_source;
};

} // namespace solvane::metrics
