#include "ui/SharedSkinPictures.h"

#include <QFile>
#include <QHash>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace solvane::ui {

namespace {

using Picture = std::shared_ptr<const QImage>;

// What tells one version of a file from the next without reading it.
struct FileStamp {
    off_t size = -1;
    timespec modified{};

    bool operator==(const FileStamp& other) const {
        return size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct Entry {
    std::weak_ptr<const QImage> picture;
    FileStamp stamp;
};

std::optional<FileStamp> stampOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileStamp{status.st_size, status.st_mtim};
}

QHash<QString, Entry>& entries() {
    static QHash<QString, Entry> decoded;
    return decoded;
}

void releaseHold(void* hold) {
    delete static_cast<Picture*>(hold);
}

// An image over the shared pixels that keeps them alive until it (and every copy of it) is gone.
// Drawing reads the pixels in place; a control that paints into its copy gets its own pixels.
QImage handOut(const Picture& picture) {
    return QImage(picture->constBits(), picture->width(), picture->height(), picture->bytesPerLine(),
                  picture->format(), releaseHold, new Picture(picture));
}

QImage decode(const QString& path) {
    QImage image(path);
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage loadBitmapFile(const QString& path) {
    auto& decoded = entries();
    const auto stamp = stampOf(path);
    if (!stamp) {
        decoded.remove(path);
        return {};
    }
    if (const auto found = decoded.constFind(path); found != decoded.constEnd() && found->stamp == *stamp)
        if (const Picture held = found->picture.lock())
            return handOut(held);
    QImage image = decode(path);
    decoded.removeIf([](const auto& entry) { return entry.value().picture.expired(); });
    if (image.isNull()) {
        decoded.remove(path);
        return {};
    }
    const auto picture = std::make_shared<const QImage>(std::move(image));
    decoded.insert(path, Entry{picture, *stamp});
    return handOut(picture);
}

bool bitmapFileDecoded(const QString& path) {
    const auto found = entries().constFind(path);
    return found != entries().constEnd() && !found->picture.expired();
}

} // namespace solvane::ui
