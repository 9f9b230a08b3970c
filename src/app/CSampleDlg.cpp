#include "app/CSampleDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvane::app {

CSampleDlg::CSampleDlg(hw::IoDriver& driver, const QString& boardDescription, QWidget* parent)
    : QDialog(parent), m_driver(driver) {
    setWindowTitle(QStringLiteral("Solvane Center"));
    setObjectName(QStringLiteral("CSampleDlg"));
    resize(750, 560);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Solvane Center"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addWidget(new QLabel(boardDescription, this));
    layout->addWidget(new QLabel(QStringLiteral("I/O driver: %1, %2 open handle(s)")
                                     .arg(QString::fromStdString(m_driver.driverFileName()))
                                     .arg(m_driver.GetOpenCount()),
                                 this));
    layout->addStretch();
    auto* exitButton = new QPushButton(QStringLiteral("Exit"), this);
    exitButton->setObjectName(QStringLiteral("button%1").arg(kExitButtonId));
    layout->addWidget(exitButton, 0, Qt::AlignRight);
    // The Exit button sends the window a close request, the same way the window manager does.
    connect(exitButton, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace solvane::app
