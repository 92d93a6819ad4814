// A cost estimate of 10,000 records to the screen: through the main window
// (the options answered, Expense.txt written and loaded into the viewer),
// and the walk with the file alone.
#include "bench/record_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "output/cost_estimate.h"
#include "platform/modal.h"
#include "record_book/expense_output_forms.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::size_t kRecords = 10000;

struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<DremlotForms> forms;

    Book()
    {
        static int argc = 1;
        static char name[] = "bench_cost";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(argc, argv);
        }
        QDir::setCurrent(dir.path());
        db = openSharedDatabase(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
        const std::vector<SjisString> kinds = encodeAll({"小型", "普通", "軽自動車", "二輪", "大型"});
        const std::vector<SjisString> uses = encodeAll({"乗用", "貨物", "特種", "乗合", "特殊"});
        Values record(kExtendedFieldCount);
        insertRecords(
            *db, kRecords,
            [&](std::size_t i) -> const Values& {
                record[0] = sj("やまだ") + std::to_string(i);
                record[2] = sj("山田太郎") + std::to_string(i);
                record[4] = sj("品川５００あ") + std::to_string(i);
                record[18] = kinds[i % kinds.size()];
                record[19] = uses[i / 5 % uses.size()];
                record[20] = sj(i % 3 ? "自家用" : "事業用");
                record[25] = std::to_string(i % 4 * 1000);
                record[27] = std::to_string(800 + i % 2000);
                record[28] = std::to_string(1200 + i % 4000);
                return record;
            },
            IndexUpkeep::BuiltAfterwards);
        forms = std::make_unique<DremlotForms>(*db);
        TCarDataForm& form = forms->carData();
        Table& w = form.costTables().weightTax();
        w.Edit();
        for (int use = 1; use <= kCostUses; ++use) {
            for (int r = 1; r <= 12; ++r)
                w.FieldByName(weightBoundField(use, r)).SetAsInteger(500 * r);
            w.FieldByName(weightBoundField(use, 13)).SetAsInteger(500);
        }
        w.Post();
    }
};

Book& book()
{
    static Book b;
    return b;
}

void BM_EstimateOfAllRecordsToTheScreen(benchmark::State& state)
{
    TCarDataForm& form = book().forms->carData();
    for (auto _ : state) {
        ScriptedDialogs dialogs;
        dialogs.answer("ExpenseEstablForm", [](QDialog&) {
            ExpenseEstablForm->setScope(1);
            ExpenseEstablForm->setOutput(1);
            return int(QDialog::Accepted);
        });
        dialogs.answer("ExpenseOutForm", QDialog::Rejected);
        form.Expense2Click();
        if (dialogs.unanswered())
            state.SkipWithError("the estimate did not reach the viewer");
    }
}
BENCHMARK(BM_EstimateOfAllRecordsToTheScreen)->Unit(benchmark::kMillisecond);

void BM_EstimateWalkAndFile(benchmark::State& state)
{
    TCarDataForm& form = book().forms->carData();
    CostEstimate estimate(form.book(), form.costTables());
    EstimateOptions o;
    o.scope = EstimateScope::All;
    o.output = EstimateOutput::Screen;
    o.feeName = sj("諸費用");
    for (auto _ : state)
        estimate.run(o);
}
BENCHMARK(BM_EstimateWalkAndFile)->Unit(benchmark::kMillisecond);

}  // namespace
