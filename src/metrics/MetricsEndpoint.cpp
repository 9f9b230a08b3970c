#include "metrics/MetricsEndpoint.h"

#include "history/MetricsText.h"

#include <QHttpServer>
#include <QHttpServerResponse>
#include <charconv>

namespace solvane::metrics {

std::optional<ListenAddress> parseListenAddress(std::string_view text) {
    ListenAddress where{QHostAddress(QHostAddress::LocalHost), 0};
    std::string_view portText = text;
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        auto host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (host.starts_with('[') && host.ends_with(']'))
            host = host.substr(1, host.size() - 2);
        if (!host.empty() &&
            !where.address.setAddress(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size()))))
            return std::nullopt;
    }
    unsigned port = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() || port > 65535)
        return std::nullopt;
    where.port = static_cast<quint16>(port);
    return where;
}

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

quint16 MetricsEndpoint::listen(const ListenAddress& where, std::string& error) {
    const auto port = m_server->listen(where.address, where.port);
    if (port == 0)
        error =
            "cannot listen on " + where.address.toString().toStdString() + ":" + std::to_string(where.port);
    return port;
}

} // namespace solvane::metrics
