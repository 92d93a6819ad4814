// The main window's look-ups through its controls: F5, the address
// double-clicks with the postal-code dialog, the "使用者に同じ" titles, the
// specification look-up and its editor.
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/formats/settings_file.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/main_window.h"
#include "record_book/post_form.h"
#include "record_book/small_dialogs.h"
#include "record_book/spec_dialogs.h"
#include "tests/record_book/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LookupTest : public MainWindowFixture {
protected:
    void copyTokyo(const char* name = "KEN_ALL.CSV")
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV"), dir.filePath(name)));
    }

    void doubleClick(const char* memo) { QTest::mouseDClick(w<DBMemo>(memo)->viewport(), Qt::LeftButton); }

    static ScriptedDialogs::Answer typing(const char* text)
    {
        return [text](QDialog& d) {
            findControl<QLineEdit>(&d, "Edit")->setText(QString::fromUtf8(text));
            return int(QDialog::Accepted);
        };
    }

    static ScriptedDialogs::Answer codes(const char* designation, const char* classification)
    {
        return [=](QDialog& d) {
            findControl<QLineEdit>(&d, "Edit1")->setText(QString::fromUtf8(designation));
            findControl<QLineEdit>(&d, "Edit2")->setText(QString::fromUtf8(classification));
            return int(QDialog::Accepted);
        };
    }
};

const Fields kCustomer = {{"使用者ふりがな", "やまだ"}, {"使用者", "山田太郎"}, {"使用者住所", "港区芝浦３－４"}};

}  // namespace

// ---- postal codes -------------------------------------------------------------------

TEST_F(LookupTest, F5ShowsTheUsersPostalCodeFullWidthOrNoneWithoutThePostalFile)
{
    seed("INDATA", {kCustomer});
    for (const char* code : {"", "１０８００２３"}) {
        SCOPED_TRACE(code);
        if (*code)
            copyTokyo("ken_all.csv");  // found whatever the case of its name
        create();
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        w<QAction>("N28")->trigger();
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("山田太郎　様\rの郵便番号は、%1です。").arg(QString::fromUtf8(code)));
        EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Information);
        EXPECT_EQ(form()->Table1->state(), Table::State::Browse) << "the record is not touched";
    }
    EXPECT_EQ(w<QAction>("N28")->shortcut(), QKeySequence(Qt::Key_F5));
}

TEST_F(LookupTest, PostReadPutsThePrefectureBeforeTheBufferedAddress)
{
    copyTokyo();
    create();
    form()->book().RecordBuffer[4] = sj("港区芝浦３－４");
    SjisString code;
    form()->book().PostRead(code, 1);
    EXPECT_EQ(code, "1080023");
    EXPECT_EQ(sjis::toUtf8(form()->book().RecordBuffer[4]), "東京都港区芝浦３－４");
    form()->book().RecordBuffer[4] = sj("北海道札幌市");
    code.clear();
    form()->book().PostRead(code, 1);
    EXPECT_EQ(code, "");
    EXPECT_EQ(sjis::toUtf8(form()->book().RecordBuffer[4]), "北海道札幌市");
}

TEST_F(LookupTest, AddressDoubleClicksCopyTheChosenPostalEntry)
{
    seed("INDATA", {kCustomer});
    seed("PostData", {{{"郵便番号７桁", "1000001"}, {"住所", "東京都千代田区千代田"}},
                      {{"郵便番号７桁", "1080022"}, {"住所", "東京都港区海岸"}},
                      {{"郵便番号７桁", "1080023"}, {"住所", "東京都港区芝浦"}}});
    create();
    const std::pair<const char*, const char*> memos[] = {
        {"DBMemo25", "所有者住所"}, {"DBMemo29", "使用者住所"}, {"DBMemo32", "使用の本拠の位置"}};
    for (auto [memo, target] : memos) {
        ScriptedDialogs dialogs;
        std::string shown;
        dialogs.answer(QStringLiteral("InputQueryDlg"), typing("１０８"))
            .answer(QStringLiteral("PostForm"), [&](QDialog& d) {
                EXPECT_EQ(d.windowTitle(), QStringLiteral("郵便番号変換"));
                shown = sjis::toUtf8(PostForm->Table1->FieldByName("郵便番号７桁").AsString());
                PostForm->Table1->Next();  // the user picks the next entry
                PostForm->OKBtn->click();
                return int(QDialog::Rejected);
            });
        doubleClick(memo);
        EXPECT_EQ(dialogs.unanswered(), 0u) << memo;
        EXPECT_EQ(shown, "1080022") << "the first entry of the typed code, half-width";
        EXPECT_EQ(field(target), "東京都港区芝浦") << memo;
        EXPECT_EQ(form()->Table1->state(), Table::State::Edit) << "left to the ordinary save";
    }
    EXPECT_EQ(field("使用者"), "山田太郎");
}

