// The cost estimate over the record book: the record shown or every record
// of the current selection, priced from the fee tables (read once) in one
// ordered walk, to the printer, to Expense.txt of the data directory, or to
// rows of Request for the request program.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/cost_settings.h"
#include "record_book/model/costs.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class RecordBook;
class Table;

enum class EstimateScope { Current = 0, All = 1 };
enum class EstimateOutput { Printer = 0, Screen = 1, Request = 2 };

struct EstimateOptions {
    EstimateScope scope = EstimateScope::Current;
    EstimateOutput output = EstimateOutput::Printer;
    int recordsPerJob = 3;  // printer: a new job after this many records; 0 never splits
    // Scope Current: the answers; scope All: whether to ask them per record.
    bool plate = false, insuranceBroughtIn = false;
    SjisString feeName;  // the miscellaneous-fee line's name
    FontBlock font = expenseFontDefaults();
    QDate today;  // the date of request rows
};

struct EstimateResult {
    std::optional<EstimateEntry> last;  // the last record priced
    // Request rows added, and records that gave none (unrecognised codes,
    // a row the table refused).
    int requestsAdded = 0, requestsNotAdded = 0;
};

// Expense.txt of a data directory.
QString estimateTextPath(const QString& dataDir);

class CostEstimate {
public:
    CostEstimate(RecordBook& book, CostTables& tables);
    ~CostEstimate();

    // The Request table, opened on first use; it stays open.
    Table& requests();
    bool requestsOpen() const;

    // The estimates of one print job, each as its lines.
    using Job = std::vector<std::vector<SjisString>>;
    // Where each print job goes when set (tests); otherwise to the run's
    // printer, which the caller has set up, in the options' font.
    std::function<void(const Job& job)> printJob;

    // Runs an estimate; scope All prices the records as the book stands at
    // one moment. The printer gets a job of every N records, each estimate
    // whole on one page; printing to a file, the jobs are the pages of one
    // file. Scope All asks its questions through the message boxes and
    // leaves the record table on its last record. Throws FileError when
    // Expense.txt cannot be written, PrintError when the printer fails,
    // DbError when a table cannot be read.
    EstimateResult run(const EstimateOptions& options);

private:
    RecordBook& book_;
    CostTables& tables_;
    std::unique_ptr<Table> requests_;
};
