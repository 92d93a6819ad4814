#include "components/widgets/db_controls.h"
#include "components/widgets/dual_list.h"
#include "components/widgets/panel.h"
#include "components/formats/settings_file.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/copy_pattern_dialog.h"
#include "record_book/date_dialog.h"
#include "record_book/filter_dialog.h"
#include "record_book/find_dialog.h"
#include "record_book/main_window.h"
#include "record_book/model/record_query.h"
#include "record_book/sort_dialog.h"
#include "tests/record_book/main_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Names = std::vector<std::string>;

// The main window, whose find, filter, sort, copy and date dialogs these
// tests use, on 15 June 2024.
class FindTest : public MainWindowFixture {
protected:
    FixedClock clock{QDate(2024, 6, 15)};

    // Records put straight into the table, then the window and its dialogs
    // in their start-up order.
    void create(const std::vector<Fields>& records)
    {
        {
            Table t(*db, "INDATA");
            t.Open();
            int number = 0;
            for (const Fields& fields : records) {
                t.Append();
                t.FieldByName("自動車登録番号").SetAsString(std::to_string(++number));
                for (auto [field, value] : fields)
                    t.FieldByName(field).SetAsString(sj(value));
                t.Post();
            }
        }
        MainWindowFixture::create();
    }

    // Readings only, in the primary order they sort in.
    void createReadings(const Names& readings)
    {
        std::vector<Fields> records;
        for (const std::string& r : readings)
            records.push_back({{"使用者ふりがな", r.c_str()}});
        create(records);
    }

    void click(const char* speed) { w<QToolButton>(speed)->click(); }
    std::string reading() { return field("使用者ふりがな"); }

    // Readings of the visible records in the active order.
    Names visible()
    {
        Names out;
        const auto f = std::size_t(form()->Table1->FieldIndex("使用者ふりがな"));
        for (int i = 0; i < form()->Table1->RecordCount(); ++i)
            out.push_back(sjis::toUtf8(form()->Table1->rowValues(i)[f]));
        return out;
    }

    static QString q(const char* utf8) { return QString::fromUtf8(utf8); }

    // A find dialog answer: the field and the text, then OK.
    static ScriptedDialogs::Answer finding(const char* fieldName, const char* text)
    {
        return [=](QDialog& d) {
            auto& dlg = static_cast<TFindDlg&>(d);
            dlg.FindComboBox->setEditText(q(fieldName));
            dlg.FindEdit->setEditText(q(text));
            dlg.OKBtn->click();
            return int(QDialog::Rejected);
        };
    }

    // A filter dialog answer: one or two rows, then OK.
    static ScriptedDialogs::Answer filtering(const char* f, const char* from, const char* to = "", const char* p = nullptr,
                                             const char* pFrom = "", const char* pTo = "", QString* title = nullptr)
    {
        return [=](QDialog& d) {
            auto& dlg = static_cast<TFilterDlg&>(d);
            if (title)
                *title = dlg.windowTitle();
            dlg.FilterComboBox->setEditText(q(f));
            dlg.FilterFromEdit->setEditText(q(from));
            dlg.FilterToEdit->setEditText(q(to));
            if (p)
                dlg.FilterPComboBox->setEditText(q(p));
            dlg.FilterPFromEdit->setEditText(q(pFrom));
            dlg.FilterPToEdit->setEditText(q(pTo));
            dlg.OKBtn->click();
            return int(QDialog::Rejected);
        };
    }

    static ScriptedDialogs::Answer sorting(const char* f)
    {
        return [=](QDialog& d) {
            static_cast<TSortDlg&>(d).SortComboBox->setEditText(q(f));
            return int(QDialog::Accepted);
        };
    }

    // A copy dialog answer: the named fields moved to the copied list in
    // this order, then `button`.
    static ScriptedDialogs::Answer copying(std::vector<const char*> fields, const char* button = "OKBtn")
    {
        return [=](QDialog& d) {
            auto& dlg = static_cast<TCopyPatDlg&>(d);
            for (const char* f : fields) {
                dlg.ListBox1->clearSelection();
                for (int i = 0; i < dlg.ListBox1->count(); ++i)
                    if (dlg.ListBox1->item(i)->text() == q(f))
                        dlg.ListBox1->item(i)->setSelected(true);
                dlg.Chooser->SpeedButton1->click();
            }
            findControl<QPushButton>(&d, button)->click();
            return int(QDialog::Rejected);
        };
    }
};

