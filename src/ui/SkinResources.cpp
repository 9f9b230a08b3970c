#include "ui/SkinResources.h"

#include "platform/SystemFacts.h"
#include "ui/SkinCatalogue.h"

namespace solvane::ui {

SkinResources SkinResources::program() {
    // The program does not move while it runs: find the skins' folder once.
    static const std::filesystem::path folder = platform::HostSystemFacts().dataFolder();
    return SkinResources(folder);
}

QString SkinResources::filePath(std::string_view file) const {
    return QString::fromStdString((m_folder / std::string(file)).string());
}

QImage SkinResources::bitmap(int resourceId) const {
    const auto file = bitmapFile(resourceId);
    return file ? loadBitmapFile(*file) : QImage();
}

std::optional<QString> SkinResources::bitmapFile(int resourceId) const {
    const auto entry = skin::bitmapById(resourceId);
    return entry ? std::optional(filePath(entry->file)) : std::nullopt;
}

std::optional<QCursor> SkinResources::cursor(int resourceId) const {
    if (resourceId == skin::kHandCursorId)
        return QCursor(Qt::PointingHandCursor);
    return std::nullopt;
}

QIcon SkinResources::icon(int resourceId) const {
    if (resourceId != skin::kAppIconId)
        return {};
    const QString path = filePath(skin::kAppIconFile);
    return QImage(path).isNull() ? QIcon() : QIcon(path);
}

} // namespace solvane::ui
