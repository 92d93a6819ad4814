// Backup and restore of 100,000 records: the CSV backup without and with
// the postal-code column (a KEN_ALL.CSV of the real file's size), and the
// restore of that backup with its before-post work (full-width codes, tab,
// learning), on the record book alone and once through Dremlot's window.
#include "bench/backup_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "output/backup.h"
#include "record_book/forms.h"
#include "record_book/main_window.h"
#include "record_book/model/record_book.h"
#include "tests/components/ken_all_synthetic.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr std::size_t kRecords = 100000;

// A data directory with the records, a full-size KEN_ALL.CSV and the book.
struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecordBook> book;

    Book()
    {
        static int argc = 1;
        static char name[] = "bench_backup";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(argc, argv);
        }
        QDir::setCurrent(dir.path());
        writeFullSizeKenAll(dir.path());
        db = openSharedDatabase(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
        insertBackupRecords(*db, kRecords);
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Book& book()
{
    static Book b;
    return b;
}

WidthSet fullSet(int postalMode)
{
    WidthSet set{sj("通常")};
    set.widths.fill(10);
    set.postalMode = postalMode;
    return set;
}

BackupSteps restoreSteps(const QString& path)
{
    BackupSteps steps;
    steps.chooseRestoreFile = [path](const QString&) { return std::optional<QString>(path); };
    steps.ask = [](const QString&) { return true; };
    steps.inform = [](const QString&) {};
    steps.showError = [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    return steps;
}

void backUp(benchmark::State& state, int postalMode, const char* file)
{
    Book& b = book();
    for (auto _ : state) {
        const double seconds = secondsOf(
            [&] { writeCsvBackup(*b.book, fullSet(postalMode), b.path(file), false, [](const QString&) { return true; }); });
        state.SetIterationTime(seconds);
    }
    state.counters["bytes"] = double(QFileInfo(b.path(file)).size());
}

void BM_BackupToCsv(benchmark::State& state) { backUp(state, 0, "backup.CSV"); }
BENCHMARK(BM_BackupToCsv)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The first iteration loads KEN_ALL.CSV; the later ones find it loaded.
void BM_BackupWithPostalCodes(benchmark::State& state) { backUp(state, 2, "postal.CSV"); }
BENCHMARK(BM_BackupWithPostalCodes)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_RestoreFromCsv(benchmark::State& state)
{
    Book& b = book();
    writeCsvBackup(*b.book, fullSet(0), b.path("restore.CSV"), false, [](const QString&) { return true; });
    for (auto _ : state) {
        const double seconds = secondsOf([&] { restoreRecords(*b.book, restoreSteps(b.path("restore.CSV"))); });
        state.SetIterationTime(seconds);
    }
    state.counters["records"] = double(b.book->records().RecordCount());
}
BENCHMARK(BM_RestoreFromCsv)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

// Through the main window, with its controls, grid and counters on the
// table, and the events the restore leaves behind handled.
void BM_RestoreThroughTheWindow(benchmark::State& state)
{
    Book& b = book();
    writeCsvBackup(*b.book, fullSet(0), b.path("window.CSV"), false, [](const QString&) { return true; });
    DremlotForms forms(*b.db);
    forms.carData().show();
    for (auto _ : state) {
        const double seconds = secondsOf([&] {
            restoreRecords(forms.book(), restoreSteps(b.path("window.CSV")));
            QCoreApplication::processEvents();
        });
        state.SetIterationTime(seconds);
    }
    state.counters["records"] = double(forms.book().records().RecordCount());
}
BENCHMARK(BM_RestoreThroughTheWindow)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
