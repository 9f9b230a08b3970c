// skingen: draws every skin picture the program loads into the program's folder, and with a second
// folder the program's icon for the desktop's icon theme.
// Usage: skingen OUTPUT_FOLDER [ICON_THEME_FOLDER]
#include "SkinArt.h"
#include "WindowArt.h"

#include <QDir>
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace solvane;

namespace {

bool save(const QImage& image, const QDir& folder, const QString& file, const char* format) {
    const QString path = folder.filePath(file);
    if (image.isNull() || !image.save(path, format)) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QString fileName(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The sizes menus, panels and software centres ask the icon theme for, in pixels.
constexpr std::array kThemeIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon at every size as the theme keeps it: SIZExSIZE/apps/solvane.png.
bool saveThemeIcons(const QDir& theme) {
    bool written = true;
    for (const int size : kThemeIconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!theme.mkpath(folder)) {
            std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(theme.filePath(folder)));
            return false;
        }
        written &= save(skingen::drawAppIcon(size), QDir(theme.filePath(folder)),
                        QStringLiteral("solvane.png"), "PNG");
    }
    return written;
}

} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs fonts but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER [ICON_THEME_FOLDER]\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool written = true;
    for (const auto& bitmap : ui::skin::kBitmaps)
        written &= save(skingen::drawBitmap(bitmap), folder, fileName(bitmap.file), "BMP");
    std::vector<ui::skin::MainButton> buttons(ui::skin::kMainButtons.begin(), ui::skin::kMainButtons.end());
    buttons.push_back(ui::skin::kWidePciButton);
    for (const auto& button : buttons)
        for (std::size_t state = 0; state < ui::skin::kMainButtonStateEndings.size(); ++state)
            written &=
                save(skingen::drawMainButton(button, static_cast<ui::skin::State>(state)), folder,
                     fileName(button.baseName) + fileName(ui::skin::kMainButtonStateEndings[state]), "BMP");
    written &= save(skingen::drawAppIcon(48), folder, fileName(ui::skin::kAppIconFile), "ICO");
    if (argc == 3)
        written &= saveThemeIcons(QDir(QString::fromLocal8Bit(argv[2])));
    return written ? EXIT_SUCCESS : EXIT_FAILURE;
}
