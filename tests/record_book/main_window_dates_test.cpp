#include "components/widgets/db_controls.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/date_dialog.h"
#include "record_book/list_edit.h"
#include "record_book/main_window.h"
#include "tests/record_book/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The main window, whose date dialog and list editor these tests use, on
// 15 June 2024.
class CardAidsTest : public MainWindowFixture {
protected:
    FixedClock clock{QDate(2024, 6, 15)};

    // The window on a book that holds `record`, or the records it has.
    void create(const Fields& record = {{"使用者ふりがな", "たなか"}})
    {
        bool empty = false;
        {
            Table t(*db, "INDATA");
            t.Open();
            empty = t.IsEmpty();
        }
        if (empty)
            seed({record});
        restart();
    }

    static QByteArray bytes(const char* utf8) { return QByteArray::fromStdString(sj(utf8)); }

    void set(const char* name, const char* value)
    {
        if (form()->Table1->state() == Table::State::Browse)
            form()->Table1->Edit();
        form()->Table1->FieldByName(name).SetAsString(sj(value));
    }
    void post()
    {
        form()->Table1->Post();
        ASSERT_EQ(form()->Table1->state(), Table::State::Browse);
    }
    Table::State state() { return form()->Table1->state(); }

    // A list editor answer: the memo gets `text`, then OK.
    static ScriptedDialogs::Answer listing(const char* text, QString* heading = nullptr, QString* before = nullptr)
    {
        return [=](QDialog& d) {
            auto& editor = static_cast<TListEditForm&>(d);
            if (heading)
                *heading = editor.Panel1->caption();
            if (before)
                *before = editor.Memo1->toPlainText();
            editor.Memo1->setPlainText(QString::fromUtf8(text));
            editor.OKBtn->click();
            return int(QDialog::Rejected);
        };
    }

    // An input box answer: `text` typed, then OK.
    static ScriptedDialogs::Answer naming(const char* text, QString* title = nullptr, QString* prompt = nullptr)
    {
        return [=](QDialog& d) {
            if (title)
                *title = d.windowTitle();
            if (prompt)
                *prompt = d.findChild<QLabel*>()->text();
            findControl<QLineEdit>(&d, "Edit")->setText(QString::fromUtf8(text));
            return int(QDialog::Accepted);
        };
    }

    static void focusIn(QWidget* w)
    {
        QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(w, &e);
    }
};

// ---- date boxes --------------------------------------------------------------------

