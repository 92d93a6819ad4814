#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/core/record_fields.h"
#include "platform/help.h"
#include "platform/keyboard_locks.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/main_window.h"
#include "record_book/small_dialogs.h"
#include "tests/record_book/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<const char*>;

// The main window with the password and version dialogs among the others.
class MainWindowTest : public MainWindowFixture {
protected:
    QString statusText() { return w<QStatusBar>("StatusBar1")->findChild<QLabel*>()->text(); }

    void set(const char* name, const char* value) { form()->Table1->FieldByName(name).SetAsString(sj(value)); }
    int tab() { return form()->tabs()->currentIndex(); }
    void clickTab(const char* caption)
    {
        for (int i = 0; i < form()->tabs()->count(); ++i)
            if (form()->tabs()->tabText(i) == QString::fromUtf8(caption))
                form()->tabs()->setCurrentIndex(i);
    }

    static QStringList utf8List(const Lines& lines)
    {
        QStringList l;
        for (const char* s : lines)
            l << QString::fromUtf8(s);
        return l;
    }

    // A password dialog answer: types the text and presses OK.
    static ScriptedDialogs::Answer typing(const char* text)
    {
        return [text](QDialog& d) {
            findControl<QLineEdit>(&d, "MaskEdit1")->setText(QString::fromUtf8(text));
            return int(QDialog::Accepted);
        };
    }
};

// ---- start-up and the kana-row tabs ------------------------------------------------

TEST_F(MainWindowTest, StartUpShowsTheFirstRecordOnTheTabOfItsReading)
{
    seed({{{"使用者ふりがな", "たなか"}, {"自動車登録番号", "1"}},
          {{"使用者ふりがな", "やまだ"}, {"自動車登録番号", "2"}}});
    create();
    EXPECT_EQ(form()->windowTitle(), QStringLiteral("Sorvani For Win32"));
    EXPECT_EQ(form()->book().dataDirectory(), QDir::currentPath());
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(tab(), 3);
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("2"));
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("1"));
    EXPECT_EQ(caption("Commant1Panel"), QStringLiteral("件中"));
    EXPECT_TRUE(capsLock());
    EXPECT_FALSE(w("TabControl1")->isHidden());
}

TEST_F(MainWindowTest, AnEmptyTableStartsANewRecordOnTheAddTab)
{
    create();
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(form()->Table1->RecNo(), -1);
    EXPECT_EQ(tab(), 10);
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("-1"));
}

TEST_F(MainWindowTest, DeletingTheLastRecordStartsANewOne)
{
    seed({{{"使用者ふりがな", "さとう"}, {"自動車登録番号", "1"}}});
    create();
    EXPECT_EQ(tab(), 2);
    form()->Table1->Delete();
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(tab(), 10);
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("0"));
}

TEST_F(MainWindowTest, ATabFindsTheFirstReadingOfItsRowOrOfALaterKana)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}},
          {{"使用者ふりがな", "さとう"}, {"自動車登録番号", "2"}},
          {{"使用者ふりがな", "たなか"}, {"自動車登録番号", "3"}},
          {{"使用者ふりがな", "んま"}, {"自動車登録番号", "4"}},
          {{"使用者ふりがな", "カトウ"}, {"自動車登録番号", "5"}}});
    create();
    w<Panel>("Title9Panel3")->setCaption(QStringLiteral("x"));

    clickTab("か行");  // no か-row reading: the next row that has one
    EXPECT_EQ(field("使用者ふりがな"), "さとう");
    EXPECT_EQ(tab(), 2);
    EXPECT_EQ(caption("CurrentPanel"), QStringLiteral("2"));
    EXPECT_EQ(caption("TotalPanel"), QStringLiteral("5"));
    EXPECT_EQ(caption("Title9Panel3"), QStringLiteral("年　月　日"));  // reset by every move

    clickTab("た行");
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
    clickTab("わ行");  // ん is the last kana looked for
    EXPECT_EQ(field("使用者ふりがな"), "んま");
    EXPECT_EQ(tab(), 9);
    clickTab("あ行");
    EXPECT_EQ(field("使用者ふりがな"), "あべ");
    EXPECT_EQ(tab(), 0);
}