// ---- the filter expression --------------------------------------------------------------

std::string expression(const FilterRow& a, const FilterRow& b = {}) { return sjis::toUtf8(filterExpression(a, b)); }

TEST(FilterExpression, IsBuiltByteForByte)
{
    const SjisString reading = sj("使用者ふりがな");
    EXPECT_EQ(expression({reading, sj("あ"), {}}), "(使用者ふりがな = 'あ*')");
    const SjisString date = sj("登録年月日");
    EXPECT_EQ(expression({date, sj("平成１０年"), sj("平成１２年")}),
              "(登録年月日 >= '平成１０年') and  ((登録年月日 <= '平成１２年') or (登録年月日 = '平成１２年*'))");
    EXPECT_EQ(expression({reading, sj("か"), {}}, {date, sj("令和"), {}}),
              "(使用者ふりがな = 'か*') and (登録年月日 = '令和*')");
    EXPECT_EQ(expression({reading, sj("か"), {}}, {date, sj("Ａ"), sj("Ｂ")}),
              "(使用者ふりがな = 'か*') and (登録年月日 >= 'Ａ') and  ((登録年月日 <= 'Ｂ') or (登録年月日 = 'Ｂ*'))");
}

TEST(FilterExpression, DoublesQuotesAndNeedsAFromText)
{
    const SjisString name = sj("使用者");
    EXPECT_EQ(expression({name, "O'Neil", "O'Z"}),
              "(使用者 >= 'O''Neil') and  ((使用者 <= 'O''Z') or (使用者 = 'O''Z*'))");
    EXPECT_EQ(expression({name, {}, sj("あ")}, {name, sj("い"), {}}), "");
    EXPECT_EQ(expression({name, sj("あ"), {}}, {name, {}, sj("い")}), "(使用者 = 'あ*')");
}

// ---- find ----------------------------------------------------------------------------------

TEST_F(FindTest, FindTakesTheFirstRecordHoldingPartOfAValueInOneMove)
{
    create({{{"使用者ふりがな", "あべ"}, {"使用者", "阿部一郎"}},
            {{"使用者ふりがな", "かわだ"}, {"使用者", "川田次郎"}},
            {{"使用者ふりがな", "さとう"}, {"使用者", "佐藤川男"}}});
    form()->Table1->Last();
    QSignalSpy moves(form()->Table1, &Table::recordChanged);
    ScriptedDialogs dialogs;
    dialogs.answer("FindDlg", finding("使用者", "川"));
    action("Find2")->trigger();
    EXPECT_EQ(reading(), "かわだ");
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("2"));

    click("FindNextSpeed");
    EXPECT_EQ(reading(), "さとう");
    click("FindBackSpeed");
    EXPECT_EQ(reading(), "かわだ");
}