TEST_F(CardAidsTest, DoubleClickStoresThePickedDateCutToTheBox)
{
    create({{"使用者ふりがな", "たなか"}, {"登録年月日", "平成１０年０４月０１日"}});
    ScriptedDialogs script;
    QDate shownOn;
    script.answer(QStringLiteral("DateSDlg"), [&](QDialog& d) {
        shownOn = static_cast<TDateSDlg&>(d).Calendar1->selectedDate();
        return picking(QDate(2023, 11, 3))(d);
    });
    QTest::mouseDClick(w<QComboBox>("DBComboBox2")->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(shownOn, QDate(1998, 4, 1));
    EXPECT_EQ(field("登録年月日"), "令和０５年１１月０３日");
    EXPECT_EQ(state(), Table::State::Edit);

    script.answer(QStringLiteral("DateSDlg"), picking(QDate(1989, 1, 7)));
    form()->DBComboBox3DblClick();
    EXPECT_EQ(field("初度登録年月"), "昭和６４年０１月");
    EXPECT_EQ(script.unanswered(), 0u);
}

TEST_F(CardAidsTest, DollarDateBecomesTodayInTheBoxPattern)
{
    writeSettings("DataBase.INI", {"1"});
    create();
    const std::pair<const char*, const char*> cases[] = {
        {"DBComboBox2", "令和０６年０６月１５日"}, {"DBComboBox3", "令和０６年０６月"}, {"UpComboBox1", "令和０６年"}};
    for (auto [box, expected] : cases) {
        auto* combo = w<DBComboBox>(box);
        simulateTyping(combo, QStringLiteral("$DATE"));
        simulateLeave(combo);
        EXPECT_EQ(field(combo->dataField().c_str()), expected) << box;
    }
    auto* combo = w<DBComboBox>("DBComboBox11");
    simulateTyping(combo, QStringLiteral("$date"));
    simulateLeave(combo);
    EXPECT_EQ(field("有効期間の満了する日"), "$date");
}

// ---- the end of the compulsory insurance ----------------------------------------

TEST_F(CardAidsTest, InsuranceEndFollowsStartAndTermUpToTheLastDayTheMonthHas)
{
    create({{"使用者ふりがな", "たなか"}, {"自賠責期間自", "平成１０年０４月０１日"}, {"自賠責期間", "１２ヶ月"}});
    focusIn(w<DBComboBox>("DBComboBox12"));
    EXPECT_EQ(field("自賠責期間至"), "平成１１年０４月０１日");
    post();

    // Leaving the term box after typing a term without a separator.
    auto* term = w<DBComboBox>("DBComboBox13");
    focusIn(term);
    term->setEditText(QString());
    simulateTyping(term, QStringLiteral("２４"));
    simulateLeave(term);
    EXPECT_EQ(field("自賠責期間至"), "平成１２年０４月０１日");

    // The end takes the last day the month has.
    set("自賠責期間自", "令和０５年０１月３１日");
    set("自賠責期間", "１ヶ月");
    ScriptedMessages messages;  // no error box
    form()->DBComboBox12Enter();
    EXPECT_EQ(field("自賠責期間至"), "令和０５年０２月２８日");
}

TEST_F(CardAidsTest, EnteringWithNothingToChangeLeavesTheRecordUntouched)
{
    create({{"使用者ふりがな", "たなか"},
            {"自賠責期間自", "平成１０年０４月０１日"},
            {"自賠責期間", "１２ヶ月"},
            {"自賠責期間至", "平成１１年０４月０１日"}});
    form()->DBComboBox12Enter();
    EXPECT_EQ(state(), Table::State::Browse);
    set("自賠責期間", "ヶ月");  // no number: nothing is computed
    post();
    form()->DBComboBox12Enter();
    EXPECT_EQ(state(), Table::State::Browse);
    EXPECT_EQ(field("自賠責期間至"), "平成１１年０４月０１日");
}

// ---- choice lists and titles --------------------------------------------------------

TEST_F(CardAidsTest, DateListEditChangesAllEightBoxesAndComesBackAtStart)
{
    create();
    ScriptedDialogs script;
    QString heading, before;
    script.answer(QStringLiteral("ListEditForm"), listing("令和\n\n平成\n", &heading, &before));
    w<QAction>("CarDate1")->trigger();
    EXPECT_EQ(heading, QStringLiteral("”日付関係”の修正"));
    EXPECT_EQ(before, QStringLiteral("昭和\n平成"));
    const QStringList expected = {QStringLiteral("令和"), QString(), QStringLiteral("平成")};
    for (const char* box : {"DBComboBox2", "DBComboBox3", "DBComboBox11", "DBComboBox12", "DBComboBox14", "UpComboBox1",
                            "UpComboBox2", "UpComboBox3"})
        EXPECT_EQ(items(box), expected) << box;
    EXPECT_EQ(fileBytes("CarDate.INI"), bytes("令和\r\n\r\n平成\r\n"));
    restart();
    EXPECT_EQ(items("DBComboBox14"), expected);
}

TEST_F(CardAidsTest, EmptyListEmptiesTheBoxesAndCancelKeepsThem)
{
    create();
    ScriptedDialogs script;
    script.answer(QStringLiteral("ListEditForm"), QDialog::Rejected);
    form()->CarName1Click();
    EXPECT_EQ(items("DBComboBox8").size(), 7);
    EXPECT_EQ(fileBytes("CarName.INI"), QByteArray("<missing>"));

    script.answer(QStringLiteral("ListEditForm"), listing(""));
    form()->FuelTypeClick();
    EXPECT_TRUE(items("DBComboBox9").isEmpty());
    EXPECT_TRUE(items("DBComboBox10").isEmpty());
    EXPECT_EQ(fileBytes("FuelType.INI"), QByteArray());
    restart();
    EXPECT_TRUE(items("DBComboBox10").isEmpty());
}

TEST_F(CardAidsTest, InsurerListAlsoFillsTheTheftInsuranceBox)
{
    create();
    ScriptedDialogs script;
    script.answer(QStringLiteral("ListEditForm"), listing("北南損保"));
    form()->CarIns1Click();
    EXPECT_EQ(items("DBComboBox15"), QStringList{QStringLiteral("北南損保")});
    EXPECT_EQ(items("UpComboBox3"), QStringList{QStringLiteral("北南損保")});
    script.answer(QStringLiteral("ListEditForm"), listing("車検\n点検"));
    form()->Memo1Click();
    EXPECT_EQ(items("MemoListBox"), (QStringList{QStringLiteral("車検"), QStringLiteral("点検")}));
}

TEST_F(CardAidsTest, ListEntriesCodePage932CannotHoldAreRefused)
{
    create();
    ScriptedDialogs script;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    script.answer(QStringLiteral("ListEditForm"), [](QDialog& d) {
        auto& editor = static_cast<TListEditForm&>(d);
        editor.Memo1->setPlainText(QStringLiteral("群馬\n\U0001F600"));
        editor.OKBtn->click();
        EXPECT_TRUE(editor.isVisible());
        return int(QDialog::Rejected);
    });
    form()->CarNoClick();
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(fileBytes("CarNo.INI"), QByteArray("<missing>"));
}

// IBM Roman numeral one (re-encodes as NEC 0x8754), a NEC-selected IBM code
// (re-encodes as 0xFA40) and a byte that is no character.
const SjisString kIbmOne("\xFA\x4A");
const SjisString kNecSelected("\xEE\xEF");
const SjisString kNoCharacter("\xFD");

TEST_F(CardAidsTest, TheListEditorReEncodesOnlyTheLinesTheUserChanged)
{
    const std::vector<SjisString> before = {kIbmOne, sj("トヨタ"), kNecSelected + "x", sj("日産") + kNoCharacter};
    LineListFile(before).write(dir.filePath(QStringLiteral("CarName.INI")));
    create();
    EXPECT_EQ(listEntries(w("DBComboBox8")), before);
    ScriptedDialogs script;
    ScriptedMessages messages;  // any prompt fails the test
    script.answer(QStringLiteral("ListEditForm"), [](QDialog& d) {
        auto& editor = static_cast<TListEditForm&>(d);
        QStringList lines = editor.Memo1->toPlainText().split(QLatin1Char('\n'));
        lines[1] = QStringLiteral("トヨタ自動車");
        lines[3] += QStringLiteral("自動車");  // after the byte that is no character
        lines << QStringLiteral("ホンダ");
        editor.Memo1->setPlainText(lines.join(QLatin1Char('\n')));
        editor.OKBtn->click();
        return int(QDialog::Rejected);
    });
    form()->CarName1Click();
    const std::vector<SjisString> after = {kIbmOne, sj("トヨタ自動車"), kNecSelected + "x",
                                           sj("日産") + kNoCharacter + sj("自動車"), sj("ホンダ")};
    EXPECT_EQ(fileBytes("CarName.INI"), crlf(after));
    EXPECT_EQ(listEntries(w("DBComboBox8")), after);

    script.answer(QStringLiteral("ListEditForm"), [](QDialog& d) {  // OK on what it shows
        static_cast<TListEditForm&>(d).OKBtn->click();
        return int(QDialog::Rejected);
    });
    form()->CarName1Click();
    EXPECT_EQ(fileBytes("CarName.INI"), crlf(after));
}

TEST_F(CardAidsTest, AChosenListEntryAndAStandardWordKeepTheirBytes)
{
    LineListFile({kIbmOne, sj("トヨタ")}).write(dir.filePath(QStringLiteral("CarName.INI")));
    LineListFile({kNecSelected + kNoCharacter}).write(dir.filePath(QStringLiteral("CarMemo.INI")));
    create({{"使用者ふりがな", "たなか"}, {"車名", "ホンダ"}});
    auto* box = w<QComboBox>("DBComboBox8");
    ScriptedMessages messages;  // any prompt fails the test
    box->setFocus();
    box->setCurrentIndex(0);
    emit box->activated(0);  // the user picks the first entry
    post();
    EXPECT_EQ(form()->Table1->FieldByName("車名").AsString(), kIbmOne);

    auto* words = w<QListWidget>("MemoListBox");
    form()->MemoSpeedClick();
    words->setCurrentRow(0);
    form()->MemoListBoxClick();
    EXPECT_EQ(form()->Table1->FieldByName("備考").AsString(), kNecSelected + kNoCharacter + sj("　"));
}

TEST_F(CardAidsTest, RenamingATitleKeepsTheBytesOfTheOtherTitles)
{
    LineListFile({kIbmOne, kNoCharacter, sj("型式"), kNecSelected}).write(dir.filePath(QStringLiteral("CarMemo2.INI")));
    create();
    EXPECT_EQ(caption("Title14Panel1"), sjis::decode(kIbmOne));
    ScriptedDialogs script;
    ScriptedMessages messages;  // any prompt fails the test
    script.answer(QStringLiteral("InputQueryDlg"), naming("年式"));
    form()->N22Click();
    EXPECT_EQ(caption("Title14Panel3"), QStringLiteral("年式"));
    EXPECT_EQ(fileBytes("CarMemo2.INI"),
              crlf({kIbmOne, kNoCharacter, sj("年式"), kNecSelected, {}, {}, {}, {}}));
}

TEST_F(CardAidsTest, ATitleCp932CannotHoldChangesNeitherCaptionNorFile)
{
    create();
    const QString before = caption("Title14Panel3");
    ScriptedDialogs script;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    script.answer(QStringLiteral("InputQueryDlg"), naming("型式😀"));
    form()->N22Click();
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'😀'));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(caption("Title14Panel3"), before);
    EXPECT_EQ(fileBytes("CarMemo2.INI"), QByteArray("<missing>"));
}

