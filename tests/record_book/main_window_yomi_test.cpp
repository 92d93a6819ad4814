#include "components/widgets/db_controls.h"
#include "components/widgets/yomi_memo.h"
#include "platform/message_box.h"
#include "record_book/list_form.h"
#include "record_book/main_window.h"
#include "tests/record_book/main_window_fixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <QToolButton>

namespace {

using Saved = std::vector<std::pair<std::string, std::string>>;

// The record card, not shown.
class CardReadingTest : public MainWindowFixture {
protected:
    TYomiDBMemo* name = nullptr;
    DBMemo* reading = nullptr;

    void create(const char* userReading = nullptr)
    {
        if (userReading)
            seed({{{"使用者ふりがな", userReading}, {"自動車登録番号", "1"}}});
        MainWindowFixture::create();
        name = form()->findChild<TYomiDBMemo*>(QStringLiteral("YomiDBMemo1"));
        reading = form()->findChild<DBMemo*>(QStringLiteral("DBMemo1"));
        ASSERT_TRUE(name && reading);
        name->moveCursor(QTextCursor::End);
    }

    // Kana typed, shown as preedit texts.
    void preedit(std::initializer_list<const char*> preedits, QWidget* to = nullptr)
    {
        for (const char* p : preedits) {
            const QString text = QString::fromUtf8(p);
            QInputMethodEvent e(text, {{QInputMethodEvent::Cursor, int(text.size()), 1, {}}});
            QApplication::sendEvent(to ? to : name, &e);
        }
    }

    void commit(const char* committed, QWidget* to = nullptr)
    {
        QInputMethodEvent e;
        e.setCommitString(QString::fromUtf8(committed));
        QApplication::sendEvent(to ? to : name, &e);
    }

    // Kana typed, then the conversion committed.
    void compose(std::initializer_list<const char*> preedits, const char* committed)
    {
        preedit(preedits);
        commit(committed);
    }

    void click(DBNavigator::Button b)
    {
        QApplication::processEvents();
        form()->findChild<DBNavigator*>(QStringLiteral("DBNavigator1"))->button(b)->click();
    }

    // Each record's name and reading, read from the database.
    Saved saved()
    {
        Table t(*db, "INDATA");
        t.Open();
        Saved out;
        for (t.First(); !t.Eof(); t.Next())
            out.emplace_back(sjis::toUtf8(t.FieldByName("使用者").AsString()),
                             sjis::toUtf8(t.FieldByName("使用者ふりがな").AsString()));
        return out;
    }
};

TEST_F(CardReadingTest, ANameTypedInOneConversionAppendsItsReadingInHiragana)
{
    create("");
    compose({"y", "や", "やま", "やまだ", "山田"}, "山田");
    EXPECT_EQ(form()->Table1->state(), Table::State::Edit);
    EXPECT_EQ(field("使用者ふりがな"), "やまだ");
    EXPECT_EQ(reading->text(), QStringLiteral("やまだ"));
    form()->Table1->Post();
    EXPECT_EQ(field("使用者"), "山田");
    EXPECT_EQ(field("使用者ふりがな"), "やまだ");
    EXPECT_FALSE(name->VKkana);
}

TEST_F(CardReadingTest, ReadingsAccumulateAfterWhatTheReadingMemoShows)
{
    create("すずき");
    compose({"やま", "山"}, "山");
    compose({"だ", "田"}, "田");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ");

    // Text typed into the reading memo and not yet handed over is kept.
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("　"));
    reading->moveCursor(QTextCursor::End);
    QApplication::sendEvent(reading, &typed);
    compose({"こ", "こー", "こーひー", "珈琲"}, "珈琲");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ　こおひい");

    // Letters typed with the input method off add nothing.
    QTest::keyClicks(name, "co");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ　こおひい");
    form()->Table1->Post();
    EXPECT_EQ(QString::fromStdString(field("使用者")).toLower(), QStringLiteral("山田珈琲co"));
}

TEST_F(CardReadingTest, TheFirstNameOfAnEmptyBookFillsTheNewRecord)
{
    create();
    ASSERT_EQ(form()->Table1->state(), Table::State::Insert);
    compose({"たなか", "田中"}, "田中");
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
    form()->Table1->Post();
    EXPECT_EQ(form()->Table1->RecordCount(), 1);
    EXPECT_EQ(field("使用者"), "田中");
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
}

TEST_F(CardReadingTest, AConversionOpenWhenTheRecordIsSavedIsSavedWithItsReading)
{
    const std::pair<const char*, std::function<void(TCarDataForm&)>> saves[] = {
        {"the navigator's post button", [this](TCarDataForm&) { click(DBNavigator::Post); }},
        {"closing, answering yes",
         [](TCarDataForm& f) {
             ScriptedMessages messages;
             messages.answer(MessageAnswer::Yes);
             f.close();
         }},
    };
    for (const auto& [how, save] : saves) {
        SCOPED_TRACE(how);
        create();
        showQuietly();
        preedit({"ｈ", "ほ", "ほｎ", "ほんｄ", "ほんだ", "本田"});
        save(*form());
        EXPECT_EQ(saved(), (Saved{{"本田", "ほんだ"}}));
        db->exec("DELETE FROM INDATA");
    }
}

