#include "app/TStackedDialog.h"

#include "support/TempFolder.h"
#include "ui/ControlId.h"
#include "ui/MainWindowIds.h"

#include <QLabel>
#include <gtest/gtest.h>
#include <map>

namespace solvane::app {
namespace {

// Everything the pages and the dialog report, in order.
using Journal = std::vector<std::string>;

class JournalPage final : public ui::TStackedPage {
public:
    JournalPage(int pageId, Journal& journal, std::map<int, int>& deletions)
        : TStackedPage(pageId), m_journal(journal), m_deletions(deletions) {
        resize(200, 100);
    }
    ~JournalPage() override { ++m_deletions[pageId()]; }

    void OnSetActive() override { note("set active"); }
    void OnKillActive() override { note("kill active"); }
    void OnCreatePage() override {
        note("create page");
        // Placed and still hidden when it hears of its creation.
        placedAt = pos();
        hiddenAtCreation = isHidden();
        childAtCreation = parentWidget() != nullptr;
    }
    void OnDestroyPage() override { note("destroy page"); }

    QPoint placedAt;
    bool hiddenAtCreation = false;
    bool childAtCreation = false;
    bool initialised = false;

protected:
    void OnInitDialog() override {
        initialised = parentWidget() != nullptr;
        note("init");
    }
    void OnDestroy() override { note("destroy window"); }

private:
    void note(const char* what) { m_journal.push_back(std::to_string(pageId()) + " " + what); }

    Journal& m_journal;
    std::map<int, int>& m_deletions;
};

class TestStackedDialog final : public TStackedDialog {
public:
    TestStackedDialog(Journal& journal, std::map<int, int>& deletions)
        : TStackedDialog(ui::main_window_ids::kPagePlaceholder), m_journal(journal), m_deletions(deletions) {
        resize(750, 560);
        auto* placeholder = new QLabel(this);
        ui::setControlId(*placeholder, ui::main_window_ids::kPagePlaceholder);
        placeholder->setGeometry(25, 112, 700, 392);
    }

    std::vector<int> refused;

protected:
    std::unique_ptr<ui::TStackedPage> CreatePage(int pageId) override {
        if (pageId == 999)
            return nullptr;
        return std::make_unique<JournalPage>(pageId, m_journal, m_deletions);
    }
    void OnPageChanged(int pageId, bool active) override {
        m_journal.push_back("changed " + std::to_string(pageId) + (active ? " true" : " false"));
    }

private:
    Journal& m_journal;
    std::map<int, int>& m_deletions;
};

constexpr std::array<int, 6> kPages{133, 139, 142, 242, 138, 235};

struct Stack {
    Stack() : dialog(std::make_unique<TestStackedDialog>(journal, deletions)) {
        for (const int id : kPages)
            dialog->AddPage(id);
        journal.clear();
    }
    JournalPage& page(int id) const {
        for (const auto& record : dialog->pages())
            if (record->pageId == id)
                return static_cast<JournalPage&>(*record->page);
        throw std::out_of_range("no such page");
    }
    int visiblePages() const {
        int visible = 0;
        for (const auto& record : dialog->pages())
            visible += record->page->isVisibleTo(dialog.get()) ? 1 : 0;
        return visible;
    }