TEST_F(CardAidsTest, RenamingATitleRewritesItsFile)
{
    writeSettings("CarMemo2.INI", {"エンジン", "色"});  // short file: the other titles are empty
    create();
    ScriptedDialogs script;
    QString title, prompt;
    script.answer(QStringLiteral("InputQueryDlg"), naming("任意保険", &title, &prompt));
    w<QAction>("N17")->trigger();
    EXPECT_EQ(title, QStringLiteral("名称の変更（自動車損害賠償責任保険）"));
    EXPECT_EQ(prompt, QStringLiteral("自動車損害賠償責任保険の代わりの名称を入力してください。"));
    EXPECT_EQ(caption("Title9Panel2"), QStringLiteral("任意保険"));
    EXPECT_EQ(fileBytes("CarInsure.INI"), bytes("任意保険\r\n"));

    script.answer(QStringLiteral("InputQueryDlg"), naming("型式年"));
    form()->N22Click();
    EXPECT_EQ(fileBytes("CarMemo2.INI"), bytes("エンジン\r\n色\r\n型式年\r\n\r\n\r\n\r\n\r\n\r\n"));

    script.answer(QStringLiteral("InputQueryDlg"), naming(""));
    form()->N19Click();
    EXPECT_EQ(caption("Title15Panel1"), QString());
    EXPECT_EQ(fileBytes("CarMemo1.INI"), bytes("\r\n"));

    script.answer(QStringLiteral("InputQueryDlg"), QDialog::Rejected);
    form()->N27Click();
    EXPECT_EQ(caption("Title14Panel8"), QString());
    restart();
    EXPECT_EQ(caption("Title14Panel3"), QStringLiteral("型式年"));
    EXPECT_EQ(caption("Title9Panel2"), QStringLiteral("任意保険"));
}

