// The list print of 10,000 records to a PDF file: eight columns, two of
// them computed, five records a job (2,000 pages). Peak memory is reported
// beside the time: pages are written as they are finished, so the list of
// every record should need no more memory than the list of a quarter of
// them (run each in a process of its own: --benchmark_filter=.../0 and /1).
#include "bench/record_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "output/list_print.h"
#include "platform/text_printer.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace {

constexpr std::size_t kRecords = 10000;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Table> records, widths;

    Book()
    {
        static int argc = 1;
        static char name[] = "bench_list_print";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QGuiApplication(argc, argv);
        }
        db = openSharedDatabase(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
        const std::vector<SjisString> uses = encodeAll({"乗用", "貨物", "乗用", "特種"});
        Values record(kExtendedFieldCount);
        insertRecords(*db, kRecords, [&](std::size_t i) -> const Values& {
            record[0] = sj("やまだ") + std::to_string(i);
            record[2] = sj("山田自動車販売株式会社") + std::to_string(i);
            record[4] = sj("品川５００あ") + std::to_string(i);
            record[12] = sj("令和０８年０３月１５日");
            record[18] = i % 7 ? sj("小型") : sj("軽自動車");
            record[19] = uses[i % uses.size()];
            record[22] = i < kRecords / 4 ? sj("トヨタ") : sj("日産");
            record[27] = std::to_string(900 + i % 900);
            record[28] = std::to_string(1500 + i % 900);
            return record;
        });
        records = std::make_unique<Table>(*db, "INDATA");
        records->Open();
        widths = std::make_unique<Table>(*db, "INDTLEN");
        widths->Open();
        widths->Append();
        for (auto [field, width] : {std::pair{"使用者ふりがな", 12}, {"使用者", 24}, {"自動車登録番号", 20},
                                    {"有効期間の満了する日", 22}, {"自動車の種別", 10}, {"車名", 10},
                                    {"車両重量又は総重量", 8}, {"用途及び重量", 12}})
            widths->FieldByName(field).SetAsInteger(width);
        widths->Post();
    }
};

Book& book()
{
    static Book b;
    return b;
}

void BM_ListPrintToPdf(benchmark::State& state)
{
    Book& b = book();
    std::vector<SjisString> names;
    for (const char* n : {"使用者ふりがな", "使用者", "自動車登録番号", "有効期間の満了する日", "自動車の種別", "車名",
                          "車両重量又は総重量", "用途及び重量"})
        names.push_back(sj(n));
    // Arg 0: every record; otherwise the quarter of them a filter leaves.
    b.records->SetFilter(sj("(車名 = 'トヨタ')"));
    b.records->SetFiltered(state.range(0) != 0);
    const ListLayout layout(names, *b.widths, *b.records);
    ListPrintOptions options;
    options.title = sj("車検台帳");
    options.titleSize = 14;
    options.dateSize = 10;
    options.date = QDate(2026, 12, 9);
    const double before = peakMegabytes();
    for (auto _ : state) {
        runPrinter().setOutputFileName(b.dir.filePath(QStringLiteral("list.pdf")));
        TextPrinter printer(runPrinter());
        PrinterListOutput out(printer, options.font);
        printList(out, *b.records, layout, options);
        printer.finish();
        state.counters["pages"] = printer.pageCount();
    }
    state.counters["peak_rss_mb"] = peakMegabytes();
    state.counters["rss_growth_mb"] = peakMegabytes() - before;
}
BENCHMARK(BM_ListPrintToPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