TEST_F(MainWindowTest, ARowWithoutAnyLaterReadingIsReportedNotFound)
{
    // Katakana sorts after ん but is no hiragana row.
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}},
          {{"使用者ふりがな", "カトウ"}, {"自動車登録番号", "2"}}});
    create();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    clickTab("わ行");
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("わ行 not found."));
    EXPECT_EQ(field("使用者ふりがな"), "あべ");
}

TEST_F(MainWindowTest, TheAddTabStartsANewRecordThatAnotherTabDrops)
{
    seed({{{"使用者ふりがな", "さとう"}, {"自動車登録番号", "1"}}});
    create();
    clickTab("追加");
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(form()->Table1->RecNo(), -1);
    EXPECT_EQ(tab(), 10);

    clickTab("あ行");  // the untouched new record goes; さとう is the first one after あ
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    EXPECT_EQ(form()->Table1->RecordCount(), 1);
    EXPECT_EQ(field("使用者ふりがな"), "さとう");
    EXPECT_EQ(tab(), 2);
}

// ---- saving ------------------------------------------------------------------------

TEST_F(MainWindowTest, SavingMakesTheCodesFullWidthSelectsTheTabAndLearnsTheType)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"車名", "トヨタ"}}});
    create();
    simulateTyping(w("DBMemo21"), QStringLiteral("ab12"));
    simulateTyping(w("DBMemo22"), QStringLiteral(" 0034 "));
    set("使用者ふりがな", "わだ");
    form()->Table1->Post();

    EXPECT_EQ(field("自動車型式指定番号"), "ａｂ１２");
    EXPECT_EQ(field("類別区分番号"), "００３４");
    EXPECT_EQ(w<DBMemo>("DBMemo21")->text(), QStringLiteral("ａｂ１２"));
    EXPECT_EQ(tab(), 9);

    Table codes(*db, "code");
    codes.Open();
    ASSERT_EQ(codes.RecordCount(), 1);
    EXPECT_EQ(sjis::toUtf8(codes.FieldByName("自動車型式指定番号").AsString()), "ａｂ１２");
    EXPECT_EQ(sjis::toUtf8(codes.FieldByName("類別区分番号").AsString()), "００３４");
    EXPECT_EQ(sjis::toUtf8(codes.FieldByName("車名").AsString()), "トヨタ");
}

TEST_F(MainWindowTest, TheSavedRecordStaysCurrentNotANeighbourWithTheSamePrefix)
{
    seed({{{"使用者ふりがな", "か"}, {"電話番号", "1"}, {"自動車登録番号", "12"}},
          {{"使用者ふりがな", "か"}, {"電話番号", "2"}, {"自動車登録番号", "1"}}});
    create();
    Table& t = *form()->Table1;
    t.Last();
    t.Edit();
    set("備考", "saved");
    t.Post();
    EXPECT_EQ(field("電話番号"), "2");
    EXPECT_EQ(field("備考"), "saved");
}

TEST_F(MainWindowTest, LearningFollowsTheLayoutModeReadAtStartUp)
{
    auto saveType = [&](const char* designation) {
        form()->Table1->Append();
        set("使用者ふりがな", designation);
        set("自動車型式指定番号", designation);
        set("類別区分番号", "1");
        set("カテゴリ", "小型");
        form()->Table1->Post();
    };
    writeSettings("DataBase.INI", {"1"});
    create();
    saveType("A");
    writeSettings("DataBase.INI", {"3"});
    create();
    saveType("B");

    Table codes(*db, "code");
    codes.Open();
    ASSERT_EQ(codes.RecordCount(), 1);  // nothing learned under mode 3
    EXPECT_EQ(sjis::toUtf8(codes.FieldByName("自動車型式指定番号").AsString()), "Ａ");
    EXPECT_EQ(sjis::toUtf8(codes.FieldByName("カテゴリ").AsString()), "小型");
}

// ---- the start-up password -----------------------------------------------------------

