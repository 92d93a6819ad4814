// The list print from the main window, printed to a PDF file and read back,
// and its settings dialog.
#include "components/formats/print_settings.h"
#include "components/widgets/dual_list.h"
#include "platform/clock.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"
#include "platform/text_printer.h"
#include "record_book/print_pat_dlg.h"
#include "tests/record_book/main_window_fixture.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolBar>

#include <map>

namespace {

class ListPrintWindowTest : public MainWindowFixture {
protected:
    QString pdf;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        seed({{{"使用者ふりがな", "あおき"}, {"使用者", "青木　一郎"}, {"自動車登録番号", "品川500あ1234"},
               {"用途", "乗用"}, {"車両重量", "1230"}},
              {{"使用者ふりがな", "いとう"}, {"使用者", "伊藤"}, {"自動車登録番号", "練馬400い56"},
               {"用途", "貨物"}, {"車両総重量", "2450"}},
              {{"使用者ふりがな", "うえだ"}, {"使用者", "上田商店"}, {"自動車登録番号", "足立580う9"},
               {"自動車の種別", "軽自動車"}}});
        // The list takes its widths from the width set that is current; an
        // address is wider than a page.
        Table* widths = create().Table3;
        widths->Append();
        widths->FieldByName("データ用途").SetAsString(sj("一覧"));
        for (auto [name, width] : {std::pair{"使用者", 12}, {"自動車登録番号", 16}, {"用途及び重量", 10}, {"使用者住所", 200}})
            widths->FieldByName(name).SetAsInteger(width);
        widths->Post();
        pdf = dir.filePath("list.pdf");
        runPrinter().setOutputFileName(pdf);
    }

    void writePrintSettings(int method, const char* perJob, std::vector<const char*> columns, int scope = 1)
    {
        ListPrintSettings s;
        s.scope = scope, s.method = method, s.perJob = perJob, s.separatorLength = "5";
        for (const char* c : columns)
            s.columns.right.push_back(sj(c));
        writeListPrintSettings(dir.path(), s);
    }

