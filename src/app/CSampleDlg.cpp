#include "app/CSampleDlg.h"

#include "app/CAbout.h"
#include "app/MemoryReport.h"
#include "app/SleepWatcher.h"
#include "board/BoardTraits.h"
#include "history/window/CPowerHistoryDlg.h"
#include "power/pages/CSLV_NOVICE.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/NoDdr3Module.h"
#include "sysinfo/pages/CSYSINFO_BIOS.h"
#include "sysinfo/pages/CSYSINFO_CPU.h"
#include "sysinfo/pages/CSYSINFO_MB.h"
#include "sysinfo/pages/CSYSINFO_MEMORY.h"
#include "sysinfo/pages/CSYSINFO_PCI.h"
#include "sysinfo/pages/CaptionPageIds.h"
#include "sysinfo/pages/MotherboardPageIds.h"
#include "sysinfo/pages/PciPageIds.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "tuning/pages/CList0.h"
#include "tuning/pages/CSLV_ADVANCE_LED.h"
#include "tuning/pages/CSLV_ADVANCE_MB.h"
#include "tuning/pages/LedPageIds.h"
#include "ui/ControlId.h"
#include "ui/MainWindowIds.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>
#include <array>

namespace solvane::app {

namespace {

namespace main_window_ids = ui::main_window_ids;

// The maker's web site, opened by the link buttons.
constexpr const char* kMakerWebSite = "https://www.tarvok.example/";

// The pages in the order they are added; each initialises itself while it is added, so the order
// is a data dependency (the power-saving page loads the hardware libraries the others read).
constexpr std::array<int, 6> kPageOrder{power::basic_ids::kDialog,
                                        sysinfo::pages::pci_ids::kDialog,
                                        tuning::pages::advanced_ids::kDialog,
                                        tuning::pages::led_ids::kDialog,
                                        sysinfo::memory_dialog::kDialogId,
                                        sysinfo::pages::motherboard_ids::kDialog};

} // namespace

CSampleDlg::CSampleDlg(hw::IoDriver& driver, SolvaneCore& core, ui::NotificationShell& shell,
                       std::filesystem::path snapshotFolder, QWidget* parent)
    : TStackedDialog(main_window_ids::kPagePlaceholder, parent, Qt::Window | Qt::FramelessWindowHint),
      m_driver(driver), m_core(core), m_shell(shell), m_snapshotFolder(std::move(snapshotFolder)) {
    setObjectName(QStringLiteral("CSampleDlg"));
    // The buttons' tool tips show on hover also while another program has the focus, as the
    // notification-area icon brings the window up without activating it.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFixedSize(ui::skin::kMainWindow.width, ui::skin::kMainWindow.height);
}

CSampleDlg::~CSampleDlg() {
    // The pages kill their timers through their page timers as they go: they go first.
    DestroyPages();
}

platform::Scheduler& CSampleDlg::pageTimers(int pageId) {
    auto& timers = m_pageTimers[pageId];
    if (!timers)
        timers = std::make_unique<ui::ShownPageTimers>(m_core.services().scheduler);
    return timers->scheduler();
}

std::unique_ptr<ui::TStackedPage> CSampleDlg::CreatePage(int pageId) {
    auto page = makePage(pageId);
    if (const auto timers = m_pageTimers.find(pageId); page && timers != m_pageTimers.end())
        timers->second->watch(*page);
    return page;
}

std::unique_ptr<ui::TStackedPage> CSampleDlg::makePage(int pageId) {
    // The basic page's timers are the power-saving monitor's, which runs whether or not anyone
    // looks; every other page's timers only keep what it shows up to date.
    if (pageId == power::basic_ids::kDialog) {
        auto page = std::make_unique<power::pages::CSLV_NOVICE>(m_core.session(), m_core.state(),
                                                                m_core.services().scheduler);
        m_basicPage = page.get();
        return page;
    }
    if (pageId == sysinfo::pages::pci_ids::kDialog) {
        // The enumeration runs here, once, so its platform facts exist before the later pages.
        auto& hardware = m_core.hardware();
        return std::make_unique<sysinfo::pages::CSYSINFO_PCI>(
            m_core.pciScan(), hardware.falwick(), m_core.services().prompt,
            [&hardware](std::uint16_t vendorId, std::uint16_t deviceId) {
                return hardware.pciDeviceName(vendorId, deviceId);
            });
    }
    if (pageId == tuning::pages::advanced_ids::kDialog) {
        const auto& services = m_core.services();
        auto page = std::make_unique<tuning::pages::CSLV_ADVANCE_MB>(
            tuning::pages::CSLV_ADVANCE_MB::Context{m_core.state(), m_core.session(), m_core.commands(),
                                                    services.registry, services.prompt, pageTimers(pageId)});
        m_advancedPage = page.get();
        return page;
    }
    if (pageId == tuning::pages::led_ids::kDialog) {
        const auto& services = m_core.services();
        auto page =
            std::make_unique<tuning::pages::CSLV_ADVANCE_LED>(tuning::pages::CSLV_ADVANCE_LED::Context{
                m_core.state(), m_core.commands(), services.registry, services.prompt, pageTimers(pageId),
                m_core.hardware().falwick(), m_core.pciScan().facts.Ieee1394Bus});
        m_ledPage = page.get();
        return page;
    }
    if (pageId == sysinfo::pages::motherboard_ids::kDialog)
        return std::make_unique<sysinfo::pages::CSYSINFO_MB>(
            [this] { return m_core.gatherMotherboardInfo(&m_driver, m_noDdr3); },
            [this] { return m_core.coreVoltageText(); }, pageTimers(pageId));
    if (pageId == sysinfo::pages::caption_ids::kBiosDialog)
        return std::make_unique<sysinfo::pages::CSYSINFO_BIOS>();
    if (pageId == sysinfo::pages::caption_ids::kCpuDialog)
        return std::make_unique<sysinfo::pages::CSYSINFO_CPU>();
    if (pageId == sysinfo::memory_dialog::kDialogId)
        return std::make_unique<sysinfo::pages::CSYSINFO_MEMORY>(
            m_core.hardware().hoblin(), smbusLibraryOf(m_core), memoryStatusOf(m_core), spdImagesOf(m_core),
            pageTimers(pageId));
    return nullptr;
}

void CSampleDlg::OnInitDialog() {
    TStackedDialog::OnInitDialog();
    setWindowTitle(QStringLiteral("Solvane Center"));
    setWindowIcon(ui::SkinResources::program().icon(ui::skin::kAppIconId));

    auto* placeholder = new QLabel(this);
    ui::setControlId(*placeholder, main_window_ids::kPagePlaceholder);
    const auto& frame = ui::skin::kPageFrame;
    placeholder->setGeometry(frame.x, frame.y, frame.width, frame.height);
    placeholder->hide();

    for (const int pageId : kPageOrder) {
        AddPage(pageId);
        // The memory check reads the modules through the SMBus library, which the power-saving
        // page has just loaded; the motherboard page, added last, sees its result.
        if (pageId == power::basic_ids::kDialog)
            checkMemoryType();
    }

    const auto& platform = m_core.state().platform;
    m_navigation =
        std::make_unique<MainNavigation>(platform.BoardCode, platform.BoardString, platform.baseboardVersion,
                                         [this](int page) { ShowPage(page); });
    if (m_core.hardware().hostMachine() && !platform.BoardSupported)
        m_navigation->hideBoardPages();
    createSkinButtons();
    m_navigation->systemInformation();

    // The option list of the tuning pages, hidden until a page fills it.
    m_optionPopup = new tuning::pages::CList0(this);
    m_optionPopup->hide();
    if (m_advancedPage != nullptr)
        m_advancedPage->SetOptionList(m_optionPopup);
    if (m_ledPage != nullptr)
        m_ledPage->SetOptionList(m_optionPopup);
    m_core.commands().setClosePopup([this] { closeOptionPopup(); });
    m_core.enableSettingCommands();

    m_tray =
        std::make_unique<ui::CMyAppTrayIcon>(m_shell, *this, [this](int command) { OnCommand(command); });
    // Without the program's icon file the tray still gets an icon, so its menu stays reachable.
    auto icon = ui::SkinResources::program().icon(ui::skin::kAppIconId);
    if (icon.isNull()) {
        QPixmap accent(16, 16);
        accent.fill(ui::palette::kAccent.toQColor());
        icon = QIcon(accent);
    }
    m_tray->AddIcon(icon, ui::CMyAppTrayIcon::kIconId,
                    QString::fromLatin1(ui::CMyAppTrayIcon::kTip.data(),
                                        static_cast<qsizetype>(ui::CMyAppTrayIcon::kTip.size())));
    m_trayShown = m_tray->ShowIcon(ui::CMyAppTrayIcon::kIconId) != 0;
    // The basic page has started the monitor: its history begins.
    if (m_startHistory)
        setPowerHistory(m_startHistory());

    // Sleep and resume reach the power-saving page as the system's power events.
    m_sleepWatcher = std::make_unique<SleepWatcher>([this](int event) {
        if (m_basicPage != nullptr)
            m_basicPage->OnPowerBroadcast(event);
    });

    SetBitmap(ui::SkinResources::program().filePath(ui::skin::kWindowBackgroundFile));
    SetShaped(true);
    SetTransparentColor(ui::palette::kOutside);
    SetStaticTransparent(true);
    SetClickAnywhereMove(true);

    if (board::traitsOf(platform.BoardCode).pageButtons == board::PageButtons::PciInMemoryPlace)
        if (auto* pci = skinButton(main_window_ids::kPci))
            placeSkinButton(*pci, ui::skin::kWidePciButton); // the memory button's place
    applyNavigation();

    if (!m_snapshotFolder.empty())
        QMetaObject::invokeMethod(
            this, [this] { saveSnapshots(m_snapshotFolder); }, Qt::QueuedConnection);
}

void CSampleDlg::placeSkinButton(ui::CxSkinButton& button, const ui::skin::MainButton& layout) {
    const auto& resources = ui::SkinResources::program();
    const auto file = [&](std::size_t state) {
        return resources.filePath(std::string(layout.baseName) +
                                  std::string(ui::skin::kMainButtonStateEndings[state]));
    };
    button.SetSkin(ui::CxSkinButton::SkinFiles{file(0), file(1), file(2), file(3)});
    button.setGeometry(layout.rect.x, layout.rect.y, layout.rect.width, layout.rect.height);
}

void CSampleDlg::createSkinButtons() {
    for (const auto& layout : ui::skin::kMainButtons) {
        auto* button = new ui::CxSkinButton(this);
        ui::setControlId(*button, layout.controlId);
        placeSkinButton(*button, layout);
        button->SetToolTipText(
            QString::fromLatin1(layout.toolTip.data(), static_cast<qsizetype>(layout.toolTip.size())));
        if (layout.handCursor)
            button->SetBtnCursor(ui::skin::kHandCursorId);
        const int id = layout.controlId;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
        m_buttons[id] = button;
    }
}

ui::CxSkinButton* CSampleDlg::skinButton(int controlId) const {
    const auto found = m_buttons.find(controlId);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CSampleDlg::applyNavigation() {
    if (!m_navigation)
        return;
    for (const auto& [id, state] : m_navigation->buttons())
        if (auto* button = skinButton(id)) {
            button->setVisible(state.visible);
            button->setEnabled(state.enabled);
        }
}

void CSampleDlg::OnCommand(int commandId) {
    switch (commandId) {
    case main_window_ids::kWebSite:
        openWebSite();
        return;
    case main_window_ids::kExit:
    case kExitCommand:
        close();
        return;
    case main_window_ids::kMinimise:
        showMinimized();
        return;
    case ui::CMyAppTrayIcon::kCommandExit:
        // An about box still open goes first, so that its own loop does not hold up the end.
        for (auto* about : findChildren<CAbout*>())
            about->reject();
        accept();
        return;
    case ui::CMyAppTrayIcon::kCommandRestore:
        showNormal();
        raise();
        activateWindow();
        return;
    case ui::CMyAppTrayIcon::kCommandPowerHistory:
        openPowerHistory();
        break;
    case ui::CMyAppTrayIcon::kCommandAbout: {
        CAbout about([this] { openWebSite(); }, this);
        about.DoModal();
        return;
    }
    default:
        break;
    }
    if (m_navigation) {
        m_navigation->onButton(commandId);
        applyNavigation();
    }
}

void CSampleDlg::OnPageChanged(int pageId, bool active) {
    closeOptionPopup();
    if (m_navigation) {
        m_navigation->pageChanged(pageId, active);
        applyNavigation();
    }
}

void CSampleDlg::checkMemoryType() {
    m_noDdr3 = sysinfo::noDdr3Module(m_core.state().platform.BoardCode, m_core.hardware().hoblin());
}

bool CSampleDlg::optionPopupVisible() const {
    return m_optionPopup != nullptr && m_optionPopup->isVisible();
}

void CSampleDlg::closeOptionPopup() {
    if (m_optionPopup != nullptr)
        m_optionPopup->hide();
    m_core.state().routines.popupOpenIndex = -1;
}

int CSampleDlg::DoModal() {
    InitDialog();
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    setWindowModality(Qt::NonModal);
    if (m_startShown == StartShown::NotificationArea && m_trayShown) {
        loop.exec();
    } else {
        if (m_startShown == StartShown::NotificationArea)
            showMinimized();
        else
            show();
        if (isVisible())
            loop.exec();
    }
    DestroyWindow();
    return result();
}

void CSampleDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TStackedDialog::keyPressEvent(event);
}

void CSampleDlg::closeEvent(QCloseEvent* event) {
    // A dialog that is not visible takes a close without ending its run.
    if (!isVisible()) {
        reject();
        event->accept();
        return;
    }
    TStackedDialog::closeEvent(event);
}

void CSampleDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        closeOptionPopup();
    TStackedDialog::changeEvent(event);
}

