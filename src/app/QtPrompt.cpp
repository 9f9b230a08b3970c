#include "app/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>

namespace solvane::app {

using platform::PromptAnswer;
using platform::PromptButtons;

namespace {

bool anyWindowShown() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && window->windowType() != Qt::ToolTip;
    });
}

} // namespace

platform::PromptAnswer QtPrompt::ask(const platform::PromptRequest& request) {
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (request.buttons) {
    case PromptButtons::Ok:
        standard = QMessageBox::Ok;
        break;
    case PromptButtons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case PromptButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case PromptButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    auto toStandard = [](PromptAnswer answer) {
        switch (answer) {
        case PromptAnswer::Ok:
            return QMessageBox::Ok;
        case PromptAnswer::Cancel:
            return QMessageBox::Cancel;
        case PromptAnswer::Yes:
            return QMessageBox::Yes;
        case PromptAnswer::No:
            return QMessageBox::No;
        }
        return QMessageBox::Ok;
    };
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), standard);
    box.setDefaultButton(toStandard(platform::defaultAnswer(request)));
    // A message of a copy without a window of its own (a second start, a failed start) would
    // otherwise come up behind the windows already on the screen.
    if (!anyWindowShown())
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        // Closed without a button (Escape or a termination signal): the box's escape answer.
        return request.buttons == PromptButtons::Ok || request.buttons == PromptButtons::YesNo
                   ? platform::defaultAnswer(request)
                   : PromptAnswer::Cancel;
    }
}

} // namespace solvane::app
