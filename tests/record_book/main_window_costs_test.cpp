// The cost settings dialog and the estimate's handlers.
#include "components/formats/cost_settings.h"
#include "components/widgets/line_view.h"
#include "platform/message_box.h"
#include "platform/text_printer.h"
#include "record_book/expense_form.h"
#include "record_book/expense_output_forms.h"
#include "record_book/model/costs.h"
#include "tests/record_book/main_window_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>
#include <map>
#include <set>

namespace {

TEST(ExpenseFormFields, EachFieldOfBothTablesHasExactlyOneEdit)
{
    std::map<std::string, std::set<std::string>> edited;
    std::set<std::tuple<int, int, int>> places;
    for (const ExpenseFormField& f : expenseFormFields()) {
        EXPECT_TRUE(edited[f.table].insert(f.field).second) << f.field;
        EXPECT_TRUE(places.insert({f.group, f.row, f.column}).second) << f.field;
    }
    for (const char* table : {"Expense", "WeightTax"}) {
        std::set<std::string> fields;
        for (const FieldDef& d : schemaTable(table)->fields)
            fields.insert(d.name);
        EXPECT_EQ(edited[table], fields) << table;
    }
}

class CostsTest : public MainWindowFixture {
protected:
    TExpenseForm& dialog() { return *ExpenseForm; }
    QLineEdit* edit(const std::string& field) { return dialog().fieldEdit(field); }
    Table& weightTax() { return *form()->Table7; }
    int selectedRow(int use)
    {
        for (int r = 1; r <= 13; ++r)
            if (dialog().radioItem(use, r)->isChecked())
                return r;
        return 0;
    }
    int coverTop(int use) { return dialog().coverPanels[std::size_t(use - 1)]->y(); }
    int rowTop(int use, int row) { return dialog().radioItem(use, row)->y(); }

    void setBounds(int use, std::vector<int> bounds)
    {
        Table& w = weightTax();
        w.Edit();
        for (std::size_t r = 0; r < bounds.size(); ++r)
            w.FieldByName(weightBoundField(use, int(r + 1))).SetAsInteger(bounds[r]);
        w.Post();
    }
};

TEST_F(CostsTest, TheCoverFollowsTheFilledRowsAndAClickBelowUncoversOneRow)
{
    create();
    setBounds(2, {1000, 2000, 3000});
    setBounds(5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    restart();
    EXPECT_EQ(selectedRow(2), 3);
    EXPECT_EQ(coverTop(2), rowTop(2, 4));
    EXPECT_EQ(selectedRow(5), 12);
    EXPECT_EQ(dialog().coverPanels[4]->height(), 0);
    EXPECT_EQ(selectedRow(1), 0);  // no bound: nothing selected, every row covered

    dialog().radioItem(2, 7)->click();
    EXPECT_EQ(selectedRow(2), 4);
    EXPECT_EQ(coverTop(2), rowTop(2, 5));
    dialog().radioItem(2, 1)->click();
    EXPECT_EQ(selectedRow(2), 3);
    dialog().radioItem(5, 13)->click();  // a covered row cannot open a 13th bracket
    EXPECT_EQ(selectedRow(5), 12);

    // A click at an open row's edit reaches it, the bounds over their items too.
    QWidget* contents = dialog().ScrollBox1->widget();
    for (QLayout* l : contents->findChildren<QLayout*>())
        l->activate();  // the groups in their places, as shown
    const auto clicked = [&](const std::string& f) { return contents->childAt(edit(f)->mapTo(contents, edit(f)->rect().center())); };
    for (int r = 1; r <= 13; ++r)
        for (const std::string& field : {weightBoundField(5, r), weightAmountField(5, r), weightAmountField(5, r + 13)})
            EXPECT_EQ(clicked(field), edit(field)) << field;
    EXPECT_NE(clicked(weightBoundField(2, 4)), edit(weightBoundField(2, 4))) << "covered";
}

TEST_F(CostsTest, OkSavesFeesAndNameCancelDropsThemAndClosingClearsRowsAfterAnEmptyBound)
{
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ExpenseForm", [&](QDialog&) {
        edit("自賠責特殊8")->setText("17650");
        edit("仮ナンバー")->setText("");
        for (int r = 1; r <= 7; ++r) {
            edit(weightBoundField(1, r))->setText(QString::number(r == 5 ? 0 : r * 500));
            edit(weightAmountField(1, r))->setText(QString::number(r * 100));
        }
        dialog().Edit1->setText(QStringLiteral("手数"));
        EXPECT_EQ(dialog().GroupBox4->title(), QStringLiteral("手数"));
        dialog().OKBtn->click();
        return int(QDialog::Rejected);
    });
    dialogs.answer("ExpenseForm", [&](QDialog&) {
        edit("自賠責特殊8")->setText("1");
        return int(QDialog::Rejected);
    });
    form()->Expense1Click();
    form()->Expense1Click();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    EXPECT_EQ(fileBytes("ExpenseName.INI"), crlf({sj("手数")}));
    const CostRates rates = form()->costTables().rates();
    EXPECT_EQ(rates.fees.fee(FeeKind::Insurance, 5, 8), 17650);
    EXPECT_EQ(rates.fees.plate, 0);
    EXPECT_EQ(bracketRowCount(rates.weightTax.bounds[0]), 5);
    EXPECT_EQ(rates.weightTax.amounts[0][3], 400);
    EXPECT_EQ(rates.weightTax.amounts[0][5], 0);  // rows 5..7 are lost
    EXPECT_EQ(edit(weightBoundField(1, 6))->text(), "0");
    EXPECT_EQ(selectedRow(1), 4);

