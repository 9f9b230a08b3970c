// The program's message box, closed without any of its buttons (the loop a termination signal
// ends): it answers as its escape would.
#include "app/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using platform::PromptAnswer;
using platform::PromptButtons;

PromptAnswer closedUnanswered(const platform::PromptRequest& request) {
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(0);
    });
    return QtPrompt().ask(request);
}

// A box without Cancel gives its default button's answer; one with Cancel gives Cancel.
TEST(QtPrompt, ABoxClosedWithoutAButtonAnswersAsItsEscapeWould) {
    EXPECT_EQ(closedUnanswered({"Saved.", {}, PromptButtons::Ok, 0}), PromptAnswer::Ok);
    EXPECT_EQ(closedUnanswered({"Overwrite?", {}, PromptButtons::YesNo, 1}), PromptAnswer::No);
    EXPECT_EQ(closedUnanswered({"Overwrite?", {}, PromptButtons::YesNo, 0}), PromptAnswer::Yes);
    EXPECT_EQ(closedUnanswered({"Apply?", {}, PromptButtons::OkCancel, 0}), PromptAnswer::Cancel);
    EXPECT_EQ(closedUnanswered({"Save?", {}, PromptButtons::YesNoCancel, 0}), PromptAnswer::Cancel);
}

} // namespace
} // namespace solvane::app