TEST_F(MainWindowTest, AStartUpPasswordHidesTheCardUntilItIsTyped)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    writeSettings("Pass.INI", {"Secret"});
    create();
    EXPECT_TRUE(w("TabControl1")->isHidden());

    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("PassDlg"), typing("Secret"));
    form()->show();  // the prompt comes once the event loop runs
    for (int i = 0; i < 200 && dialogs.unanswered(); ++i)
        QTest::qWait(5);
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{QStringLiteral("PassDlg")});
    EXPECT_FALSE(w("TabControl1")->isHidden());
    EXPECT_TRUE(form()->isVisible());
    EXPECT_TRUE(form()->menuBar()->isEnabled());  // the commands are unlocked
    EXPECT_TRUE(w("SpeedPanel1")->isEnabled());

    form()->hide();  // showing the window again asks nothing more
    form()->show();
    QTest::qWait(20);
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST_F(MainWindowTest, AWrongPasswordEndsAtOnceDroppingTheRecordStartUpBegan)
{
    writeSettings("Pass.INI", {"Secret"});
    // Another case, and a character that no password file can hold.
    for (const char* typed : {"secret", "Secret😀"}) {
        SCOPED_TRACE(typed);
        create();  // empty table: a new record is being added
        showQuietly();
        // While the password is asked for, no command works.
        EXPECT_TRUE(w("TabControl1")->isHidden());
        EXPECT_FALSE(form()->menuBar()->isEnabled());
        EXPECT_FALSE(w("SpeedPanel1")->isEnabled());
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("PassDlg"), typing(typed));
        ScriptedMessages messages;  // the closing question must not come
        form()->Timer1Timer();
        EXPECT_TRUE(messages.prompts().empty());
        EXPECT_FALSE(form()->isVisible());
        EXPECT_TRUE(w("TabControl1")->isHidden());
        EXPECT_FALSE(capsLock());
        EXPECT_EQ(form()->Table1->RecordCount(), 0);
    }
}

TEST_F(MainWindowTest, AnEmptyPasswordLineAsksNothing)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    writeSettings("Pass.INI", {""});
    create();
    EXPECT_FALSE(w("TabControl1")->isHidden());
    showQuietly();
    ScriptedDialogs dialogs;  // any dialog fails the test
    form()->Timer1Timer();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(form()->isVisible());
}

TEST_F(MainWindowTest, ThePasswordSettingWritesPassIniForTheNextStart)
{
    create();
    PassDlg->MaskEdit1->setText(QStringLiteral("old"));
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("PassDlg"), [](QDialog& d) {
        auto* edit = findControl<QLineEdit>(&d, "MaskEdit1");
        EXPECT_TRUE(edit->text().isEmpty());
        EXPECT_EQ(d.windowTitle(), QStringLiteral("パスワードの設定"));
        edit->setText(QStringLiteral("Abc"));
        return int(QDialog::Accepted);
    });
    action("N18")->trigger();
    EXPECT_EQ(fileBytes("Pass.INI"), QByteArray("Abc\r\n"));
    EXPECT_TRUE(form()->book().settings().StartupPassword.empty());  // asked for at the next start only

    dialogs.answer(QStringLiteral("PassDlg"), QDialog::Rejected);
    action("N18")->trigger();
    EXPECT_EQ(fileBytes("Pass.INI"), QByteArray("Abc\r\n"));

    dialogs.answer(QStringLiteral("PassDlg"), typing(""));
    action("N18")->trigger();
    EXPECT_EQ(fileBytes("Pass.INI"), QByteArray("\r\n"));  // an empty line: no password
}

TEST_F(MainWindowTest, APasswordCp932CannotHoldIsRefusedAndAPassIniThatCannotBeWrittenIsReported)
{
    create();
    for (bool blocked : {false, true}) {
        SCOPED_TRACE(blocked);
        if (blocked) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Pass.INI")));
        }
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("PassDlg"), typing(blocked ? "Abc" : "Abc😀"));
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        action("N18")->trigger();
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_EQ(messages.prompts()[0].icon, blocked ? MessageIcon::Error : MessageIcon::Warning);
        if (!blocked) {  // the standard warning, and nothing written
            EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'😀'));
            EXPECT_EQ(fileBytes("Pass.INI"), QByteArray("<missing>"));
        }
    }
}

