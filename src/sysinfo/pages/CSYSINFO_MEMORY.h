#pragma once

#include "platform/Scheduler.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/MemoryInformation.h"
#include "ui/CLabel.h"
#include "ui/TStackedPage.h"

#include <QComboBox>
#include <map>

namespace solvane::sysinfo::pages {

// The memory page: the populated DIMM slots in a drop-down list, the chosen module as its SPD
// EEPROM describes it, and the operating system's total memory and load, refreshed every 2 seconds.
class CSYSINFO_MEMORY final : public ui::TStackedPage {
    Q_OBJECT
public:
    static constexpr int kDialogId = memory_dialog::kDialogId;

    CSYSINFO_MEMORY(hw::Hoblin& smbus, SmbusLibrary library, MemoryInformation::StatusSource status,
                    MemoryInformation::SpdImageSource images, platform::Scheduler& scheduler,
                    QWidget* parent = nullptr);

    const MemoryInformation& information() const { return m_information; }
    // The text a field shows now (for tests).
    QString fieldText(int controlId) const;
    QComboBox* slotList() const { return m_slotList; }

protected:
    void OnInitDialog() override;
    void OnDestroy() override;

private:
    void buildControls();
    void placeTitlePictures();
    void onSelectionChanged(int index);
    void onTimer();
    void showFields();

    MemoryInformation m_information;
    platform::Scheduler& m_scheduler;
    QComboBox* m_slotList = nullptr;
    std::map<int, ui::CLabel*> m_fields; // by control number
};

} // namespace solvane::sysinfo::pages