    restart();
    EXPECT_EQ(dialog().GroupBox4->title(), QStringLiteral("手数"));
    EXPECT_EQ(edit("自賠責特殊8")->text(), "17650");
}

TEST_F(CostsTest, AnEstimateOfTheRecordShownAppearsInTheViewer)
{
    seed({{{"使用者ふりがな", "やまだ"}, {"使用者", "山田"}, {"自動車登録番号", "品川１"}, {"自動車の種別", "小型"},
           {"用途", "乗用"}, {"車両重量", "1000"}}});
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ExpenseEstablForm", [&](QDialog&) {
        EXPECT_TRUE(ExpenseEstablForm->Edit1->isEnabled());
        ExpenseEstablForm->RadioGroup2->findChildren<QRadioButton*>()[1]->click();
        EXPECT_FALSE(ExpenseEstablForm->Edit1->isEnabled());
        ExpenseEstablForm->CheckBox2->setChecked(true);
        ScriptedDialogs fonts;
        fonts.answer("FontDialog1", QDialog::Accepted);
        ExpenseEstablForm->Button1->click();
        ExpenseEstablForm->OKBtn->click();
        return int(QDialog::Rejected);
    });
    dialogs.answer("ExpenseOutForm", [&](QDialog&) {
        const QString text = ExpenseOutForm->Memo1->toPlainText();
        EXPECT_TRUE(text.contains(QStringLiteral("　　山田") + QString(14, u' ') + QStringLiteral("様\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("自賠責証明書が必要です。")));
        EXPECT_EQ(ExpenseOutForm->Labels[0]->text(), QString());
        EXPECT_EQ(ExpenseOutForm->Labels[5]->text(), QStringLiteral("            ０"));
        return int(QDialog::Rejected);
    });
    form()->Expense2Click();
    EXPECT_EQ(dialogs.unanswered(), 0u);
    const QByteArray ini = fileBytes("Expense.INI");
    // The font dialog accepted as it opened: "ＭＳ 明朝" of height −19 keeps its name, size and system colour.
    EXPECT_EQ(ini, crlf({"128", "-16777208", "0", "-19", sj("ＭＳ 明朝"), "14", "0", "1", "3"}));
    EXPECT_TRUE(fileBytes("Expense.txt").contains(QByteArray::fromStdString(sj("　　　車検費用見積書\r\n"))));
}

TEST_F(CostsTest, PrintingToAFileKeepsEachEstimateWholeOnAPageWithTheYenSignsInOneColumn)
{
    std::vector<Fields> records;
    for (const char* name : {"あ", "い", "う", "え", "お", "か", "き"})
        records.push_back({{"使用者ふりがな", name}, {"使用者", name}, {"自動車の種別", "小型"}, {"用途", "乗用"}});
    seed(records);
    create();
    Table& fees = form()->costTables().expense();
    fees.Edit();
    fees.FieldByName("自賠責乗用2").SetAsInteger(17650);
    fees.FieldByName("検査印紙乗用2").SetAsInteger(2200);
    fees.Post();
    const QString pdf = dir.filePath("estimate.pdf");
    runPrinter().setOutputFileName(pdf);
    const auto tool = [](const char* name, const QStringList& args) {
        QProcess p;
        p.start(QString::fromLatin1(name), args);
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    // 19 lines an estimate, the last three blank. A4 holds 58 lines at 14 points: three estimates,
    // never a part of a fourth; at 15 points 54 lines, three estimates without their last blank lines.
    for (auto [size, perJob] : {std::pair{"0", "0"}, {"15", "3"}}) {
        writeSettings("Expense.INI", {"128", "0", "0", "-19", "ＭＳ 明朝", size, "1", "0", perJob});
        ScriptedDialogs dialogs;
        dialogs.answer("ExpenseEstablForm", [](QDialog&) {
            ExpenseEstablForm->OKBtn->click();
            return int(QDialog::Rejected);
        });
        dialogs.answer("PrintDialog", QDialog::Accepted);
        form()->Expense2Click();

        QStringList estimates;  // of each page, those begun and those ended on it
        for (const QString& page : tool("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(u'\f'))
            estimates << QStringLiteral("%1/%2").arg(page.count(u"車検費用見積書")).arg(page.count(u"させて頂きます。"));
        EXPECT_EQ(estimates, QStringList({"3/3", "3/3", "1/1", "0/0"})) << size << perJob;  // "0/0": after the last page
    }
    static const QRegularExpression word(QStringLiteral(R"re(xMax="([0-9.]+)"[^>]*>([^<]*円)</word>)re"));
    std::multiset<long> rights;
    for (const auto& m : word.globalMatch(tool("pdftotext", {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})))
        rights.insert(std::lround(m.captured(1).toDouble()));
    EXPECT_EQ(rights.size(), 7u * 5u);  // every amount, all at one right edge
    EXPECT_EQ(rights.count(*rights.begin()), 7u * 5u);
}

TEST_F(CostsTest, TheRequestOutputIsOfferedOnlyWithTheRequestProgramAndSaysWhatWasAdded)
{
    seed({{{"使用者ふりがな", "やまだ"}, {"自動車の種別", "小型"}, {"用途", "乗用"}}});
    writeSettings("Expense.INI", {"", "", "", "", "", "", "0", "2", "3"});
    create();
    {
        ScriptedDialogs dialogs;
        dialogs.answer("ExpenseEstablForm", [&](QDialog&) {
            EXPECT_FALSE(ExpenseEstablForm->requestOutputOffered());
            EXPECT_EQ(ExpenseEstablForm->output(), 0);  // a saved request output falls back to the printer
            return int(QDialog::Rejected);
        });
        form()->Expense2Click();
    }
    QFile(dir.filePath("Ostrivan.exe")).open(QIODevice::WriteOnly);
    restart();
    ScriptedDialogs dialogs;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    for (int run = 0; run < 2; ++run)
        dialogs.answer("ExpenseEstablForm", [&](QDialog&) {
            EXPECT_EQ(ExpenseEstablForm->output(), 2);
            ExpenseEstablForm->OKBtn->click();
            return int(QDialog::Rejected);
        });
    form()->Expense2Click();
    form()->Table1->Edit();
    form()->Table1->FieldByName("用途").SetAsString(sj("営業"));
    form()->Table1->Post();
    messages.answer(MessageAnswer::Ok);
    form()->Expense2Click();
    ASSERT_EQ(messages.prompts().size(), 3u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("自動車修理明細書に追加されました。"));
    EXPECT_EQ(messages.prompts()[2].text,
              QStringLiteral("自動車修理明細書に0件追加されました。\r1件は追加されませんでした。"));
    EXPECT_EQ(ExpenseEstablForm->findChildren<QRadioButton*>().size(), 2u + 3u);  // 明細書 added once
}

}  // namespace