TEST_F(MainWindowTest, TheHelpMenuShowsTheAboutBoxAndTheHelpFile)
{
    QFile(dir.filePath(QStringLiteral("Dremlot.html"))).open(QIODevice::WriteOnly);
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("VersionDlg"), QDialog::Accepted);
    action("Ver1")->trigger();
    EXPECT_EQ(dialogs.shown(), std::vector<QString>{QStringLiteral("VersionDlg")});

    ScriptedHelpViewer viewer;
    action("Contents1")->trigger();
    ASSERT_EQ(viewer.opened().size(), 1u);
    EXPECT_TRUE(viewer.opened()[0].toLocalFile().endsWith(QStringLiteral("/Dremlot.html")));
}

TEST_F(MainWindowTest, ExitClosesTheWindowThroughTheClosingQuestion)
{
    create();  // a new record is being added
    showQuietly();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Cancel).answer(MessageAnswer::No);
    action("Exit1")->trigger();
    EXPECT_TRUE(form()->isVisible());
    action("Exit1")->trigger();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_EQ(messages.prompts().size(), 2u);
}

// ---- settings files read at start-up ---------------------------------------------------

TEST_F(MainWindowTest, WithoutThePrintProgramItsMenuItemsAreHidden)
{
    QFile(dir.filePath(QStringLiteral("ostrivan.EXE"))).open(QIODevice::WriteOnly);
    create();
    QStringList hidden = {QStringLiteral("User1"), QStringLiteral("PrintS1"), QStringLiteral("PrintS2"),
                          QStringLiteral("PrintS3")};
    for (int i = 1; i <= 23; ++i)
        hidden << QStringLiteral("Print%1").arg(i);
    for (const QString& name : hidden)
        EXPECT_FALSE(action(name.toLatin1().constData())->isVisible()) << name.toStdString();
    EXPECT_TRUE(action("PrintB")->isVisible());
    EXPECT_TRUE(action("PrintSB")->isVisible());
    EXPECT_EQ(form()->book().settings().RequestProgramPresent, 1);  // found whatever the case of its name
}

TEST_F(MainWindowTest, ListFilesReplaceTheBuiltInChoices)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "練馬500"}}});
    writeSettings("CarDate.INI", {"令和", "平成"});
    writeSettings("CarIns.INI", {"あさひ保険", "", "はやて共済"});
    writeSettings("CarNo.INI", {"品川", "練馬"});
    writeSettings("CodeFile.INI", {"code.DB", "code2.DB"});
    writeSettings("CarMemo.INI", {"点検"});
    create();
    const QStringList insurers = utf8List({"あさひ保険", "", "はやて共済"});  // an empty line is an entry
    EXPECT_EQ(items("UpComboBox3"), insurers);  // the insurers come after the dates
    EXPECT_EQ(items("DBComboBox15"), insurers);
    for (const char* box : {"DBComboBox2", "DBComboBox3", "DBComboBox11", "DBComboBox12", "DBComboBox14",
                            "UpComboBox1", "UpComboBox2"})
        EXPECT_EQ(items(box), utf8List({"令和", "平成"})) << box;
    EXPECT_EQ(items("DBComboBox1"), utf8List({"品川", "練馬"}));
    EXPECT_EQ(w<QComboBox>("DBComboBox1")->currentText(), QStringLiteral("練馬500"));
    EXPECT_EQ(items("ListBox1"), utf8List({"code.DB", "code2.DB"}));
    EXPECT_EQ(items("MemoListBox"), utf8List({"点検"}));
    EXPECT_EQ(items("DBComboBox5"), utf8List({"貨物", "乗用", "特種"}));  // no file: built in
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);  // filling the lists is no typing
}