TEST_F(LookupTest, AddressLookUpCancelledOrOnAnEmptyTableChangesNothing)
{
    seed("INDATA", {kCustomer});
    create();
    {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("InputQueryDlg"), QDialog::Rejected);
        doubleClick("DBMemo29");
    }
    {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("InputQueryDlg"), typing("9999999"))
            .answer(QStringLiteral("PostForm"), QDialog::Accepted);
        doubleClick("DBMemo29");
    }
    EXPECT_EQ(field("使用者住所"), "港区芝浦３－４");
    EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
}

TEST_F(LookupTest, TitleClicksFillTheOwnerFields)
{
    seed("INDATA", {kCustomer});
    create();
    for (const char* title : {"Title4Panel1", "Title5Panel1", "Title15Panel1"}) {
        form()->Table1->Cancel();
        QTest::mouseClick(w<Panel>(title), Qt::LeftButton);
        EXPECT_EQ(field("所有者"), "使用者に同じ") << title;
        EXPECT_EQ(field("所有者住所"), "使用者住所に同じ") << title;
        EXPECT_EQ(field("使用の本拠の位置"), "");
    }
    QTest::mouseClick(w<Panel>("Title8Panel1"), Qt::LeftButton);
    EXPECT_EQ(field("使用の本拠の位置"), "使用者住所に同じ");
    EXPECT_EQ(form()->Table1->state(), Table::State::Edit);
}

// ---- the postal-code dialog -----------------------------------------------------------

TEST_F(LookupTest, PostDataIsRebuiltFromTheChosenFileInOneGo)
{
    seed("PostData", {{{"郵便番号７桁", "0000000"}, {"住所", "古い"}}});
    copyTokyo("TOKYO.CSV");
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("Open"), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ＣＳＶファイル"));
        static_cast<QFileDialog&>(d).selectFile(dir.filePath("TOKYO.CSV"));
        return int(QDialog::Accepted);
    });
    PostForm->ReadBtn->click();
    Table& t = *PostForm->Table1;
    EXPECT_EQ(t.RecordCount(), 4165);
    ASSERT_TRUE(t.Locate("郵便番号７桁", {"1080023"}));
    EXPECT_EQ(sjis::toUtf8(t.FieldByName("住所").AsString()), "東京都港区芝浦（２～４丁目）");
    ASSERT_TRUE(t.Locate("郵便番号７桁", {"1000000"}));
    EXPECT_EQ(sjis::toUtf8(t.FieldByName("住所").AsString()), "東京都千代田区") << "the not-listed entry is empty";
    EXPECT_FALSE(t.Locate("郵便番号７桁", {"0000000"}));
}

