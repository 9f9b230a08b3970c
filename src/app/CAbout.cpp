#include "app/CAbout.h"

#include "solvane/Version.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/SkinLayout.h"
#include "ui/SkinResources.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvane::app {

namespace {
constexpr int kCursorHand = 141;
constexpr int kAppIcon = 128;
} // namespace

CAbout::CAbout(std::function<void()> openWebSite, QWidget* parent)
    : CBitmapDialog(parent), m_openWebSite(std::move(openWebSite)) {
    setWindowTitle(QStringLiteral("About Solvane"));
    setObjectName(QStringLiteral("CAbout"));
    // Modal to the main window only: the notification-area icon stays usable while it is open.
    setWindowModality(Qt::WindowModal);
}

void CAbout::OnInitDialog() {
    CBitmapDialog::OnInitDialog();
    setWindowOpacity(kOpacity);
    setStyleSheet(QStringLiteral("background: #1a2028; color: #dbe3eb;"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ui::SkinResources::program().icon(kAppIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto* name = new QLabel(QStringLiteral("Solvane Center"), this);
    name->setAlignment(Qt::AlignCenter);
    name->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: bold;"));
    layout->addWidget(name);
    layout->addWidget(new QLabel(QStringLiteral("------------------------------------------"), this));
    layout->addWidget(new QLabel(QStringLiteral("Build Version : ") + QLatin1String(kVersion), this));
    auto* link = new ui::CLabel(this);
    ui::setControlId(*link, kLinkId);
    link->SetText(QStringLiteral("Tarvok on the web"))
        .SetTextColor(ui::skin::kLinkColor)
        .SetFontUnderline(true)
        .SetTransparent(true)
        .SetLink(true, ui::CLabel::LinkAction::NotifyParent)
        .SetLinkCursor(ui::SkinResources::program().cursor(kCursorHand));
    connect(link, &ui::CLabel::linkNotification, this, [this](int) {
        if (m_openWebSite)
            m_openWebSite();
    });
    layout->addWidget(link);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace solvane::app
