#include "metrics/MetricsEndpoint.h"

#include "history/MetricsText.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>

namespace solvane::metrics {

MetricsEndpoint::MetricsEndpoint(Source source)
    : m_server(std::make_unique<QHttpServer>()), m_source(std::move(source)) {
    m_server->route(QStringLiteral("/metrics"), QHttpServerRequest::Method::Get, [this] {
        const auto text = m_source();
        return QHttpServerResponse(QByteArray(history::kMetricsContentType.data(),
                                              static_cast<qsizetype>(history::kMetricsContentType.size())),
                                   QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    });
}

MetricsEndpoint::~MetricsEndpoint() = default;

quint16 MetricsEndpoint::listen(const history::ListenAddress& where, std::string& error) {
    const auto port = m_server->listen(QHostAddress(QString::fromStdString(where.host)), where.port);
    if (port == 0)
        error = "cannot listen on " + where.host + ":" + std::to_string(where.port);
    return port;
}

} // namespace solvane::metrics
