// skin_gallery: one contact sheet of every skin picture and every skinned control in each of its
// states, to look at the skin as a whole.
// Usage: skin_gallery SKIN_FOLDER OUTPUT.png
#include "ui/BoardPictureLayout.h"
#include "ui/CAMSAlphanumericEdit.h"
#include "ui/CLabel.h"
#include "ui/CXListBox.h"
#include "ui/CxSkinButton.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"
#include "ui/SkinResources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace solvane::ui;

namespace {

const QColor kSheet{0x0b, 0x0e, 0x12};
const QColor kCaption{0xa0, 0xab, 0xb8};
constexpr int kMargin = 24;

QString name(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lays pictures out left to right in rows, each with a caption under it.
class Sheet {
public:
    explicit Sheet(int width) : m_image(width, 4000, QImage::Format_RGB32), m_painter(&m_image) {
        m_image.fill(kSheet);
        m_painter.setRenderHint(QPainter::Antialiasing);
    }

    void heading(const QString& text) {
        newRow();
        m_y += 10;
        QFont font = m_painter.font();
        font.setPixelSize(16);
        font.setBold(true);
        m_painter.setFont(font);
        m_painter.setPen(QColor(0x2e, 0xc4, 0xdc));
        m_painter.drawText(QPoint(kMargin, m_y + 16), text);
        m_y += 28;
    }

    void place(const QImage& picture, const QString& caption) {
        QFont font = m_painter.font();
        font.setPixelSize(10);
        font.setBold(false);
        m_painter.setFont(font);
        const int width = std::max(picture.width(), m_painter.fontMetrics().horizontalAdvance(caption));
        if (m_x + width > m_image.width() - kMargin)
            newRow();
        m_painter.drawImage(QPoint(m_x, m_y), picture);
        m_painter.setPen(kCaption);
        m_painter.drawText(QRect(m_x, m_y + picture.height() + 2, width + 40, 14), Qt::AlignLeft, caption);
        m_x += width + 18;
        m_rowHeight = std::max(m_rowHeight, picture.height() + 20);
    }

    QImage finish() {
        newRow();
        m_painter.end();
        return m_image.copy(0, 0, m_image.width(), m_y + kMargin);
    }

private:
    void newRow() {
        if (m_rowHeight > 0)
            m_y += m_rowHeight + 8;
        m_x = kMargin;
        m_rowHeight = 0;
    }

    QImage m_image;
    QPainter m_painter;
    int m_x = kMargin;
    int m_y = kMargin;
    int m_rowHeight = 0;
};

QImage grab(QWidget& widget) {
    widget.ensurePolished();
    return widget.grab().toImage();
}

QString stateFile(const skin::MainButton& button, std::size_t state) {
    return name(button.baseName) + name(skin::kMainButtonStateEndings[state]);
}

// The main window as the program assembles it, with one page in its frame: the buttons of one
// group of pages, the current ones in their disabled (selected) look.
QImage mainWindow(const SkinResources& skins, int pageId, std::initializer_list<int> shown,
                  std::initializer_list<int> current) {
    QImage window = loadBitmapFile(skins.filePath(skin::kWindowBackgroundFile));
    if (window.isNull())
        return window;
    QPainter painter(&window);
    painter.drawImage(QPoint(skin::kPageFrame.x, skin::kPageFrame.y), skins.bitmap(pageId));
    for (const auto& button : skin::kMainButtons) {
        const bool always =
            button.look == skin::MainButtonLook::Section || button.look == skin::MainButtonLook::Link ||
            button.look == skin::MainButtonLook::Minimise || button.look == skin::MainButtonLook::Close;
        if (!always && std::find(shown.begin(), shown.end(), button.controlId) == shown.end())
            continue;
        const bool selected = std::find(current.begin(), current.end(), button.controlId) != current.end();
        const QImage picture =
            loadBitmapFile(skins.filePath(stateFile(button, selected ? 3 : 0).toStdString()));
        painter.drawImage(QPoint(button.rect.x, button.rect.y), picture);
    }
    return window;
}

// The LED page's board with its lamps, slots and spots where the layout puts them.
QImage boardPage(const SkinResources& skins, const skin::BoardPicture& picture) {
    QImage page = loadBitmapFile(skins.filePath(picture.file));
    if (page.isNull())
        return page;
    QPainter painter(&page);
    const QPoint origin(picture.board.x, picture.board.y);
    for (const auto& slot : picture.slotSites)
        painter.drawImage(origin + QPoint(slot.x, slot.y), skins.bitmap(slot.bitmapId));
    int lit = 0;
    for (const auto& lamp : picture.lampSites) {
        // Light every other lamp to show both looks in place.
        const int id =
            lamp.bitmapId == skin::kLampDarkId && (lit++ % 2 == 0) ? skin::kLampLitId : lamp.bitmapId;
        painter.drawImage(origin + QPoint(lamp.x, lamp.y), skins.bitmap(id));
    }
    for (const auto& spot : picture.spotSites) {
        CxSkinButton button;
        button.SetSkin(CxSkinButton::SkinIds{spot.bitmapId, 0, 0, 0, 0, 0}, DrawMode::Copy,
                       CxSkinButton::Border::None, 0, skins);
        const auto size = skin::bitmapById(spot.bitmapId);
        button.resize(size->width, size->height);
        button.setText(QStringLiteral("LED %1").arg(spot.controlId));
        button.SetTextColor(ColorRef(0x8B0000));
        painter.drawImage(origin + QPoint(spot.x, spot.y), grab(button));
    }
    return page;
}

void addCatalogue(Sheet& sheet, const SkinResources& skins, skin::Art art, const QString& heading) {
    sheet.heading(heading);
    for (const auto& bitmap : skin::kBitmaps)
        if (bitmap.art == art)
            sheet.place(loadBitmapFile(skins.filePath(bitmap.file)),
                        bitmap.resourceId != 0
                            ? QStringLiteral("%1 %2").arg(bitmap.resourceId).arg(name(bitmap.file))
                            : name(bitmap.file));
}

void hoverOver(QWidget& widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void addSkinButtons(Sheet& sheet, const SkinResources& skins) {
    sheet.heading(QStringLiteral("CxSkinButton: normal, hover, pressed, checked, disabled"));
    QWidget group;
    const std::array<CxSkinButton::SkinIds, 3> skinsOf{{
        {168, 170, 171, 169, 0, 0},
        {skin::kValueButtonIds[0], skin::kValueButtonIds[1], skin::kValueButtonIds[2],
         skin::kValueButtonIds[3], 0, 0},
        {skin::kPlainButtonIds[0], skin::kPlainButtonIds[1], skin::kPlainButtonIds[2],
         skin::kPlainButtonIds[3], 0, 0},
    }};
    const std::array<QString, 3> captions{QString(), QStringLiteral("1.200V"), QStringLiteral("Load")};
    const std::array<QSize, 3> sizes{QSize(skin::kModeWidth, skin::kModeHeight), QSize(96, 20),
                                     QSize(80, 22)};
    for (std::size_t kind = 0; kind < skinsOf.size(); ++kind) {
        for (const auto* state : {"normal", "hover", "pressed", "checked", "disabled"}) {
            CxSkinButton button(&group, CxSkinButton::Kind::RadioButton);
            button.SetSkin(skinsOf[kind], DrawMode::Stretch, CxSkinButton::Border::None, 0, skins);
            button.resize(sizes[kind]);
            button.setText(captions[kind]);
            button.SetTextColor(skin::kButtonCaptionColor);
            const QString which = QString::fromLatin1(state);
            if (which == QStringLiteral("hover"))
                hoverOver(button);
            else if (which == QStringLiteral("pressed"))
                button.setDown(true);
            else if (which == QStringLiteral("checked"))
                button.SetCheck(true);
            else if (which == QStringLiteral("disabled"))
                button.setEnabled(false);
            sheet.place(grab(button), which);
        }
    }
}

void addLabels(Sheet& sheet) {
    sheet.heading(QStringLiteral("CLabel"));
    auto make = [](const std::function<void(CLabel&)>& setUp) {
        CLabel label;
        label.resize(180, 28);
        label.SetText(QStringLiteral("12.35 W"));
        label.SetStaticStyle({StaticAlign::Center, true});
        setUp(label);
        return grab(label);
    };
    sheet.place(make([](CLabel&) {}), QStringLiteral("default"));
    sheet.place(make([](CLabel& label) {
                    label.SetBkColor(ColorRef(0x2A2019)).SetTextColor(ColorRef(0x6FD649)).SetFontBold(true);
                }),
                QStringLiteral("skin colours, bold"));
    sheet.place(make([](CLabel& label) {
                    label.SetBkColor(ColorRef(0x000000), ColorRef(0xFF0000), CLabel::Fill::Gradient)
                        .SetTextColor(ColorRef(0xFFFFFF));
                }),
                QStringLiteral("gradient"));
    sheet.place(make([](CLabel& label) {
                    label.SetBkColor(ColorRef(0x2A2019))
                        .SetTextColor(ColorRef(0xDCC42E))
                        .Set3DText(true)
                        .SetFontSize(14);
                }),
                QStringLiteral("3-D text"));
    sheet.place(make([](CLabel& label) {
                    label.SetBkColor(ColorRef(0x2A2019))
                        .SetTextColor(ColorRef(0xFFFFFF))
                        .SetSunken(true)
                        .SetBorder(true);
                }),
                QStringLiteral("border, sunken"));
    CLabel rotated;
    rotated.resize(60, 60);
    rotated.SetText(QStringLiteral("45\u00b0")).SetBkColor(ColorRef(0x2A2019)).SetRotationAngle(45, true);
    sheet.place(grab(rotated), QStringLiteral("rotated"));
}

void addListAndEdit(Sheet& sheet) {
    sheet.heading(QStringLiteral("CXListBox, CAMSAlphanumericEdit"));
    CXListBox list;
    list.resize(220, 140);
    list.AddLine(0, 1, QStringLiteral("1.100V"));
    list.AddLine(11, 1, QStringLiteral("1.150V  default"));
    list.AddLine(1, 13, QStringLiteral("1.200V  current"));
    list.AddLine(6, 12, QStringLiteral("1.350V  unstable"));
    list.AddLine(1, 10, QStringLiteral("1.600V  too high"));
    list.AddLine(0, 1, QStringLiteral("tab\tstops\tline"));
    list.scrollToTop();
    sheet.place(grab(list), QStringLiteral("colour lines"));
    CAMSAlphanumericEdit edit(2, QStringLiteral("GHIJKLMNOPQRSTUVWXYZ"));
    edit.resize(60, 24);
    edit.setText(QStringLiteral("1G2"));
    sheet.place(grab(edit), QStringLiteral("\"1G2\" -> valid text"));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_gallery SKIN_FOLDER OUTPUT.png\n");
        return 2;
    }
    const SkinResources skins(argv[1]);
    namespace ids = main_window_ids;
    Sheet sheet(1600);

    sheet.heading(QStringLiteral("Main window: system information, basic mode, LED page"));
    sheet.place(mainWindow(skins, skin::kPageBackgroundId, {ids::kMotherboardInfo, ids::kMemory, ids::kPci},
                           {ids::kSystemInfo, ids::kMotherboardInfo}),
                QStringLiteral("motherboard information selected"));
    sheet.place(mainWindow(skins, skin::kPageBackgroundId,
                           {ids::kBasic, ids::kAdvanced, ids::kMotherboardSettings, ids::kLedSettings},
                           {ids::kProduct, ids::kAdvanced, ids::kLedSettings}),
                QStringLiteral("LED settings selected"));
    sheet.place(boardPage(skins, skin::kFullBoardPicture),
                QStringLiteral("MotherBoard.bmp with lamps and spots"));
    sheet.place(boardPage(skins, skin::kSmallBoardPicture), QStringLiteral("MotherBoard3.bmp"));
    sheet.place(loadBitmapFile(skins.filePath(skin::kStackBackgroundFile)), QStringLiteral("stack.bmp"));

    sheet.heading(QStringLiteral("Main-window buttons: default, down, over, disable (current)"));
    for (const auto& button : skin::kMainButtons)
        for (std::size_t state = 0; state < skin::kMainButtonStateEndings.size(); ++state)
            sheet.place(loadBitmapFile(skins.filePath(stateFile(button, state).toStdString())),
                        stateFile(button, state));
    addCatalogue(sheet, skins, skin::Art::ModeButton, QStringLiteral("Mode buttons"));
    addCatalogue(sheet, skins, skin::Art::SectionTitle, QStringLiteral("Section titles"));
    addCatalogue(sheet, skins, skin::Art::Lamp, QStringLiteral("Lamps"));
    addCatalogue(sheet, skins, skin::Art::EasyButton, QStringLiteral("Easy button"));
    addCatalogue(sheet, skins, skin::Art::Slot, QStringLiteral("Slots"));
    addCatalogue(sheet, skins, skin::Art::PictureButton, QStringLiteral("Picture buttons"));
    addCatalogue(sheet, skins, skin::Art::ValueButton, QStringLiteral("Value buttons"));
    addCatalogue(sheet, skins, skin::Art::PlainButton, QStringLiteral("Plain buttons"));
    sheet.heading(QStringLiteral("Application icon"));
    sheet.place(QImage(skins.filePath(skin::kAppIconFile)), name(skin::kAppIconFile));
    addSkinButtons(sheet, skins);
    addLabels(sheet);
    addListAndEdit(sheet);

    const QString output = QString::fromLocal8Bit(argv[2]);
    if (!sheet.finish().save(output, "PNG")) {
        std::fprintf(stderr, "skin_gallery: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
