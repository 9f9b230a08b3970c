#pragma once

#include "ui/SharedSkinPictures.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

namespace solvane::ui {

// The program's resources: the skin pictures live as files in one folder (the program's own
// folder), named by the skin catalogue; cursors and icons map to the system's look.
class SkinResources {
public:
    explicit SkinResources(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    // The resources beside the running program.
    static SkinResources program();

    const std::filesystem::path& folder() const { return m_folder; }
    // Full path of a file in the resource folder.
    QString filePath(std::string_view file) const;

    // A bitmap resource by number: a null image for an unknown number or a missing file.
    QImage bitmap(int resourceId) const;
    // The file of a bitmap resource; none for an unknown number.
    std::optional<QString> bitmapFile(int resourceId) const;
    // A cursor resource; none for an unknown number.
    std::optional<QCursor> cursor(int resourceId) const;
    // An icon resource; a null icon for an unknown number or a missing file.
    QIcon icon(int resourceId) const;

private:
    std::filesystem::path m_folder;
};

} // namespace solvane::ui