// ---- weights ------------------------------------------------------------------------

TEST_F(CardAidsTest, OneMissingWeightIsWorkedOut)
{
    create({{"使用者ふりがな", "たなか"}, {"乗車定員", "5"}, {"車両重量", "1200"}});
    focusIn(w<DBMemo>("DBMemo10"));
    EXPECT_EQ(field("車両総重量"), "1475");
    form()->Table1->Cancel();

    set("車両総重量", "2000");
    set("最大積載量", "350");
    set("車両重量", "");
    form()->DBMemo7Enter();
    EXPECT_EQ(field("車両重量"), "1375");

    // All four filled: the maximum load is worked out again.
    set("車両重量", "1000");
    form()->DBMemo7Enter();
    EXPECT_EQ(field("最大積載量"), "725");

    // Group 2 shares the vehicle weight.
    set("定員", "2");
    set("積載量", "100");
    form()->DBMemo8Enter();
    EXPECT_EQ(field("総重量"), "1210");
}

TEST_F(CardAidsTest, TwoMissingWeightsChangeNothing)
{
    create({{"使用者ふりがな", "たなか"}, {"最大積載量", "350"}, {"車両総重量", "2000"}});
    form()->DBMemo7Enter();
    EXPECT_EQ(state(), Table::State::Browse);
    EXPECT_EQ(field("最大積載量"), "350");

    // Seats missing alone: nothing is computed, but the record is edited.
    set("車両重量", "1000");
    post();
    form()->DBMemo7Enter();
    EXPECT_EQ(state(), Table::State::Edit);
    EXPECT_EQ(field("最大積載量"), "350");
    EXPECT_EQ(field("車両総重量"), "2000");
}