TEST_F(LookupTest, PostDataRebuildUsesPostDataIniAndKeepsEmptyCells)
{
    writeSettings("PostData.INI", {"1", "2", "3", "9"});
    QFile src(dir.filePath("list.csv"));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write(sj("1110000,東京都,,x\r\n,\"台東区\",浅草\r\n2220000").c_str());
    src.close();
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("Open"), [&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(dir.filePath("list.csv"));
        return int(QDialog::Accepted);
    });
    PostForm->ReadBtn->click();
    Table& t = *PostForm->Table1;
    ASSERT_EQ(t.RecordCount(), 3);
    t.First();
    EXPECT_EQ(t.FieldByName("郵便番号７桁").AsString(), "");
    EXPECT_EQ(sjis::toUtf8(t.FieldByName("住所").AsString()), "台東区浅草");
    t.Next();
    EXPECT_EQ(t.FieldByName("郵便番号７桁").AsString(), "1110000");
    EXPECT_EQ(sjis::toUtf8(t.FieldByName("住所").AsString()), "東京都");
    t.Next();
    EXPECT_EQ(t.FieldByName("郵便番号７桁").AsString(), "2220000");
}

TEST_F(LookupTest, PostDataRebuildThatCannotReadItsFileKeepsTheOldTable)
{
    seed("PostData", {{{"郵便番号７桁", "1000001"}, {"住所", "東京都千代田区千代田"}}});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("Open"), QDialog::Rejected);
    PostForm->ReadBtn->click();
    EXPECT_EQ(PostForm->Table1->RecordCount(), 1);

    // A file that is gone by the time it is read.
    const QString gone = dir.filePath("gone.csv");
    QFile file(gone);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,2,3\r\n");
    file.close();
    ScriptedDialogs again;
    again.answer(QStringLiteral("Open"), [&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(gone);
        QFile::remove(gone);
        return int(QDialog::Accepted);
    });
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    PostForm->ReadBtn->click();
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(PostForm->Table1->RecordCount(), 1);
}

TEST_F(LookupTest, PostFormButtonsSitAtQuartersAndTheSearchFindsAnAddress)
{
    seed("PostData", {{{"郵便番号７桁", "1000001"}, {"住所", "東京都千代田区千代田"}},
                      {{"郵便番号７桁", "1080023"}, {"住所", "東京都港区芝浦"}}});
    create();
    PostForm->show();
    PostForm->resize(600, 400);
    QApplication::processEvents();
    const int quarter = PostForm->Panel2->width() / 4;
    EXPECT_EQ(PostForm->OKBtn->x(), quarter - 37);
    EXPECT_EQ(PostForm->CancelBtn->x(), quarter * 2 - 37);
    EXPECT_EQ(PostForm->ReadBtn->x(), quarter * 3 - 37);
    EXPECT_EQ(PostForm->ReadBtn->toolTip(), QStringLiteral("運輸省のデータ読込"));
    EXPECT_TRUE(PostForm->Panel1->isHidden());
    PostForm->AddrEdit->setText(QStringLiteral("東京都港"));
    PostForm->SarchButton->click();
    EXPECT_EQ(PostForm->Table1->FieldByName("郵便番号７桁").AsString(), "1080023");
    PostForm->AddrEdit->setText(QStringLiteral("大阪"));
    PostForm->SarchButton->click();
    EXPECT_EQ(PostForm->Table1->RecNo(), 1);
}

// ---- the specification look-up ---------------------------------------------------------

TEST_F(LookupTest, SpecificationFromTheTableWithTheOtherLeadingZeroForm)
{
    seed("INDATA", {kCustomer});
    seed("code", {{{"自動車型式指定番号", "１２３４５"}, {"類別区分番号", "０００１"}, {"車名", "違う"}},
                  {{"自動車型式指定番号", "０１２３４"}, {"類別区分番号", "０００１"}, {"車名", "トヨペット"},
                   {"型式", "Ｅ－ＡＢ１"}, {"車両重量", "1200"}},
                  {{"自動車型式指定番号", "１２３４５"}, {"類別区分番号", "０００２"}, {"車名", "日産"}}});
    create();
    form()->Table1->Edit();
    form()->Table1->FieldByName("長さ").SetAsString("999");
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FormDlg"), codes("1234", "0001"));
    doubleClick("DBMemo21");
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(field("自動車型式指定番号"), "１２３４") << "as typed, full-width";
    EXPECT_EQ(field("類別区分番号"), "０００１");
    EXPECT_EQ(field("車名"), "トヨペット") << "the exact leading-zero form, not a longer number";
    EXPECT_EQ(field("型式"), "Ｅ－ＡＢ１");
    EXPECT_EQ(field("車両重量"), "1200");
    EXPECT_EQ(field("長さ"), "") << "empty values are copied too";
    EXPECT_EQ(form()->Table1->state(), Table::State::Edit);

    // A typed leading zero finds the number stored without it.
    dialogs.answer(QStringLiteral("FormDlg"), codes("012345", "0002"));
    doubleClick("DBMemo22");
    EXPECT_EQ(field("車名"), "日産");
    EXPECT_EQ(field("自動車型式指定番号"), "０１２３４５");
}

