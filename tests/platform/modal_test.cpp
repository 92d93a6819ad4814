#include "platform/message_box.h"
#include "platform/modal.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// A dialog in the system's manner: OK checks the entry before accepting,
// showing and closing run the form's handlers.
class TFindDlg : public QDialog {
public:
    TFindDlg()
    {
        setObjectName(QStringLiteral("FindDlg"));
        Edit1 = new QLineEdit(this);
        Edit1->setObjectName(QStringLiteral("Edit1"));
        OKBtn = new QPushButton(QStringLiteral("OK"), this);
        OKBtn->setObjectName(QStringLiteral("OKBtn"));
        connect(OKBtn, &QPushButton::clicked, this, &TFindDlg::OKBtnClick);
    }
    void OKBtnClick()
    {
        if (Edit1->text().isEmpty()) {
            showMessage(QStringLiteral("検索する文字を入力してください。"));
            return;
        }
        accept();
    }
    QLineEdit* Edit1;
    QPushButton* OKBtn;
    int shows = 0;
    int closes = 0;

protected:
    void showEvent(QShowEvent* e) override
    {
        ++shows;
        Edit1->setFocus();
        QDialog::showEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        ++closes;
        QDialog::closeEvent(e);
    }
};

TEST(Modal, AnswerFillsControlsAndPressesOk)
{
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FindDlg"), [](QDialog& d) {
        auto& dlg = static_cast<TFindDlg&>(d);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.isModal());
        EXPECT_EQ(dlg.shows, 1);  // the showing handler ran before the answer
        QTest::keyClicks(dlg.Edit1, QStringLiteral("ABC"));
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        return int(QDialog::Rejected);  // not used: the dialog closed itself
    });
    TFindDlg dlg;
    int accepted = 0;
    QObject::connect(&dlg, &QDialog::accepted, [&] { ++accepted; });
    EXPECT_EQ(showModal(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.Edit1->text(), QStringLiteral("ABC"));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(dlg.closes, 0);  // as under exec(): accept() sends no close event
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{QStringLiteral("FindDlg")});
}

TEST(Modal, RefusedOkKeepsTheDialogOpenUntilTheAnswerEndsIt)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FindDlg"), [](QDialog& d) {
        auto& dlg = static_cast<TFindDlg&>(d);
        dlg.OKBtn->click();  // empty entry: refused
        EXPECT_TRUE(dlg.isVisible());
        return int(QDialog::Rejected);  // the user then cancels
    });
    TFindDlg dlg;
    int rejected = 0;
    QObject::connect(&dlg, &QDialog::rejected, [&] { ++rejected; });
    EXPECT_EQ(showModal(dlg), QDialog::Rejected);
    EXPECT_EQ(rejected, 1);
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_EQ(messages.prompts().size(), 1u);
}

TEST(Modal, ResultCodesAndRepeatedShowings)
{
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FindDlg"), 7).answer(QStringLiteral("FindDlg"), QDialog::Accepted);
    TFindDlg dlg;
    int finished = -1;
    QObject::connect(&dlg, &QDialog::finished, [&](int r) { finished = r; });
    EXPECT_EQ(showModal(dlg), 7);
    EXPECT_EQ(finished, 7);
    // A dialog shown again starts from a clean result, and its showing
    // handler runs again.
    EXPECT_EQ(showModal(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.shows, 2);
}

TEST(Modal, ClosingByTheWindowRunsTheCloseHandler)
{
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FindDlg"), [](QDialog& d) {
        d.close();
        return int(QDialog::Accepted);  // not used
    });
    TFindDlg dlg;
    EXPECT_EQ(showModal(dlg), QDialog::Rejected);
    EXPECT_EQ(dlg.closes, 1);

    // A dialog deleted on close still reports how it finished.
    dialogs.answer(QStringLiteral("FindDlg"), [](QDialog& d) {
        d.done(3);
        delete &d;
        return 0;
    });
    auto* owned = new TFindDlg;
    EXPECT_EQ(showModal(*owned), 3);
}

TEST(Modal, DialogOpenedFromADialogTakesTheNextAnswer)
{
    ScriptedDialogs dialogs;
    std::vector<QString> order;
    dialogs.answer(QStringLiteral("FindDlg"), [&](QDialog&) {
        order.push_back(QStringLiteral("outer"));
        QDialog inner;
        inner.setObjectName(QStringLiteral("ConfirmDlg"));
        EXPECT_EQ(showModal(inner), QDialog::Accepted);
        order.push_back(QStringLiteral("outer again"));
        return int(QDialog::Accepted);
    });
    dialogs.answer(QStringLiteral("ConfirmDlg"), [&](QDialog&) {
        order.push_back(QStringLiteral("inner"));
        return int(QDialog::Accepted);
    });
    TFindDlg dlg;
    EXPECT_EQ(showModal(dlg), QDialog::Accepted);
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("outer"), QStringLiteral("inner"), QStringLiteral("outer again")}));
}

TEST(Modal, UnexpectedDialogsFailTheScript)
{
    ScriptedDialogs dialogs;
    TFindDlg dlg;
    EXPECT_THROW(showModal(dlg), ScriptError);  // nothing scripted
    QDialog unnamed;
    EXPECT_THROW(showModal(unnamed), ScriptError);

    dialogs.answer(QStringLiteral("OtherDlg"), QDialog::Accepted);
    EXPECT_THROW(showModal(dlg), ScriptError);  // another dialog was expected
    EXPECT_EQ(dialogs.unanswered(), 1u);        // and its answer is kept
    EXPECT_EQ(dialogs.shown().size(), 3u);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(Modal, WithoutAScriptADialogOrMessageFailsTheTestInsteadOfWaiting)
{
    TFindDlg dlg;
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW(showModal(dlg), ScriptError), "unanswered dialog: FindDlg");
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW(showMessage(QStringLiteral("保存しますか？")), ScriptError), "保存しますか？");
}

TEST(Modal, FailingAnswerLeavesNoModalWindowBehind)
{
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FindDlg"), [](QDialog&) -> int { throw ScriptError("inner failure"); });
    TFindDlg dlg;
    EXPECT_THROW(showModal(dlg), ScriptError);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.testAttribute(Qt::WA_ShowModal));
}

}  // namespace