TEST_F(CardAidsTest, ClearingWeightsAsksFirst)
{
    create({{"使用者ふりがな", "たなか"}, {"乗車定員", "5"}, {"最大積載量", "350"}, {"車両重量", "1000"},
            {"車両総重量", "1625"}, {"定員", "2"}});
    ScriptedMessages messages;
    messages.answer(MessageAnswer::No).answer(MessageAnswer::Yes).answer(MessageAnswer::Yes);
    QTest::mouseDClick(w<DBMemo>("DBMemo12")->viewport(), Qt::LeftButton);
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text,
              QStringLiteral("乗車定員、最大積載量、車両重量、車両総重量を消去します！\r消去してよろしいですか？"));
    EXPECT_EQ(field("車両総重量"), "1625");
    EXPECT_EQ(state(), Table::State::Browse);

    form()->DBMemo7DblClick();
    for (const char* f : {"乗車定員", "最大積載量", "車両重量", "車両総重量"})
        EXPECT_EQ(field(f), "") << f;
    EXPECT_EQ(field("定員"), "2");
    form()->DBMemo8DblClick();
    EXPECT_EQ(messages.prompts()[2].text,
              QStringLiteral("定員、積載量、車両重量、総重量を消去します！\r消去してよろしいですか？"));
    EXPECT_EQ(field("定員"), "");
}

// ---- remarks ------------------------------------------------------------------------

TEST_F(CardAidsTest, DateButtonStartsADatedLine)
{
    create();
    ScriptedDialogs script;
    QDate shownOn;
    script.answer(QStringLiteral("DateSDlg"), [&](QDialog& d) {
        shownOn = static_cast<TDateSDlg&>(d).Calendar1->selectedDate();
        return picking(QDate(2024, 6, 1))(d);
    });
    w<QPushButton>("MemoButton")->click();
    EXPECT_EQ(shownOn, QDate(2024, 6, 15));
    EXPECT_EQ(field("備考"), "\r\n令和０６年０６月０１日　");

    script.answer(QStringLiteral("DateSDlg"), QDialog::Rejected);
    form()->MemoButtonClick();
    EXPECT_EQ(field("備考"), "\r\n令和０６年０６月０１日　");
}

