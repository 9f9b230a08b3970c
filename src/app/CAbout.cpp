#include "app/CAbout.h"

#include "solvane/Version.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"
#include "ui/SkinResources.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvane::app {

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
    setStyleSheet(QStringLiteral("background: %1; color: %2;")
                      .arg(ui::palette::css(ui::palette::kPanel), ui::palette::css(ui::palette::kText)));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ui::SkinResources::program().icon(ui::skin::kAppIconId).pixmap(48, 48));
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
        .SetTextColor(ui::palette::kAccent)
        .SetFontUnderline(true)
        .SetTransparent(true)
        .SetLink(true, ui::CLabel::LinkAction::NotifyParent)
        .SetLinkCursor(ui::SkinResources::program().cursor(ui::skin::kHandCursorId));
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
