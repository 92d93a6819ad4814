// Settings of the cost estimate, each in the directory its dialog works in
// (the data directory):
//
// ExpenseName.INI, the name of the estimate's miscellaneous-fee line:
//
//   line | meaning                          | default
//   -----+----------------------------------+---------
//   1    | the name, kept byte for byte     | "諸費用"
//
// Expense.INI, the estimate's options:
//
//   line   | meaning                                    | default
//   -------+--------------------------------------------+-----------------------------
//   1 .. 6 | the print font as a font block              | Shift JIS, window text,
//          | (print_settings.h)                         | 0, -19, "ＭＳ 明朝", 0
//   7      | scope: 0 the record shown, 1 all filtered  | 0
//   8      | output: 0 printer, 1 screen, 2 request     | 0
//   9      | records per print job, as typed            | "3"
#pragma once

#include "components/core/cp932.h"
#include "components/formats/print_settings.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <optional>

SjisString defaultExpenseName();
std::optional<SjisString> readExpenseName(const QString& dir);
void writeExpenseName(const QString& dir, const SjisString& name);

// The estimate's print font when Expense.INI is missing: 19 pixels high.
FontBlock expenseFontDefaults();

struct ExpenseOptions {
    FontBlock font = expenseFontDefaults();
    int scope = 0;   // read into 0..1
    int output = 0;  // read into 0..2
    SjisString recordsPerJob = "3";
    bool operator==(const ExpenseOptions&) const = default;
};

ExpenseOptions expenseOptionsFromLines(const LineListFile& file);
LineListFile expenseOptionsLines(const ExpenseOptions& options);
std::optional<ExpenseOptions> readExpenseOptions(const QString& dir);
void writeExpenseOptions(const QString& dir, const ExpenseOptions& options);