TEST_F(MainWindowTest, WithoutListFilesTheBuiltInChoicesStay)
{
    create();
    EXPECT_EQ(items("DBComboBox2"), utf8List({"昭和", "平成"}));
    EXPECT_EQ(items("UpComboBox1"), utf8List({"群", "群馬"}));
    EXPECT_EQ(items("DBComboBox13"), utf8List({"１２ヶ月", "２４ヶ月", "３６ヶ月"}));
    EXPECT_EQ(items("MemoListBox"), utf8List({"車検", "修理"}));
    EXPECT_EQ(caption("Title14Panel8"), QStringLiteral("盗難保険"));
    EXPECT_EQ(caption("Title9Panel2"), QStringLiteral("自動車損害賠償責任保険"));
}

TEST_F(MainWindowTest, TitleFilesRenameTheSectionsAndTheOtherSettingsAreReadAtStartUp)
{
    writeSettings("CarInsure.INI", {"任意保険"});
    writeSettings("CarMemo1.INI", {"備忘"});
    writeSettings("CarMemo2.INI", {"車台", "色名", "年"});
    writeSettings("CarSearch.INI", {"1"});
    writeSettings("CarSave.INI", {"BK", ".sav"});
    writeSettings("INIDIR.INI", {"C:\\Backup"});
    create();
    EXPECT_EQ(form()->book().settings().DesignationOnlySearch, 1);
    EXPECT_EQ(form()->book().settings().BackupNamePrefix, "BK");
    EXPECT_EQ(form()->book().settings().BackupNameSuffix, ".sav");
    EXPECT_EQ(form()->book().settings().RestoreInitialFolder, QStringLiteral("C:/Backup"));
    EXPECT_EQ(form()->book().settings().RequestProgramPresent, 0);
    EXPECT_EQ(caption("Title9Panel2"), QStringLiteral("任意保険"));
    EXPECT_EQ(caption("Title15Panel1"), QStringLiteral("備忘"));
    EXPECT_EQ(caption("Title14Panel1"), QStringLiteral("車台"));
    EXPECT_EQ(caption("Title14Panel2"), QStringLiteral("色名"));
    EXPECT_EQ(caption("Title14Panel3"), QStringLiteral("年"));
    for (const char* panel : {"Title14Panel4", "Title14Panel5", "Title14Panel6", "Title14Panel7", "Title14Panel8"})
        EXPECT_EQ(caption(panel), QString()) << panel;  // lines missing at the end: empty
}

// ---- layout modes and the two-wheeler switch ---------------------------------------------

TEST_F(MainWindowTest, LayoutModeOneShowsTheExtensionRowsAndModeTwoOnlyTheMemoRow)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"エンジンＮＯ．", "E-1"}, {"盗難保険", "有"},
           {"メモ", "覚え"}}});
    for (bool extension : {true, false}) {
        SCOPED_TRACE(extension);
        writeSettings("DataBase.INI", {extension ? "1" : "2"});
        create();
        EXPECT_EQ(w("TitlePanel14")->isHidden(), !extension);
        EXPECT_EQ(w("EditPanel15")->isHidden(), !extension);
        EXPECT_FALSE(w("EditPanel16")->isHidden());
        EXPECT_EQ(action("Up1")->isChecked(), extension);
        EXPECT_EQ(action("K4")->isVisible(), extension);
        EXPECT_EQ(form()->ResizeOffset, extension ? 59 : 20);
        EXPECT_EQ(w<DBMemo>("UpMemo6")->text(), QStringLiteral("覚え"));
        if (extension) {
            EXPECT_EQ(w<DBMemo>("UpMemo1")->text(), QStringLiteral("E-1"));
            EXPECT_EQ(w<QComboBox>("UpComboBox3")->currentText(), QStringLiteral("有"));
        }
    }
}