TEST_F(FindTest, FindNextOrPreviousAtTheEndLooksAtItAgainOrSaysNotFound)
{
    createReadings({"あべ", "かわだ", "さとう"});
    struct Case {
        const char* again;  // found at the end it searches towards
        const char* again1;
        const char* missing;  // found only at the other end
        const char* speed;
        const char* end;
    };
    const Case cases[] = {{"とう", "FindNext1", "べ", "FindNextSpeed", "さとう"},
                          {"あ", "FindBack1", "とう", "FindBackSpeed", "あべ"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        ScriptedDialogs dialogs;
        dialogs.answer("FindDlg", finding("使用者ふりがな", c.again));
        click("FindSpeed");
        action(c.again1)->trigger();  // the end record matches: found again
        EXPECT_EQ(reading(), c.end);

        dialogs.answer("FindDlg", finding("使用者ふりがな", c.missing));
        click("FindSpeed");
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        click(c.speed);
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_EQ(messages.prompts()[0].text, q("使用者ふりがな の %1は、見つかりませんでした。").arg(q(c.missing)));
        EXPECT_EQ(reading(), c.end);  // the search ends on the end record
        EXPECT_TRUE(std::string_view(c.speed) == "FindNextSpeed" ? form()->Table1->Eof() : form()->Table1->Bof());
    }
}

TEST_F(FindTest, ATextNeverMatchesInsideATwoByteCharacter)
{
    // 和 is 0x98 0x61 ("a" as its second byte), ア is 0x83 0x41 ("A").
    create({{{"使用者ふりがな", "あべ"}, {"登録年月日", "昭和６０年０１月０１日"}, {"使用者", "アオキ"}},
            {{"使用者ふりがな", "かわだ"}, {"登録年月日", "a"}, {"使用者", "Aoki"}}});
    ScriptedDialogs dialogs;
    dialogs.answer("FindDlg", finding("登録年月日", "a"));
    click("FindSpeed");
    EXPECT_EQ(reading(), "かわだ");
    dialogs.answer("FindDlg", finding("使用者", "A"));
    click("FindSpeed");
    EXPECT_EQ(reading(), "かわだ");
}

TEST_F(FindTest, OnlyTheRecordsTheFilterLetsThroughAreSearched)
{
    create({{{"使用者ふりがな", "あべ"}, {"使用者", "山田"}},
            {{"使用者ふりがな", "かわだ"}, {"使用者", "山本"}},
            {{"使用者ふりがな", "さとう"}, {"使用者", "山口"}}});
    ScriptedDialogs dialogs;
    dialogs.answer("FilterDlg", filtering("使用者ふりがな", "さ"));
    click("FilterSpeed");
    dialogs.answer("FindDlg", finding("使用者", "山"));
    click("FindSpeed");
    EXPECT_EQ(reading(), "さとう");
}

TEST_F(FindTest, ADialogClosedWithoutOkOrWithoutTextFindsNothingAfterwards)
{
    createReadings({"あべ", "かわだ"});
    ScriptedDialogs dialogs;
    dialogs.answer("FindDlg", finding("使用者ふりがな", "か"));
    click("FindSpeed");
    form()->Table1->First();
    dialogs.answer("FindDlg", QDialog::Rejected);
    click("FindSpeed");
    click("FindNextSpeed");
    click("FindBackSpeed");
    dialogs.answer("FindDlg", finding("使用者ふりがな", ""));
    click("FindSpeed");
    click("FindNextSpeed");
    EXPECT_EQ(reading(), "あべ");
    EXPECT_EQ(dialogs.unanswered(), 0u);
}

TEST_F(FindTest, ClickingTheRecordNumberOpensTheFindDialog)
{
    createReadings({"あべ", "かわだ"});
    ScriptedDialogs dialogs;
    dialogs.answer("FindDlg", finding("使用者ふりがな", "か"));
    dialogs.answer("FindDlg", QDialog::Rejected);
    emit w<Panel>("CurrentPanel")->clicked();
    EXPECT_EQ(reading(), "かわだ");
    emit w<Panel>("Commant2Panel")->clicked();
    EXPECT_EQ(dialogs.shown().size(), 2u);
}

TEST_F(FindTest, FieldListsAndValueChoicesKeepTheBytesOfTheirFiles)
{
    // IBM Roman numeral one (re-encodes as NEC 0x8754), a NEC-selected IBM
    // code (re-encodes as 0xFA40) and a byte that is no character.
    const SjisString ibmOne("\xFA\x4A"), necSelected("\xEE\xEF"), odd("\xFD");
    for (const char* file : {"Find.INI", "Filter.INI", "Sort.INI"})
        LineListFile({ibmOne + necSelected + odd, sj("車名")}).write(dir.filePath(QString::fromLatin1(file)));
    LineListFile({ibmOne, necSelected + odd}).write(dir.filePath(QStringLiteral("CarName.INI")));
    createReadings({"あ"});
    ScriptedMessages messages;  // any prompt fails the test
    EXPECT_EQ(FindDlg->fieldName(), ibmOne + necSelected + odd);
    EXPECT_EQ(FilterDlg->firstRow().field, ibmOne + necSelected + odd);
    EXPECT_EQ(SortDlg->fieldName(), ibmOne + necSelected + odd);

    FindDlg->FindComboBox->setCurrentIndex(1);
    FindDlg->FindComboBoxChange();
    ASSERT_EQ(FindDlg->FindEdit->count(), 2);
    FindDlg->FindEdit->setCurrentIndex(1);
    EXPECT_EQ(FindDlg->findText(), necSelected + odd);
    FindDlg->FindEdit->lineEdit()->end(false);
    FindDlg->FindEdit->lineEdit()->insert(q("型"));  // typed after the entry
    EXPECT_EQ(FindDlg->findText(), necSelected + odd + sj("型"));
    FindDlg->FindEdit->setCurrentIndex(0);
    EXPECT_EQ(FindDlg->findText(), ibmOne);
}

TEST_F(FindTest, TextCp932CannotHoldKeepsEachDialogOpenWithTheStandardWarning)
{
    createReadings({"あ"});
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    FindDlg->FindComboBox->setEditText(q("使用者"));
    FindDlg->FindEdit->setEditText(q("川😀"));
    FindDlg->OKBtn->click();
    FilterDlg->FilterComboBox->setEditText(q("使用者"));
    FilterDlg->FilterToEdit->setEditText(q("𠮷"));
    FilterDlg->OKBtn->click();
    SortDlg->SortComboBox->setEditText(q("幅😀"));
    SortDlg->OKBtn->click();
    ASSERT_EQ(messages.prompts().size(), 3u);
    EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'😀'));
    EXPECT_EQ(messages.prompts()[1].text, sjis::refusalMessage(U'𠮷'));
    EXPECT_EQ(messages.prompts()[2].text, sjis::refusalMessage(U'😀'));
    for (const MessagePrompt& p : messages.prompts())
        EXPECT_EQ(p.icon, MessageIcon::Warning);
    EXPECT_NE(FindDlg->result(), QDialog::Accepted);
}