    Journal journal;
    std::map<int, int> deletions;
    std::unique_ptr<TestStackedDialog> dialog;
};

TEST(TStackedDialog, AddedPagesAreCreatedPlacedAndHidden) {
    Stack stack;
    ASSERT_EQ(stack.dialog->pages().size(), 6U);
    EXPECT_EQ(stack.visiblePages(), 0) << "nothing shows before the first ShowPage";
    for (const int id : kPages) {
        const JournalPage& page = stack.page(id);
        EXPECT_TRUE(page.initialised) << "initialised as a child of the dialog";
        EXPECT_TRUE(page.childAtCreation);
        EXPECT_TRUE(page.hiddenAtCreation);
        EXPECT_EQ(page.placedAt, QPoint(25, 112));
        EXPECT_EQ(page.size(), QSize(200, 100)) << "a page keeps its own size";
        EXPECT_TRUE(page.isEnabled());
    }
    EXPECT_TRUE(stack.dialog->pages().front()->created);
    EXPECT_EQ(stack.dialog->pages().front()->owner, stack.dialog.get());
}

TEST(TStackedDialog, AddingRunsInitialisationThenCreationInOrder) {
    Journal journal;
    std::map<int, int> deletions;
    TestStackedDialog dialog(journal, deletions);
    dialog.AddPage(133);
    EXPECT_EQ(journal, (Journal{"133 init", "133 create page"}));
    EXPECT_EQ(dialog.AddPage(999), nullptr) << "an id the factory does not know gives no page";
    EXPECT_EQ(dialog.pages().size(), 1U);
}

TEST(TStackedDialog, ShowingAPageHidesTheActiveOneFirst) {
    Stack stack;
    stack.dialog->ShowPage(235);
    stack.dialog->ShowPage(138);

    EXPECT_EQ(stack.journal, (Journal{"235 set active", "changed 235 true", "235 kill active",
                                      "changed 235 false", "138 set active", "changed 138 true"}));
    EXPECT_EQ(stack.visiblePages(), 1);
    EXPECT_EQ(stack.dialog->activePage(), &stack.page(138));
    EXPECT_TRUE(stack.page(138).isVisibleTo(stack.dialog.get()));
}

TEST(TStackedDialog, ShowingTheActivePageAgainSendsBothNotifications) {
    Stack stack;
    stack.dialog->ShowPage(133);
    stack.journal.clear();

    stack.dialog->ShowPage(133);

    EXPECT_EQ(stack.journal,
              (Journal{"133 kill active", "changed 133 false", "133 set active", "changed 133 true"}));
    EXPECT_EQ(stack.visiblePages(), 1);
}

TEST(TStackedDialog, AnUnknownIdOnlyHidesTheActivePage) {
    Stack stack;
    stack.dialog->ShowPage(139);
    stack.journal.clear();

    stack.dialog->ShowPage(4711);

    EXPECT_EQ(stack.journal, (Journal{"139 kill active", "changed 139 false"}));
    EXPECT_EQ(stack.visiblePages(), 0);
    EXPECT_EQ(stack.dialog->activePage(), nullptr);
}

TEST(TStackedDialog, DestroyingTheDialogDeletesEveryPageOnce) {
    Stack stack;
    stack.dialog->ShowPage(142);
    stack.journal.clear();

    stack.dialog->DestroyWindow();

    Journal expected;
    for (const int id : kPages)
        for (const char* step : {" kill active", " destroy page", " destroy window"})
            expected.push_back(std::to_string(id) + step);
    EXPECT_EQ(stack.journal, expected) << "every page in the order of adding";
    EXPECT_TRUE(stack.dialog->pages().empty());
    for (const int id : kPages)
        EXPECT_EQ(stack.deletions[id], 1) << id;

    stack.dialog.reset();
    for (const int id : kPages)
        EXPECT_EQ(stack.deletions[id], 1) << "deleting the dialog deletes no page twice: " << id;
}

TEST(TStackedDialog, DeletingTheDialogWithoutDestroyingItStillDeletesEachPageOnce) {
    Stack stack;
    stack.dialog.reset();
    for (const int id : kPages)
        EXPECT_EQ(stack.deletions[id], 1) << id;
}

TEST(TStackedPage, EnterAndEscapeNeverCloseAPage) {
    Journal journal;
    std::map<int, int> deletions;
    TestStackedDialog dialog(journal, deletions);
    dialog.AddPage(133);
    dialog.ShowPage(133);
    JournalPage& page = static_cast<JournalPage&>(*dialog.pages().front()->page);

    page.accept();
    page.reject();

    EXPECT_TRUE(page.isVisibleTo(&dialog));
    EXPECT_EQ(page.result(), 0);
}

// The big pictures are decoded only while they can be seen: the shown page's and the shown dialog's;
// a page out of sight, or the whole dialog put away, holds none.
TEST(TStackedDialog, OnlyWhatIsShownHoldsItsDecodedBackground) {
    solvane::test::TempFolder folder;
    const auto pictureFile = [&folder](const char* name, int width, int height, QColor colour) {
        const QString file = QString::fromStdString((folder / name).string());
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(file, "BMP"));
        return file;
    };
    const QString window = pictureFile("image.bmp", 750, 560, QColor(20, 20, 20));
    const QString first = pictureFile("Page_Background.bmp", 200, 100, QColor(0, 90, 160));
    const QString second = pictureFile("stack.bmp", 200, 100, QColor(160, 90, 0));
    Journal journal;
    std::map<int, int> deletions;
    TestStackedDialog dialog(journal, deletions);
    ASSERT_TRUE(dialog.SetBitmap(window));
    ASSERT_TRUE(dialog.AddPage(101)->page->SetBitmap(first));
    ASSERT_TRUE(dialog.AddPage(102)->page->SetBitmap(second));
    dialog.ShowPage(101);
    dialog.show();
    const QImage shown = dialog.grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 120), QColor(0, 90, 160)) << "the page over the dialog's background";
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(20, 20, 20));
    EXPECT_TRUE(ui::bitmapFileDecoded(window));
    EXPECT_TRUE(ui::bitmapFileDecoded(first));
    EXPECT_FALSE(ui::bitmapFileDecoded(second)) << "never shown, never decoded";

    dialog.ShowPage(102);
    dialog.grab();
    EXPECT_FALSE(ui::bitmapFileDecoded(first)) << "out of sight";
    EXPECT_TRUE(ui::bitmapFileDecoded(second));

    dialog.hide(); // put away to the notification area
    EXPECT_FALSE(ui::bitmapFileDecoded(window));
    EXPECT_FALSE(ui::bitmapFileDecoded(second));

    dialog.show();
    dialog.ShowPage(101);
    EXPECT_EQ(dialog.grab().toImage(), shown) << "the same picture when it comes back";
}

} // namespace
} // namespace solvane::app
