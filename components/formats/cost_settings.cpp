#include "components/formats/cost_settings.h"

namespace {

const QString kNameFile = QStringLiteral("ExpenseName.INI");
const QString kOptionsFile = QStringLiteral("Expense.INI");

}  // namespace

FontBlock expenseFontDefaults()
{
    FontBlock font;
    font.height = -19;
    font.size = 0;
    return font;
}

SjisString defaultExpenseName() { return sj("諸費用"); }

std::optional<SjisString> readExpenseName(const QString& dir)
{
    return readSettingsAs(dir, kNameFile, [](const LineListFile& f) { return f.line(0); });
}

void writeExpenseName(const QString& dir, const SjisString& name)
{
    writeSettingsFile(dir, kNameFile, LineListFile({name}));
}

ExpenseOptions expenseOptionsFromLines(const LineListFile& file)
{
    ExpenseOptions o;
    o.font = fontBlockFromLines(file, 0, expenseFontDefaults());
    o.scope = file.number(6, 0, 1);
    o.output = file.number(7, 0, 2);
    o.recordsPerJob = file.line(8);
    return o;
}

LineListFile expenseOptionsLines(const ExpenseOptions& o)
{
    LineListFile file;
    appendFontBlock(file, o.font);
    file.append(o.scope);
    file.append(o.output);
    file.append(o.recordsPerJob);
    return file;
}

std::optional<ExpenseOptions> readExpenseOptions(const QString& dir)
{
    return readSettingsAs(dir, kOptionsFile, expenseOptionsFromLines);
}

void writeExpenseOptions(const QString& dir, const ExpenseOptions& options)
{
    writeSettingsFile(dir, kOptionsFile, expenseOptionsLines(options));
}