TEST_F(CardAidsTest, StandardWordsGoAtTheEndOfTheLastLine)
{
    create({{"使用者ふりがな", "たなか"}, {"備考", "令和０６年０６月０１日　"}});
    auto* words = w<QListWidget>("MemoListBox");
    w<QToolButton>("MemoSpeed")->click();
    EXPECT_FALSE(words->isHidden());
    EXPECT_FALSE(w("MemoCancelSpeed")->isHidden());
    words->setCurrentRow(1);
    QTest::mouseClick(words->viewport(), Qt::LeftButton, {}, words->visualItemRect(words->item(1)).center());
    EXPECT_EQ(field("備考"), "令和０６年０６月０１日　修理　");
    EXPECT_TRUE(words->isHidden());
    EXPECT_TRUE(w("MemoCancelSpeed")->isHidden());

    form()->MemoSpeedClick();
    w<QToolButton>("MemoCancelSpeed")->click();
    EXPECT_TRUE(words->isHidden());
    EXPECT_EQ(field("備考"), "令和０６年０６月０１日　修理　");
}

const char* const kUnsortedRemarks =
    "令和０６年０３月０１日　点検\r\n"
    "　　\r\n"
    "平成３０年１２月０１日　車検\r\n"
    "\r\n"
    "令和０２年０１月１０日　修理";
// Shift-JIS order: 平成 (95 BD) comes before 令和 (97 DF).
const std::string kAscending = "平成３０年１２月０１日　車検\r\n令和０２年０１月１０日　修理\r\n令和０６年０３月０１日　点検";
const std::string kDescending = "令和０６年０３月０１日　点検\r\n令和０２年０１月１０日　修理\r\n平成３０年１２月０１日　車検";

TEST_F(CardAidsTest, RemarksSortByDateThenReverse)
{
    create({{"使用者ふりがな", "たなか"}, {"備考", kUnsortedRemarks}});
    w<Panel>("Title9Panel3")->clicked();
    EXPECT_EQ(field("備考"), kAscending);
    EXPECT_EQ(caption("Title9Panel3"), QStringLiteral("　　　　年　月　日　　　△"));
    form()->Title9Panel3Click();
    EXPECT_EQ(field("備考"), kDescending);
    EXPECT_EQ(caption("Title9Panel3"), QStringLiteral("　　　　年　月　日　　　▽"));

    form()->Title9Panel4Click();
    EXPECT_EQ(field("備考"), kAscending);
    EXPECT_EQ(caption("Title9Panel3"), QStringLiteral("年　月　日"));
    EXPECT_EQ(caption("Title9Panel4"),
              QStringLiteral("　　　　　　　　　　内　　　　　　　　　　容　　　　　　　　　△"));

    // Cancelling the edit puts both headers back.
    w<DBNavigator>("DBNavigator3")->btnClick(DBNavigator::Cancel);
    EXPECT_EQ(caption("Title9Panel4"), QStringLiteral("内　　　　　　　　　　容"));
    EXPECT_EQ(field("備考"), kUnsortedRemarks);
}

TEST_F(CardAidsTest, OneLineIsLeftAloneAndShortLinesSortByDate)
{
    create({{"使用者ふりがな", "たなか"}, {"備考", "令和０６年０３月０１日　点検\r\n"}});
    form()->Title9Panel3Click();
    EXPECT_EQ(state(), Table::State::Browse);
    EXPECT_EQ(caption("Title9Panel3"), QStringLiteral("年　月　日"));

    set("備考", "b\r\nA 1\r\n令和０６年０３月０１日");
    form()->Title9Panel3Click();
    EXPECT_EQ(field("備考"), "A 1\r\nb\r\n令和０６年０３月０１日");
}

TEST_F(CardAidsTest, RemarksTypedButNotLeftAreSortedToo)
{
    create();
    auto* memo = w<DBMemo>("DBMemo34");
    simulateTyping(memo, QStringLiteral("令和０６年０３月０１日　二\n令和０５年０３月０１日　一"));
    form()->Title9Panel3Click();
    EXPECT_EQ(field("備考"), "令和０５年０３月０１日　一\r\n令和０６年０３月０１日　二");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("令和０５年０３月０１日　一\n令和０６年０３月０１日　二"));
}

}  // namespace