TEST_F(MainWindowTest, TheTwoWheelerSwitchShowsTheRowsAndRewritesDataBaseIni)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"色", "赤"}, {"メモ", "覚え"}}});
    create();
    for (const char* panel : {"TitlePanel14", "EditPanel15", "EditPanel16"})
        EXPECT_TRUE(w(panel)->isHidden()) << panel;

    action("Up1")->trigger();
    EXPECT_TRUE(action("Up1")->isChecked());
    EXPECT_EQ(fileBytes("DataBase.INI"), QByteArray("1\r\n"));
    for (const char* panel : {"TitlePanel14", "EditPanel15", "EditPanel16"})
        EXPECT_FALSE(w(panel)->isHidden()) << panel;
    EXPECT_TRUE(action("K4")->isVisible());
    EXPECT_EQ(w<DBMemo>("UpMemo2")->text(), QStringLiteral("赤"));
    EXPECT_EQ(form()->ResizeOffset, 59);
    EXPECT_EQ(form()->book().settings().RecordLayoutMode, 0);  // the held mode waits for the next start

    action("Up1")->trigger();
    EXPECT_FALSE(action("Up1")->isChecked());
    EXPECT_EQ(fileBytes("DataBase.INI"), QByteArray("2\r\n"));
    EXPECT_TRUE(w("TitlePanel14")->isHidden());
    EXPECT_TRUE(w("EditPanel15")->isHidden());
    EXPECT_FALSE(w("EditPanel16")->isHidden());
    EXPECT_TRUE(action("K4")->isVisible());
    EXPECT_EQ(w<DBMemo>("UpMemo6")->text(), QStringLiteral("覚え"));
    EXPECT_EQ(form()->ResizeOffset, 20);
}

TEST_F(MainWindowTest, TheTwoWheelerSwitchNeedsTheExtensionFields)
{
    makeStandardRecordTable(*db);
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    writeSettings("DataBase.INI", {"0"});
    create();
    action("Up1")->trigger();
    EXPECT_FALSE(action("Up1")->isChecked());
    EXPECT_EQ(fileBytes("DataBase.INI"), QByteArray("0\r\n"));
    EXPECT_TRUE(w("TitlePanel14")->isHidden());
}

TEST_F(MainWindowTest, ADataBaseIniThatCannotBeWrittenLeavesTheSwitchOff)
{
    create();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("DataBase.INI")));
    ScriptedMessages messages;  // no message
    action("Up1")->trigger();
    EXPECT_FALSE(action("Up1")->isChecked());
    EXPECT_TRUE(messages.prompts().empty());
}

TEST_F(MainWindowTest, SettingsFilesThatCannotBeReadAreReportedAndTheWindowStarts)
{
    writeSettings("CarSave.INI", {"BK", ".sav"});
    for (const char* name : {"DataBase.INI", "INIDIR.INI"})
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(name)));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    create();
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_TRUE(messages.prompts()[1].text.contains(dir.filePath("INIDIR.INI")));
    EXPECT_EQ(form()->book().settings().BackupNamePrefix, "BK");
}

// ---- closing -------------------------------------------------------------------------

TEST_F(MainWindowTest, ClosingWhileAddingAsksAndCancelKeepsTheWindow)
{
    create();
    showQuietly();
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Cancel);
    EXPECT_TRUE(capsLock());
    form()->close();
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("登録していません！\r登録してよろしいですか？"));
    EXPECT_EQ(messages.prompts()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_FALSE(capsLock());  // switched off whatever the answer
}

TEST_F(MainWindowTest, ClosingWithYesSavesTheRecordAndWithNoDropsIt)
{
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        create();
        showQuietly();
        form()->Table1->Append();
        set("使用者ふりがな", answer == MessageAnswer::Yes ? "うえの" : "えのもと");
        ScriptedMessages messages;
        messages.answer(answer);
        form()->close();
        EXPECT_EQ(messages.prompts().size(), 1u);
        EXPECT_FALSE(form()->isVisible());
        EXPECT_FALSE(capsLock());
    }
    Table t(*db, "INDATA");
    t.Open();
    ASSERT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(sjis::toUtf8(t.FieldByName("使用者ふりがな").AsString()), "うえの");
}

TEST_F(MainWindowTest, ClosingWhileBrowsingAsksNothing)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    create();
    showQuietly();
    ScriptedMessages messages;
    form()->close();
    EXPECT_TRUE(messages.prompts().empty());
    EXPECT_FALSE(form()->isVisible());
    EXPECT_FALSE(capsLock());
}

TEST_F(MainWindowTest, AFailedSaveOnClosingKeepsTheWindowAndCapsLock)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    create();
    showQuietly();
    form()->Table1->Append();  // the same key as the record there
    set("使用者ふりがな", "あべ");
    set("自動車登録番号", "1");
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Yes).answer(MessageAnswer::Ok);
    form()->close();
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(messages.prompts()[1].icon, MessageIcon::Error);
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_TRUE(capsLock());
}