void CSampleDlg::hideEvent(QHideEvent* event) {
    closeOptionPopup();
    TStackedDialog::hideEvent(event);
}

void CSampleDlg::moveEvent(QMoveEvent* event) {
    if (optionPopupVisible())
        closeOptionPopup();
    TStackedDialog::moveEvent(event);
}

void CSampleDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_core.state().routines.popupOpenIndex != -1)
        m_core.commands().send(power::BoardCommand::CloseOptionPopup);
    TStackedDialog::mousePressEvent(event);
}

void CSampleDlg::openWebSite() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebSite)));
}

void CSampleDlg::setPowerHistoryStart(std::function<history::PowerHistory*()> start,
                                      std::function<std::int64_t()> clock) {
    m_startHistory = std::move(start);
    m_historyClock = std::move(clock);
}

void CSampleDlg::setPowerHistory(history::PowerHistory* history) {
    m_history = history;
    if (m_history == nullptr)
        return;
    if (m_basicPage != nullptr)
        m_basicPage->setPowerHistoryCommand([this] { openPowerHistory(); });
    m_history->setAlertNotifier([this](const history::AlertRow& alert) {
        if (m_tray)
            m_tray->ShowBalloon(ui::CMyAppTrayIcon::kIconId, QStringLiteral("Solvane"),
                                QString::fromStdString(history::alertMessage(alert)));
        if (m_historyWindow != nullptr && m_historyWindow->isVisible())
            m_historyWindow->reload();
    });
}