TEST_F(FindTest, DateKeywordAndDateDialogGiveTheStoredForms)
{
    create({{{"使用者ふりがな", "あべ"}, {"初度登録年月", "平成３０年０１月"}},
            {{"使用者ふりがな", "かわだ"}, {"初度登録年月", "令和０６年０６月"}, {"登録年月日", "令和０６年０６月１５日"}}});
    FindDlg->FindComboBox->setEditText(q("登録年月日"));
    FindDlg->FindEdit->setEditText(QStringLiteral("$DATE"));
    simulateLeave(FindDlg->FindEdit);
    EXPECT_EQ(FindDlg->FindEdit->currentText(), q("令和０６年０６月１５日"));  // two-digit era year

    FindDlg->FindComboBox->setEditText(q("初度登録年月"));
    FindDlg->FindEdit->setEditText(QStringLiteral("$DATE"));
    simulateLeave(FindDlg->FindEdit);
    EXPECT_EQ(FindDlg->FindEdit->currentText(), q("令和０６年０６月"));

    ScriptedDialogs dialogs;
    dialogs.answer("DateSDlg", picking(QDate(2019, 5, 20)));
    FindDlg->FindEditDblClick();
    EXPECT_EQ(FindDlg->FindEdit->currentText(), q("令和０１年０５月"));

    // Only date fields and 備考 open the dialog.
    FindDlg->FindComboBox->setEditText(q("使用者"));
    FindDlg->FindEditDblClick();
    FindDlg->FindComboBox->setEditText(q("備考"));
    dialogs.answer("DateSDlg", picking(QDate(2019, 5, 20)));
    FindDlg->FindEditDblClick();
    EXPECT_EQ(FindDlg->FindEdit->currentText(), q("令和０１年０５月２０日"));
    EXPECT_EQ(dialogs.unanswered(), 0u);

    // "$DATE" typed and OK pressed with Enter still finds today's records.
    dialogs.answer("FindDlg", [](QDialog& d) {
        auto& dlg = static_cast<TFindDlg&>(d);
        dlg.FindComboBox->setEditText(q("初度登録年月"));
        dlg.FindEdit->setEditText(QStringLiteral("$DATE"));
        dlg.OKBtn->click();
        return int(QDialog::Rejected);
    });
    click("FindSpeed");
    EXPECT_EQ(reading(), "かわだ");
}

