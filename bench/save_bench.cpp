// Saving a record through Dremlot's main window with 100,000 records: the
// post with its before-post work (full-width codes, insurance history, tab,
// learning the specification) and the after-post step.
#include "bench/record_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::size_t kRecords = 100000;

// The data directory, its database and Dremlot's forms, made once.
struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<DremlotForms> forms;

    Book()
    {
        static int argc = 1;
        static char name[] = "bench_save";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(argc, argv);
        }
        QDir::setCurrent(dir.path());
        db = openSharedDatabase(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
        const std::vector<SjisString> kana = encodeAll({"あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ"});
        Values record(kExtendedFieldCount);
        insertRecords(
            *db, kRecords,
            [&](std::size_t i) -> const Values& {
                record[0] = kana[i % kana.size()] + sj("やまだ") + std::to_string(i);
                record[4] = sj("品川５００あ") + std::to_string(i);
                record[10] = sj("１２３４５");
                record[11] = sj("０００") + std::to_string(i % 10);
                record[13] = sj("あおば損害保険");
                record[22] = sj("トヨタ");
                record[27] = std::to_string(1000 + i % 900);
                return record;
            },
            IndexUpkeep::BuiltAfterwards);
        forms = std::make_unique<DremlotForms>(*db);
    }
};

Book& book()
{
    static Book b;
    return b;
}

// An edit of the remarks: the codes are converted, the tab chosen and the
// specification learned (an update of the existing type) on every save.
void BM_SaveThroughTheMainWindow(benchmark::State& state)
{
    Table& t = *book().forms->carData().Table1;
    t.SetRecNo(int(kRecords / 2));
    int n = 0;
    for (auto _ : state) {
        t.Edit();
        t.FieldByName("備考").SetAsString(std::to_string(++n));
        t.Post();
    }
}
BENCHMARK(BM_SaveThroughTheMainWindow)->Unit(benchmark::kMillisecond);

// A change of insurer moves the previous pair into the history as well.
void BM_SaveWithANewInsurer(benchmark::State& state)
{
    Table& t = *book().forms->carData().Table1;
    t.SetRecNo(int(kRecords / 3));
    int n = 0;
    for (auto _ : state) {
        t.Edit();
        t.FieldByName("自賠責証明番号").SetAsString("C" + std::to_string(++n));
        t.Post();
    }
}
BENCHMARK(BM_SaveWithANewInsurer)->Unit(benchmark::kMillisecond);

// A new record appended through the add tab and saved.
void BM_AppendThroughTheMainWindow(benchmark::State& state)
{
    Table& t = *book().forms->carData().Table1;
    static int n = 0;  // the benchmark runs more than once: keys stay unique
    for (auto _ : state) {
        t.Append();
        t.FieldByName("使用者ふりがな").SetAsString(sj("ん") + std::to_string(++n));
        t.FieldByName("自動車型式指定番号").SetAsString("99");
        t.FieldByName("類別区分番号").SetAsString(std::to_string(n));
        try {
            t.Post();
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}
BENCHMARK(BM_AppendThroughTheMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