TEST_F(LookupTest, NothingFoundEndsWithTheMessageOrTheDesignationOnlySearchAndEmptyNumbersLookNothingUp)
{
    seed("INDATA", {kCustomer});
    seed("code", {{{"自動車型式指定番号", "５５５５"}, {"類別区分番号", "０００９"}, {"車名", "マツダ"}}});
    create();
    {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("FormDlg"), codes("5555", "0001"));
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        doubleClick("DBMemo21");
        ASSERT_EQ(messages.prompts().size(), 1u) << "no designation-only offer without CarSearch.INI";
        EXPECT_EQ(messages.prompts()[0].text,
                  QStringLiteral("登録されていませんでした。\r\n次回からは自動的に登録されたものが出力されます。"));
        EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
        // Empty numbers look nothing up.
        dialogs.answer(QStringLiteral("FormDlg"), codes("1234", ""));
        doubleClick("DBMemo21");
        EXPECT_EQ(form()->Table1->state(), Table::State::Browse);
    }
    close();
    writeSettings("CarSearch.INI", {"1"});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FormDlg"), codes("5555", "0001"));
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Yes);
    doubleClick("DBMemo21");
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("登録されていませんでした。\r自動車型式指定番号で検索しますか？"));
    EXPECT_EQ(field("車名"), "マツダ");
    EXPECT_EQ(field("類別区分番号"), "０００９") << "the found record's classification";
}

TEST_F(LookupTest, CodeFilesComeFirstAndAMissingOneFallsBackToTheTable)
{
    seed("INDATA", {kCustomer});
    seed("code", {{{"自動車型式指定番号", "７７７７"}, {"類別区分番号", "０００１"}, {"車名", "学習済み"}}});
    std::vector<std::string> cells(72);
    cells[1] = "乗用車（小型）";
    cells[3] = "ホンダ";
    cells[4] = "E-EF1";
    cells[5] = "0001";
    cells[8] = "シビック";
    cells[14] = "07777";
    cells[17] = "1";
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    QDir(dir.path()).mkdir("codes");
    writeSettings("codes/HONDA.CSV", {line});
    writeSettings("CodeType.INI", {"1,箱型"});
    writeSettings("CodeFile.INI", {"codes\\honda.csv"});
    create();
    {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("FormDlg"), codes("7777", "0001"));
        doubleClick("DBMemo21");
        EXPECT_EQ(field("車名"), "ホンダ　シビック") << "from the code file, found in any case";
        EXPECT_EQ(field("車体の形状"), "箱型");
        EXPECT_EQ(field("自動車の種別"), "小型");
        EXPECT_EQ(field("自動車型式指定番号"), "７７７７");
        EXPECT_EQ(field("類別区分番号"), "０００１");
    }
    form()->Table1->Cancel();
    {
        // Not in the code file: asked whether to search again.
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("FormDlg"), codes("8888", "1"));
        ScriptedMessages messages;
        messages.answer(MessageAnswer::No);
        doubleClick("DBMemo21");
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("登録されていませんでした。\rもう一度検索しますか？"));
    }
    close();
    writeSettings("CodeFile.INI", {"missing.csv", "codes\\honda.csv"});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FormDlg"), codes("7777", "0001"));
    doubleClick("DBMemo21");
    EXPECT_EQ(field("車名"), "学習済み") << "a missing code file: straight on to the table";
}