TEST_F(FindTest, TheValueBoxOffersTheCardsChoicesForTheField)
{
    createReadings({"あべ"});
    FindDlg->FindComboBox->setEditText(q("車名"));
    EXPECT_EQ(FindDlg->FindEdit->count(), w<QComboBox>("DBComboBox8")->count());
    EXPECT_EQ(FindDlg->FindEdit->itemText(0), w<QComboBox>("DBComboBox8")->itemText(0));
    FindDlg->FindComboBox->setEditText(q("備考"));
    EXPECT_EQ(FindDlg->FindEdit->itemText(0), w<QListWidget>("MemoListBox")->item(0)->text());
    FindDlg->FindEdit->setEditText(q("車検"));
    FindDlg->FindComboBox->setEditText(q("使用者"));
    EXPECT_EQ(FindDlg->FindEdit->count(), 0);
    EXPECT_EQ(FindDlg->FindEdit->currentText(), q("車検"));  // the text stays

    FilterDlg->FilterComboBox->setEditText(q("備考"));  // the filter offers no remark words
    EXPECT_EQ(FilterDlg->FilterFromEdit->count(), 0);
    FilterDlg->FilterPComboBox->setEditText(q("自賠責機関"));
    EXPECT_EQ(FilterDlg->FilterPToEdit->count(), w<QComboBox>("DBComboBox15")->count());
}

TEST_F(FindTest, FieldListsComeFromTheirFilesOrTheStandardFields)
{
    writeSettings("Find.INI", {"使用者", "電話番号"});
    writeSettings("Sort.INI", {"幅"});
    createReadings({"あべ"});
    EXPECT_EQ(FindDlg->FindComboBox->count(), 2);
    EXPECT_EQ(FindDlg->FindComboBox->currentText(), q("使用者"));
    EXPECT_EQ(SortDlg->SortComboBox->currentText(), q("幅"));
    ASSERT_EQ(FilterDlg->FilterPComboBox->count(), 47);
    EXPECT_EQ(FilterDlg->FilterPComboBox->currentText(), q("使用者ふりがな"));
    EXPECT_EQ(FilterDlg->FilterPComboBox->itemText(46), q("自賠責期間至"));
}

TEST_F(FindTest, AFieldTheTableLacksIsReportedByTheTable)
{
    createReadings({"あべ"});
    ScriptedDialogs dialogs;
    dialogs.answer("FindDlg", finding("車種", "あ"));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    click("FindSpeed");
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(messages.prompts()[0].text.contains(q("車種")));
}

// ---- filter and sort -------------------------------------------------------------------

TEST_F(FindTest, FilterSelectsTheRangeAndShowsItsState)
{
    create({{{"使用者ふりがな", "あ"}, {"登録年月日", "平成０９年１２月３１日"}},
            {{"使用者ふりがな", "い"}, {"登録年月日", "平成１０年"}},
            {{"使用者ふりがな", "う"}, {"登録年月日", "平成１１年０５月０１日"}},
            {{"使用者ふりがな", "え"}, {"登録年月日", "平成１２年"}},
            {{"使用者ふりがな", "お"}, {"登録年月日", "平成１２年１２月３１日"}},
            {{"使用者ふりがな", "か"}, {"登録年月日", "平成１３年０１月０１日"}}});
    ScriptedDialogs dialogs;
    dialogs.answer("FilterDlg", filtering("登録年月日", "平成１０年", "平成１２年"));
    action("Filter1")->trigger();
    EXPECT_EQ(visible(), (Names{"い", "う", "え", "お"}));
    EXPECT_EQ(sjis::toUtf8(form()->Table1->Filter()),
              "(登録年月日 >= '平成１０年') and  ((登録年月日 <= '平成１２年') or (登録年月日 = '平成１２年*'))");
    EXPECT_TRUE(form()->Table1->Filtered());
    EXPECT_EQ(caption("FilterPanel"), q("フィルタ"));
    EXPECT_EQ(caption("Commant1Panel"), q("件"));
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("4"));
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("1"));
    EXPECT_TRUE(action("FilterN")->isEnabled());
    EXPECT_FALSE(action("SortN")->isEnabled());

    // The next showing starts from the last conditions; a second row narrows.
    dialogs.answer("FilterDlg", [](QDialog& d) {
        auto& dlg = static_cast<TFilterDlg&>(d);
        EXPECT_EQ(dlg.FilterToEdit->currentText(), q("平成１２年"));
        dlg.FilterPComboBox->setEditText(q("使用者ふりがな"));
        dlg.FilterPFromEdit->setEditText(q("う"));
        dlg.OKBtn->click();
        return int(QDialog::Rejected);
    });
    click("FilterSpeed");
    EXPECT_EQ(visible(), (Names{"う"}));

    emit w<Panel>("FilterPanel")->clicked();
    EXPECT_EQ(visible().size(), 6u);
    EXPECT_FALSE(form()->Table1->Filtered());
    EXPECT_EQ(caption("FilterPanel"), QString());
    EXPECT_EQ(caption("Commant1Panel"), q("件中"));
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("6"));
    EXPECT_FALSE(action("FilterN")->isEnabled());
    EXPECT_EQ(FilterDlg->FilterPComboBox->currentText(), q("使用者ふりがな"));
    EXPECT_EQ(FilterDlg->FilterToEdit->currentText(), QString());
    EXPECT_EQ(FilterDlg->FilterPFromEdit->currentText(), QString());
}

