#pragma once

#include "app/CSampleApp.h"

#include <QDialog>

namespace solvane::app {

// The main window. It hosts the pages of the program; until they exist it shows the board it
// runs on and an Exit button.
class CSampleDlg final : public QDialog, public MainWindowHost {
    Q_OBJECT
public:
    static constexpr int kDialogId = 102;
    static constexpr int kExitButtonId = 1084;

    CSampleDlg(hw::IoDriver& driver, const QString& boardDescription, QWidget* parent = nullptr);

    int DoModal() override { return exec(); }

private:
    hw::IoDriver& m_driver;
};

} // namespace solvane::app