    // The PDF's page count, and into `lefts` the left edge of each word (the
    // first place it stands).
    int readPdf(std::map<QString, double>* lefts = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        p.waitForFinished();
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression word(QStringLiteral(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re"));
        for (const auto& m : word.globalMatch(lefts ? text : QString()))
            lefts->emplace(m.captured(2), m.captured(1).toDouble());
        return int(text.count(QStringLiteral("<page ")));
    }
};

TEST_F(ListPrintWindowTest, ListPrintsJobsAsPagesWithColumnsInLine)
{
    writePrintSettings(0, "2", {"使用者", "自動車登録番号", "用途及び重量"});
    writeListTitleSettings(dir.path(), {sj("車検台帳"), "4", "14", "0", "10"});
    FixedClock clock(QDate(2026, 12, 9));
    ScriptedDialogs dialogs;
    dialogs.answer("PrintDialog", QDialog::Accepted);
    form()->PrintBClick();

    std::map<QString, double> x;
    EXPECT_EQ(readPdf(&x), 2);
    for (const char* word : {"令和08年12月09日", "車検台帳", "青木", "一郎", "上田商店", "軽自動車"})
        EXPECT_TRUE(x.count(QString::fromUtf8(word))) << word;
    // Columns start at their byte offsets: a cell of 12 bytes, then 16.
    const double cell = (x.at(QStringLiteral("自動車登録番号")) - x.at(QStringLiteral("使用者"))) / 12;
    EXPECT_GT(cell, 0);
    for (const char* number : {"品川500あ1234", "練馬400い56", "足立580う9"})
        EXPECT_DOUBLE_EQ(x.at(QString::fromUtf8(number)), x.at(QStringLiteral("自動車登録番号"))) << number;
    EXPECT_NEAR(x.at(QStringLiteral("1230")), x.at(QStringLiteral("使用者")) + 32 * cell, 0.01);
    EXPECT_TRUE(form()->Table1->Eof());
}

TEST_F(ListPrintWindowTest, ColumnsPastThePageEdgeAreNamedAndPrintOnlyWhenTheUserSaysSo)
{
    writePrintSettings(0, "5", {"使用者", "自動車登録番号", "使用者住所", "用途及び重量"});
    for (auto answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        ScriptedDialogs dialogs;
        dialogs.answer("PrintDialog", QDialog::Accepted);
        ScriptedMessages messages;
        messages.answer(answer);
        form()->PrintBClick();
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_TRUE(messages.prompts()[0].text.contains(QStringLiteral("「使用者住所」")));
        EXPECT_EQ(messages.prompts()[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(QFile::exists(pdf), answer == MessageAnswer::Yes);
    }
}

TEST_F(ListPrintWindowTest, RefusedPrintsStartNoJob)
{
    for (const char* column : {"重量", "メモ"}) {
        writePrintSettings(0, "5", {"使用者", column});
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok);
        guarded([this] { form()->PrintBClick(); });
        ASSERT_EQ(messages.prompts().size(), 1u);
        EXPECT_TRUE(messages.prompts()[0].text.contains(QString::fromUtf8(column)));
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

TEST_F(ListPrintWindowTest, WindowImagePrintsARecordAPageAndAlwaysRestoresTheWindow)
{
    writePrintSettings(1, "5", {});
    showQuietly();
    const int height = form()->height();
    for (bool writable : {true, false}) {
        runPrinter().setOutputFileName(writable ? pdf : dir.filePath("missing/list.pdf"));
        ScriptedDialogs dialogs;
        dialogs.answer("PrintDialog", QDialog::Accepted);
        ScriptedMessages messages;
        if (!writable)
            messages.answer(MessageAnswer::Ok);
        form()->PrintBClick();
        form()->PrintBClick();  // while it runs: nothing, no second dialog
        ASSERT_TRUE(QTest::qWaitFor([this] { return form()->FormPrintStep == 0; }, 20000));
        EXPECT_EQ(messages.prompts().size(), writable ? 0u : 1u);
        EXPECT_EQ(form()->height(), height);
        EXPECT_TRUE(w<QToolBar>("SpeedPanel1")->isVisible());
        if (writable) {
            EXPECT_EQ(readPdf(), 3);
            EXPECT_EQ(field("使用者ふりがな"), "うえだ");
        }
    }
}

TEST_F(ListPrintWindowTest, DialogSavesReloadsAndEnablesItsControls)
{
    writePrintSettings(0, "7", {"使用者"}, 0);
    ScriptedDialogs dialogs;
    dialogs.answer("PrintPatDlg", [](QDialog& d) {
        auto& dlg = static_cast<TPrintPatDlg&>(d);
        EXPECT_EQ(dlg.Edit1->value(), 7);
        EXPECT_FALSE(dlg.Edit1->isEnabled());  // the current record only
        EXPECT_EQ(dlg.Chooser->rightEntries(), std::vector<SjisString>{sj("使用者")});
        dlg.setMethod(1);
        dlg.RadioGroup2Click();
        EXPECT_FALSE(dlg.Chooser->isEnabled());
        EXPECT_FALSE(dlg.Panel1->isEnabled());
        dlg.HyouEdit->setText(QStringLiteral("車検一覧"));
        dlg.DaySEdit->setText(QStringLiteral("9"));
        ScriptedDialogs fonts;
        fonts.answer("FontDialog1", [](QDialog& f) {
            QFont font(QStringLiteral("IPAGothic"));
            font.setPointSize(11);
            static_cast<QFontDialog&>(f).setCurrentFont(font);
            ScriptedDialogs colors;
            colors.answer("ColorDialog1", [](QDialog& c) {
                static_cast<QColorDialog&>(c).setCurrentColor(QColor(0, 0, 255));
                return int(QDialog::Accepted);
            });
            if (auto* button = f.findChild<QPushButton*>(QStringLiteral("ColorButton")))
                button->click();
            return int(QDialog::Accepted);
        });
        dlg.Button1Click();
        dlg.OKBtn->click();
        return int(QDialog::Accepted);
    });
    form()->PrintSBClick();

    const auto saved = readListPrintSettings(dir.path());
    ASSERT_TRUE(saved);
    EXPECT_EQ(std::tuple(saved->method, saved->perJob, saved->font.size), std::tuple(1, SjisString("7"), 11));
    EXPECT_EQ(saved->font.name, sj("IPAGothic"));
    EXPECT_TRUE(fileBytes("Print.INI").startsWith("128\r\n16711680\r\n"));  // blue: 255·65536
    EXPECT_EQ(readListTitleSettings(dir.path()), (ListTitleSettings{sj("車検一覧"), "", "", "", "9"}));

    dialogs.answer("PrintPatDlg", [](QDialog& d) {
        auto& dlg = static_cast<TPrintPatDlg&>(d);
        EXPECT_EQ(dlg.HyouEdit->text(), QStringLiteral("車検一覧"));
        dlg.HyouEdit->setText(QStringLiteral("変更"));
        dlg.CancelBtn->click();
        return int(QDialog::Rejected);
    });
    form()->PrintSBClick();
    EXPECT_EQ(readListTitleSettings(dir.path())->title, sj("車検一覧"));
}

}  // namespace
