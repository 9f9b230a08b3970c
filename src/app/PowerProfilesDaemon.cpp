#include "app/PowerProfilesDaemon.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <array>

namespace solvane::app {

namespace {

// Where the daemon answers: bus name, object path and interface, newest first.
struct DaemonAddress {
    const char* service;
    const char* path;
    const char* interface;
};

constexpr std::array<DaemonAddress, 2> kDaemonAddresses{{
    {"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles",
     "org.freedesktop.UPower.PowerProfiles"},
    {"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "net.hadess.PowerProfiles"},
}};

constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";

QDBusMessage propertiesCall(const DaemonAddress& address, const char* method) {
    auto call = QDBusMessage::createMethodCall(
        QString::fromLatin1(address.service), QString::fromLatin1(address.path),
        QString::fromLatin1(kPropertiesInterface), QString::fromLatin1(method));
    call << QString::fromLatin1(address.interface);
    return call;
}

// The names of the profiles in the daemon's Profiles property (an array of dictionaries).
std::vector<std::string> profileNames(const QVariant& property) {
    std::vector<std::string> names;
    if (!property.canConvert<QDBusArgument>())
        return names;
    const auto list = property.value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QVariantMap entry;
        list >> entry;
        if (const auto name = entry.value(QStringLiteral("Profile")).toString(); !name.isEmpty())
            names.push_back(name.toStdString());
    }
    list.endArray();
    return names;
}

bool notRunning(const QDBusMessage& reply) {
    const auto error = reply.errorName();
    return error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

PowerProfilesDaemon::PowerProfilesDaemon(QDBusConnection bus) : m_bus(std::move(bus)) {}

platform::PowerProfileOffer PowerProfilesDaemon::offer() {
    platform::PowerProfileOffer offer;
    if (!m_bus.isConnected()) {
        offer.problem = "no system bus for power-profiles-daemon";
        return offer;
    }
    QDBusMessage failed;
    for (std::size_t i = 0; i < kDaemonAddresses.size(); ++i) {
        const auto reply =
            m_bus.call(propertiesCall(kDaemonAddresses[i], "GetAll"), QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            // The first address's failure is the one worth telling unless the second says more.
            if (failed.type() == QDBusMessage::InvalidMessage || notRunning(failed))
                failed = reply;
            continue;
        }
        const auto properties = qdbus_cast<QVariantMap>(reply.arguments().value(0));
        offer.active = properties.value(QStringLiteral("ActiveProfile")).toString().toStdString();
        offer.profiles = profileNames(properties.value(QStringLiteral("Profiles")));
        m_address = i;
        return offer;
    }
    offer.problem = notRunning(failed)
                        ? std::string("power-profiles-daemon is not running")
                        : "power-profiles-daemon did not answer: " + failed.errorMessage().toStdString();
    return offer;
}

std::string PowerProfilesDaemon::setProfile(const std::string& profile) {
    auto call = propertiesCall(kDaemonAddresses[m_address], "Set");
    call << QStringLiteral("ActiveProfile")
         << QVariant::fromValue(QDBusVariant(QString::fromStdString(profile)));
    const auto reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {};
    return "power-profiles-daemon refused the profile \"" + profile +
           "\": " + reply.errorMessage().toStdString();
}

} // namespace solvane::app