TEST_F(FindTest, CancellingLeavingTheFromTextEmptyOrAnUnsuitableValueChangesNothing)
{
    createReadings({"あ", "い"});
    ScriptedDialogs dialogs;
    dialogs.answer("FilterDlg", QDialog::Rejected);
    click("FilterSpeed");
    dialogs.answer("FilterDlg", filtering("使用者ふりがな", "", "い"));
    click("FilterSpeed");
    dialogs.answer("SortDlg", QDialog::Rejected);
    click("SortSpeed");
    EXPECT_FALSE(form()->Table1->Filtered());
    EXPECT_EQ(form()->Table1->IndexName(), "");
    EXPECT_EQ(caption("FilterPanel"), QString());
    EXPECT_EQ(caption("SortPanel"), QString());
    // The clear commands do nothing while disabled.
    emit w<Panel>("SortPanel")->clicked();
    emit w<Panel>("FilterPanel")->clicked();
    EXPECT_EQ(caption("Commant1Panel"), q("件中"));

    // A value that does not suit the field is refused.
    dialogs.answer("FilterDlg", filtering("乗車定員", "五"));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    click("FilterSpeed");
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_FALSE(form()->Table1->Filtered());
    EXPECT_EQ(caption("FilterPanel"), QString());
    EXPECT_FALSE(action("FilterN")->isEnabled());
}

TEST_F(FindTest, SortSelectsTheFieldsIndexAndKeepsTheRecord)
{
    create({{{"使用者ふりがな", "あ"}, {"幅", "170"}}, {{"使用者ふりがな", "い"}, {"幅", "150"}},
            {{"使用者ふりがな", "う"}, {"幅", "160"}}});
    ScriptedDialogs dialogs;
    dialogs.answer("SortDlg", sorting("幅"));
    action("Sort1")->trigger();
    EXPECT_EQ(form()->Table1->IndexName(), "はば");
    EXPECT_EQ(visible(), (Names{"い", "う", "あ"}));
    EXPECT_EQ(reading(), "あ");
    EXPECT_EQ(caption("SortPanel"), q("ソート"));
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("3"));
    EXPECT_TRUE(action("SortN")->isEnabled());

    for (auto [f, index] : {std::pair{"自賠責期間自", "賠責期間自"}, std::pair{"自賠責期間", "自賠責期"},
                            std::pair{"自賠責期間至", "賠責期間至"}}) {
        dialogs.answer("SortDlg", sorting(f));
        click("SortSpeed");
        EXPECT_EQ(form()->Table1->IndexName(), index);
    }
}

TEST_F(FindTest, SortOnAnEmptyTableDoesNothing)
{
    create({});
    ScriptedDialogs dialogs;
    dialogs.answer("SortDlg", sorting("幅"));
    click("SortSpeed");
    EXPECT_EQ(form()->Table1->IndexName(), "");
    EXPECT_EQ(caption("SortPanel"), QString());
    EXPECT_FALSE(action("SortN")->isEnabled());
}