// ---- resizing, Enter and hints ------------------------------------------------------------

TEST_F(MainWindowTest, TheWindowIsNeverNarrowerThan650AndTheRemarksFollowItsWidth)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    create();
    showQuietly();
    form()->resize(500, 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form()->width() == 650; }));

    form()->resize(900, 1000);  // room to spare: the remarks grow, margin 20
    EXPECT_TRUE(QTest::qWaitFor([&] { return w("DBMemo34")->width() == 900 - 20 - 200; }));
    EXPECT_GT(w("DBMemo34")->height(), 130);
    EXPECT_EQ(w("EditPanel11")->width(), w("DBMemo34")->width());

    form()->resize(900, 300);  // too low: the remarks keep 130, margin 36
    EXPECT_TRUE(QTest::qWaitFor([&] { return w("DBMemo34")->width() == 900 - 36 - 200; }));
    EXPECT_EQ(w("DBMemo34")->height(), 130);
    EXPECT_EQ(w("EditPanel11")->width(), w("DBMemo34")->width());
}

TEST_F(MainWindowTest, EnterMovesToTheNextFieldButBreaksTheLineInTheRemarks)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    create();
    showQuietly();
    form()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form()));

    auto* reading = w<DBMemo>("DBMemo1");
    reading->setFocus();
    QTest::keyClick(reading, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), reading);
    EXPECT_TRUE(form()->card()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(reading->text(), QStringLiteral("あべ"));
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);

    reading->setFocus();  // the Enter of the number pad is the same key
    QTest::keyClick(reading, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_NE(QApplication::focusWidget(), reading);
    EXPECT_EQ(reading->text(), QStringLiteral("あべ"));

    auto* number = w<QComboBox>("DBComboBox1");
    number->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(number->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == number);

    auto* remarks = w<DBMemo>("DBMemo34");
    remarks->setFocus();
    QTest::keyClick(remarks, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), remarks);
    EXPECT_EQ(remarks->text(), QStringLiteral("\n"));
    EXPECT_EQ(form()->Table1->state(), Table::State::Edit);
}

TEST_F(MainWindowTest, InputHintsFollowClicksAndLeaving)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}}});
    create();
    showQuietly();
    form()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form()));
    auto click = [&](const char* name) {
        QWidget* c = w(name);
        if (auto* combo = qobject_cast<QComboBox*>(c))
            c = combo->lineEdit();
        else if (auto* memo = qobject_cast<DBMemo*>(c))
            c = memo->viewport();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(4, 4));
    };
    const QString calendar = QStringLiteral(" ダブルクリックでカレンダー表示で入力出来ます。");

    click("DBComboBox2");
    EXPECT_EQ(statusText(), calendar);
    form()->setStatusHint({});
    QTest::keyClick(w<QComboBox>("DBComboBox14")->lineEdit(), Qt::Key_Right);
    EXPECT_EQ(statusText(), calendar);

    click("DBMemo29");
    EXPECT_EQ(statusText(), QStringLiteral(" ダブルクリックで郵便番号７桁検索で入力出来ます。"));
    click("DBMemo14");  // no hint of its own: leaving the address clears it
    EXPECT_EQ(statusText(), QString());

    click("DBMemo22");
    EXPECT_EQ(statusText(), QStringLiteral(" ダブルクリックで諸元表入力が出来ます。"));
    click("DBMemo32");
    EXPECT_EQ(statusText(), QStringLiteral(" 左のタイトルをクリックすると”使用者に同じ”が入力されます。"));

    click("DBMemo34");
    EXPECT_EQ(statusText(), QStringLiteral(" 左の日付をクリックするとカレンダー表示で入力出来ます。"));
    click("DBMemo14");  // the remarks have no leave handler: the hint stays
    EXPECT_EQ(statusText(), QStringLiteral(" 左の日付をクリックするとカレンダー表示で入力出来ます。"));
}

}  // namespace