TEST_F(LookupTest, FormDlgStartsEmptyAndEnterMovesOn)
{
    create();
    FormDlg->Edit1->setText(QStringLiteral("1"));
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FormDlg"), [](QDialog& d) {
        auto* dlg = static_cast<TFormDlg&>(d).Edit1;
        EXPECT_TRUE(dlg->text().isEmpty());
        EXPECT_EQ(d.windowTitle(), QStringLiteral("諸元表呼び出し"));
        d.activateWindow();
        dlg->setFocus();
        QTest::keyClick(dlg, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()) << "Enter does not close the dialog";
        EXPECT_TRUE(static_cast<TFormDlg&>(d).Edit2->hasFocus() || !QApplication::focusWidget());
        return int(QDialog::Accepted);
    });
    form()->DBMemo21DblClick();
}

// ---- the specification editor -------------------------------------------------------------

TEST_F(LookupTest, TheEditorPostsAnEditLeftOpen)
{
    seed("code", {{{"自動車型式指定番号", "１"}, {"類別区分番号", "１"}, {"車名", "旧"}}});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("FListForm"), [](QDialog&) {
        DBGridModel* model = FListForm->DBGrid1->gridModel();
        const std::vector<std::string> names = model->fieldNames();
        const int column = int(std::find(names.begin(), names.end(), "車名") - names.begin());
        EXPECT_TRUE(model->setData(model->index(0, column), QStringLiteral("新"), Qt::EditRole));
        return int(QDialog::Rejected);
    });
    w<QAction>("N13")->trigger();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(form()->Table5->state(), Table::State::Browse);
    Table check(*db, "code");
    check.Open();
    EXPECT_EQ(sjis::toUtf8(check.FieldByName("車名").AsString()), "新");
}

TEST_F(LookupTest, EditorWidthsAreReadTolerantlyAndWrittenInGridOrder)
{
    // Field 4 gets 30 characters, field 99 does not exist, and the odd last
    // line leaves field 2 with width 0.
    writeSettings("FormListLen.INI", {"4", "30", "99", "12", "0", "5", "2"});
    create();
    const auto& widths = FListForm->columnWidths();
    ASSERT_EQ(widths.size(), 27u);
    EXPECT_EQ(widths[3], 30);
    EXPECT_EQ(widths[1], 0);
    EXPECT_GT(FListForm->DBGrid1->columnWidth(3), FListForm->DBGrid1->columnWidth(0));
    EXPECT_EQ(FListForm->windowTitle(), QStringLiteral("諸元表の修正"));

    FListForm->show();
    FListForm->resize(500, 300);
    QApplication::processEvents();
    EXPECT_EQ(FListForm->OKBtn->x(), FListForm->Panel2->width() / 2 - 37);
    FListForm->DBGrid1->horizontalHeader()->resizeSection(0, FListForm->DBGrid1->columnWidth(3));
    FListForm->OKBtn->click();
    const auto file = LineListFile::read(dir.filePath("FormListLen.INI"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->lineCount(), 54u);
    EXPECT_EQ(file->number(0), 1);
    EXPECT_EQ(file->number(1), 30) << "the user's new width, in characters";
    EXPECT_EQ(file->number(2), 2);
    EXPECT_EQ(file->number(3), 0);
    EXPECT_EQ(file->number(6), 4);
    EXPECT_EQ(file->number(7), 30);
    EXPECT_EQ(file->number(52), 27);
}

TEST_F(LookupTest, EditorOkClosesAfterReportingAWidthFileThatCannotBeWritten)
{
    create();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("FormListLen.INI")));
    ScriptedDialogs dialogs;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    bool open = true;
    dialogs.answer(QStringLiteral("FListForm"), [&](QDialog& d) {
        FListForm->OKBtn->click();
        open = d.isVisible();
        return d.result();
    });
    form()->findChild<QAction*>(QStringLiteral("N13"))->trigger();
    EXPECT_FALSE(open);
    EXPECT_EQ(FListForm->result(), QDialog::Accepted);
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
}