TEST_F(FindTest, SortClearedAloneLeavesAPlainFilter)
{
    createReadings({"あ", "い", "う"});
    ScriptedDialogs dialogs;
    dialogs.answer("FilterDlg", filtering("使用者ふりがな", "い", "う"));
    click("FilterSpeed");
    dialogs.answer("SortDlg", sorting("電話番号"));
    click("SortSpeed");
    SortDlg->SortComboBox->setEditText(q("幅"));
    action("SortN")->trigger();
    EXPECT_EQ(form()->Table1->IndexName(), "");
    EXPECT_EQ(caption("SortPanel"), QString());
    EXPECT_EQ(SortDlg->SortComboBox->currentText(), q("使用者ふりがな"));
    EXPECT_TRUE(form()->Table1->Filtered());
    EXPECT_EQ(caption("FilterPanel"), q("フィルタ"));
    EXPECT_EQ(visible(), (Names{"い", "う"}));
}

TEST_F(FindTest, SortAndFilterSortsByTheFirstRowAndEitherClearClearsBoth)
{
    create({{{"使用者ふりがな", "あ"}, {"電話番号", "3"}}, {{"使用者ふりがな", "い"}, {"電話番号", "2"}},
            {{"使用者ふりがな", "う"}, {"電話番号", "1"}}});
    ScriptedDialogs dialogs;
    QString title;
    dialogs.answer("FilterDlg", filtering("電話番号", "1", "2", nullptr, "", "", &title));
    action("SortFilter1")->trigger();
    EXPECT_EQ(title, q("ソート&フィルタ"));
    EXPECT_EQ(FilterDlg->windowTitle(), q("フィルタ"));
    EXPECT_EQ(form()->Table1->IndexName(), "電話番");
    EXPECT_EQ(visible(), (Names{"う", "い"}));
    EXPECT_EQ(form()->SortFilterCombined, 1);
    EXPECT_EQ(caption("SortPanel"), q("ソート"));
    EXPECT_EQ(caption("FilterPanel"), q("フィルタ"));

    action("FilterN")->trigger();
    EXPECT_FALSE(form()->Table1->Filtered());
    EXPECT_EQ(form()->Table1->IndexName(), "");
    EXPECT_EQ(caption("SortPanel"), QString());
    EXPECT_FALSE(action("SortN")->isEnabled());
    EXPECT_EQ(form()->SortFilterCombined, 0);

    dialogs.answer("FilterDlg", filtering("電話番号", "1", "2"));
    click("SortFilterSpeed");
    emit w<Panel>("SortPanel")->clicked();
    EXPECT_FALSE(form()->Table1->Filtered());
    EXPECT_EQ(caption("FilterPanel"), QString());
    EXPECT_EQ(caption("Commant1Panel"), q("件中"));
    EXPECT_FALSE(action("FilterN")->isEnabled());
    EXPECT_EQ(visible(), (Names{"あ", "い", "う"}));
}

TEST_F(FindTest, SortAndFilterThatLeavesNoRecordFiltersWithoutSorting)
{
    createReadings({"あ", "い"});
    ScriptedDialogs dialogs;
    dialogs.answer("FilterDlg", filtering("電話番号", "9"));
    click("SortFilterSpeed");
    EXPECT_TRUE(form()->Table1->Filtered());
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("0"));
    EXPECT_EQ(form()->Table1->IndexName(), "");
    EXPECT_EQ(caption("SortPanel"), QString());
}

// ---- copying a record --------------------------------------------------------------------