// A save or a move commits the open conversion in the control itself; the
// input method, reset, then commits the same text once more: Fcitx5 with
// Mozc at once, IBus with Mozc a moment later. The repeat enters nowhere.
TEST_F(CardReadingTest, TheInputMethodsRepeatOfAConversionCommittedBySavingIsDropped)
{
    create();
    showQuietly();
    preedit({"ｈ", "ほ", "ほｎ", "ほんｄ", "ほんだ", "本田"});
    click(DBNavigator::Post);
    commit("本田");
    EXPECT_EQ(saved(), (Saved{{"本田", "ほんだ"}}));
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(name->text(), QStringLiteral("本田"));
    EXPECT_EQ(reading->text(), QStringLiteral("ほんだ"));

    // The same name typed again is taken.
    preedit({"ほんだ", "本田"});
    commit("本田");
    EXPECT_EQ(name->text(), QStringLiteral("本田本田"));
    form()->Table1->Cancel();

    // A move: the repeat does not reach the next record.
    db->exec("DELETE FROM INDATA");
    seed({{{"使用者ふりがな", "あ"}, {"自動車登録番号", "1"}}, {{"使用者ふりがな", "い"}, {"自動車登録番号", "2"}}});
    create();
    showQuietly();
    form()->Table1->First();
    name->moveCursor(QTextCursor::End);
    preedit({"た", "たな", "たなか", "田中"});
    click(DBNavigator::Next);
    commit("田中");
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(saved(), (Saved{{"田中", "あたなか"}, {"", "い"}}));
}

TEST_F(CardReadingTest, AClickAwayDuringAConversionLeavesTheNextFieldUntouched)
{
    create("");
    auto* address = form()->findChild<DBMemo*>(QStringLiteral("DBMemo29"));
    preedit({"たなか", "田中"});
    commit("田中");
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(name, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(address, &in);
    preedit({""}, address);
    commit("田中", address);
    form()->Table1->Post();
    EXPECT_EQ(saved(), (Saved{{"田中", "たなか"}}));
    EXPECT_EQ(field("使用者住所"), "");
}

// ✕ during a conversion: the input method's commit of it at the next click lands in no record.
TEST_F(CardReadingTest, AConversionOpenWhenTheRecordIsCancelledReachesNoRecord)
{
    for (const bool added : {true, false}) {
        SCOPED_TRACE(added ? "a new record" : "the record shown");
        create("あおやまはなこ");
        if (added)
            click(DBNavigator::Insert);
        preedit({"きむら", "木村"});
        click(DBNavigator::Cancel);
        commit("木村");
        form()->Table1->CheckBrowseMode();
        EXPECT_EQ(saved(), (Saved{{"", "あおやまはなこ"}}));
        db->exec("DELETE FROM INDATA");
    }
}

// A window opened during a conversion: the card takes it first; the repeat into the window is dropped.
TEST_F(CardReadingTest, AWindowOpenedDuringAConversionTakesNothingOfIt)
{
    const auto repeatInto = [this](QWidget* window, const char* field) {
        EXPECT_EQ(name->text(), QStringLiteral("中居"));
        auto* to = window->findChild<QWidget*>(QString::fromLatin1(field));
        ASSERT_TRUE(to);
        commit("中居", to);
        if (auto* grid = qobject_cast<DBGrid*>(to))
            EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr) << "no cell opened for the repeat";
        else
            EXPECT_FALSE(static_cast<QComboBox*>(to)->currentText().contains(QStringLiteral("中居")));
    };
    for (auto [button, dialog, field] :
         {std::tuple{"FindSpeed", "FindDlg", "FindComboBox"}, {"ListSpeed", "", "DBGrid1"}}) {
        SCOPED_TRACE(button);
        create("");
        preedit({"なかい", "中居"});
        ScriptedDialogs dialogs;
        if (*dialog)
            dialogs.answer(dialog, [&](QDialog& d) { repeatInto(&d, field); return int(QDialog::Rejected); });
        form()->findChild<QToolButton*>(QString::fromLatin1(button))->click();
        if (!*dialog)
            repeatInto(ListForm, field);
        EXPECT_EQ(dialogs.unanswered(), 0u);
        form()->Table1->Post();
        EXPECT_EQ(saved(), (Saved{{"中居", "なかい"}}));
        db->exec("DELETE FROM INDATA");
    }
}

}  // namespace
