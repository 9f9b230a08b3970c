#pragma once

#include "platform/Prompt.h"
#include "sysinfo/PciDeviceView.h"
#include "ui/CLabel.h"
#include "ui/TStackedPage.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace solvane::sysinfo::pages {

// The PCI page: every function of buses 0 to 9 in a list view, the header values of the one the
// user picks, and in the Expert view the function's configuration space in hexadecimal with
// entries to show any function by bus, device and function number.
class CSYSINFO_PCI final : public ui::TStackedPage {
    Q_OBJECT
public:
    // The full vendor and device names of a function from the system's PCI ID database; none when
    // the database does not know them.
    using NameLookup =
        std::function<std::optional<std::string>(std::uint16_t vendorId, std::uint16_t deviceId)>;

    CSYSINFO_PCI(const PciScan& scan, hw::Falwick& pci, platform::Prompt& prompt, NameLookup names = {},
                 QWidget* parent = nullptr);

    const PciDeviceView& view() const { return m_view; }
    // The text a header-value label shows now.
    QString headerText(PciHeaderValue value) const;
    // A command of the page's menus (263, 240, 262).
    void onMenuCommand(int commandId);
    // Apply of the configuration-space view.
    void onApply();

protected:
    void OnInitDialog() override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildListView();
    void buildHeaderLabels();
    void buildConfigurationView();
    void fillLists();
    void showRow(int index);
    void showShownDevice();
    void showHexRows();
    void applyMode();
    void onListClick();
    void onListRightClick(QPoint globalPosition);
    void onEntryEdited(std::size_t entry);
    void selectWidth(PciHexWidth width);
    std::optional<int> selectedRow() const;

    PciDeviceView m_view;
    platform::Prompt& m_prompt;
    NameLookup m_names;
    QTreeWidget* m_list = nullptr;
    QComboBox* m_dropDown = nullptr;
    std::map<PciHeaderValue, ui::CLabel*> m_headerValues;
    std::array<QLabel*, kPciHexRows> m_hexRows{};
    QLabel* m_columnHeading = nullptr;
    QLabel* m_rowHeading = nullptr;
    QLabel* m_noFunctionNote = nullptr;
    std::map<PciHexWidth, QCheckBox*> m_widthBoxes;
    std::array<QLineEdit*, 3> m_entries{};
    std::array<QLabel*, 3> m_entryCaptions{};
    QPushButton* m_apply = nullptr;
};

} // namespace solvane::sysinfo::pages