TEST_F(FindTest, CopyTakesTheChosenFieldsAsShownIntoANewRecord)
{
    create({{{"使用者ふりがな", "あべ"}, {"使用者", "阿部"}, {"車名", "トヨタ"}, {"車両重量", "1200"}}});
    form()->Table1->Edit();
    form()->Table1->FieldByName("車名").SetAsString(sj("ホンダ"));  // typed, not saved
    ScriptedDialogs dialogs;
    dialogs.answer("CopyPatDlg", copying({"車名", "使用者", "車両重量"}));
    action("Copy1")->trigger();

    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(field("車名"), "ホンダ");
    EXPECT_EQ(field("使用者"), "阿部");
    EXPECT_EQ(field("車両重量"), "1200");
    EXPECT_EQ(field("使用者ふりがな"), "");
    EXPECT_EQ(field("自動車登録番号"), "");
    form()->Table1->Cancel();
    EXPECT_EQ(field("車名"), "ホンダ");  // the edit was saved by the move

    QByteArray expected;
    for (const SjisString& e : copyEntries())
        if (e != sj("車名") && e != sj("使用者") && e != sj("車両重量"))
            expected += QByteArray::fromStdString(e) + "\r\n";
    expected += "\r\n" + QByteArray::fromStdString(sj("車名")) + "\r\n" + QByteArray::fromStdString(sj("使用者")) +
                "\r\n" + QByteArray::fromStdString(sj("車両重量")) + "\r\n\r\n";
    EXPECT_EQ(fileBytes("Copy.INI"), expected);
}

TEST_F(FindTest, NothingIsCopiedWithAnEmptyListOrNo)
{
    createReadings({"あべ"});
    ScriptedDialogs dialogs;
    dialogs.answer("CopyPatDlg", copying({}));
    click("CopySpeed");
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(form()->Table1->RecordCount(), 1);
    EXPECT_NE(fileBytes("Copy.INI"), QByteArray("<missing>"));  // saved all the same

    QFile::remove(dir.filePath("Copy.INI"));
    dialogs.answer("CopyPatDlg", copying({"使用者ふりがな"}, "CancelBtn"));
    click("CopySpeed");
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(fileBytes("Copy.INI"), QByteArray("<missing>"));
    // Without Copy.INI the lists stay as left for the next showing.
    EXPECT_EQ(CopyPatDlg->copiedFields(), std::vector<SjisString>{sj("使用者ふりがな")});
}

TEST_F(FindTest, CopyIniLoadsLeniently)
{
    createReadings({"あべ"});
    writeSettings("Copy.INI", {"", "使用者ふりがな", "重量"});  // no left list, no closing empty line
    ScriptedDialogs dialogs;
    dialogs.answer("CopyPatDlg", [](QDialog& d) {
        auto& dlg = static_cast<TCopyPatDlg&>(d);
        EXPECT_EQ(dlg.ListBox1->count(), 0);
        EXPECT_EQ(dlg.ListBox2->count(), 2);
        dlg.OKBtn->click();
        return int(QDialog::Rejected);
    });
    click("CopySpeed");
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);  // 重量 names no field and is skipped
    EXPECT_EQ(field("使用者ふりがな"), "あべ");
}

TEST_F(FindTest, ACopyIniThatCannotBeWrittenIsReportedAndTheCopyGoesOn)
{
    createReadings({"あべ"});
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Copy.INI")));
    ScriptedDialogs dialogs;
    dialogs.answer("CopyPatDlg", copying({"使用者ふりがな"}));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);  // reading it, then writing it
    click("CopySpeed");
    EXPECT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(field("使用者ふりがな"), "あべ");
}

TEST_F(FindTest, ACopiedNameThatIsNoFieldStopsTheCopy)
{
    createReadings({"あべ"});
    writeSettings("Copy.INI", {"", "使用者ふりがな", "車種", ""});
    ScriptedDialogs dialogs;
    dialogs.answer("CopyPatDlg", [](QDialog& d) {
        static_cast<TCopyPatDlg&>(d).OKBtn->click();
        return int(QDialog::Rejected);
    });
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    click("CopySpeed");
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(form()->Table1->RecordCount(), 1);
}

TEST_F(FindTest, TheCopyDialogOffersEveryFieldButTheNamesOfNoField)
{
    createReadings({"あべ"});
    const std::vector<SjisString> offered = listEntries(CopyPatDlg->ListBox1);
    EXPECT_EQ(offered.size(), 46u);
    for (const char* none : {"重量", "車両重量又は総重量", "用途及び重量"}) {
        EXPECT_TRUE(copiesNothing(sj(none)));
        EXPECT_EQ(std::count(offered.begin(), offered.end(), sj(none)), 0);
    }
    for (const SjisString& e : offered)
        EXPECT_GE(form()->Table1->FieldIndex(sjis::toUtf8(e)), 0) << sjis::toUtf8(e);
}

}  // namespace