void CSampleDlg::openPowerHistory() {
    if (m_history == nullptr)
        return;
    if (m_historyWindow == nullptr)
        m_historyWindow = new history::window::CPowerHistoryDlg(*m_history, m_core.services().registry,
                                                                m_historyClock, this);
    m_historyWindow->reload();
    m_historyWindow->show();
    m_historyWindow->raise();
}

void CSampleDlg::OnDestroy() {
    DestroyPages();
    if (m_tray)
        m_tray->RemoveIcon(ui::CMyAppTrayIcon::kIconId);
    TStackedDialog::OnDestroy();
}

void CSampleDlg::saveSnapshots(const std::filesystem::path& folder) {
    QDir().mkpath(QString::fromStdString(folder.string()));
    struct Shot {
        int pageId;
        int groupButton; // the section the page belongs to, clicked first
        const char* name;
    };
    static constexpr std::array<Shot, 6> kShots{{
        {sysinfo::pages::motherboard_ids::kDialog, main_window_ids::kSystemInfo, "motherboard"},
        {sysinfo::memory_dialog::kDialogId, main_window_ids::kSystemInfo, "memory"},
        {sysinfo::pages::pci_ids::kDialog, main_window_ids::kSystemInfo, "pci"},
        {power::basic_ids::kDialog, main_window_ids::kProduct, "basic"},
        {tuning::pages::advanced_ids::kDialog, main_window_ids::kProduct, "advanced-motherboard"},
        {ui::main_window_ids::kLedPage, main_window_ids::kProduct, "led"},
    }};
    bool allSaved = true;
    const auto savePicture = [this, &allSaved](const std::filesystem::path& file) {
        QImage picture = grab().toImage().convertToFormat(QImage::Format_ARGB32);
        // Outside the window's shape is clear, as on screen.
        const QRgb outside = ui::palette::kOutside.toQColor().rgb() & RGB_MASK;
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if ((line[x] & RGB_MASK) == outside)
                    line[x] = 0;
        }
        allSaved &= picture.save(QString::fromStdString(file.string()), "PNG");
    };
    for (const auto& shot : kShots) {
        if (!m_navigation->pageReachable(shot.pageId))
            continue;
        // The way a user gets there: the section, then the page, so the buttons show as they would.
        OnCommand(shot.groupButton);
        if (shot.pageId == tuning::pages::advanced_ids::kDialog ||
            shot.pageId == ui::main_window_ids::kLedPage)
            OnCommand(main_window_ids::kAdvanced);
        ShowPage(shot.pageId);
        savePicture(folder / (std::to_string(shot.pageId) + "-" + shot.name + ".png"));
    }
    // The BIOS and CPU pages, which the window never adds, are added for their pictures only.
    for (const auto& [pageId, name] : {std::pair{sysinfo::pages::caption_ids::kBiosDialog, "bios"},
                                       std::pair{sysinfo::pages::caption_ids::kCpuDialog, "cpu"}}) {
        AddPage(pageId);
        ShowPage(pageId);
        savePicture(folder / (std::to_string(pageId) + "-" + name + ".png"));
    }
    if (allSaved)
        close();
    else
        done(kSnapshotsNotSaved);
}

} // namespace solvane::app
