#include "output/backup.h"

#include "components/core/data_directory.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"
#include "components/formats/backup_table.h"
#include "components/formats/post_read.h"
#include "platform/clock.h"
#include "record_book/model/record_book.h"

#include <QFileInfo>
#include <QSignalBlocker>

using namespace backup;

namespace {

// A record the table refuses (a key violation, a value that is no whole
// number, one too long to store) is left out and noted; any other failure
// ends the restore.
void appendOrRefuse(Table& t, const std::vector<std::optional<SjisString>>& values, RestoreRefusals& refusals)
{
    ++refusals.records;
    try {
        t.AppendRecord(values);
    } catch (const DbError& e) {
        if (!isRecordRefusal(e))
            throw;
        refusals.refuse(e.message());
    }
}

// The record's values from a CSV record: every value in mode 1 or 2 (fields
// the table lacks aside), fields 1..47 in any other mode.
RestoreRefusals appendCsvRecords(Table& t, std::string_view bytes, int layoutMode)
{
    CsvBackupReader reader(bytes);
    const int lastField = layoutMode == 1 || layoutMode == 2 ? t.FieldCount() : kStandardFieldCount;
    std::vector<std::optional<SjisString>> values(std::size_t(t.FieldCount()));
    RestoreRefusals refusals;
    while (reader.next()) {
        csvRecordValues(reader, lastField, values);
        appendOrRefuse(t, values, refusals);
    }
    return refusals;
}

RestoreRefusals appendTxtRecords(Table& t, std::string_view bytes, const Widths& widths)
{
    TxtBackupReader reader(bytes, widths);
    std::vector<std::optional<SjisString>> values(std::size_t(t.FieldCount()));
    RestoreRefusals refusals;
    while (reader.next()) {
        for (std::size_t i = 0; i < reader.values().size(); ++i)
            values[i] = SjisString(reader.values()[i]);
        appendOrRefuse(t, values, refusals);
    }
    return refusals;
}

// First, then Delete until the table shows none: under a filter only the
// records that pass it go.
void deleteShownRecords(Table& t)
{
    t.First();
    while (!t.IsEmpty())
        t.Delete();
}

// Replaces the records the table shows (or, `adding`, adds to them) by
// those `append` writes, in one transaction while bulk restoring. The
// table's signals rest meanwhile, so that nothing shown follows each
// record; the view is rebuilt once at the end. Refused records roll the
// transaction back: all of them, with a message once the book is as it
// was; some, unless the user agrees, asked while it is still open.
template <class Append>
void replaceRecords(RecordBook& book, bool adding, const BackupSteps& steps, Append append)
{
    Table& t = book.records();
    t.CheckBrowseMode();
    RestoreRefusals refusals;
    {
        const RecordBook::BulkRestore restoring(book);
        const bool emptyAll = !adding && !t.Filtered();
        Table::Bulk bulk(t, emptyAll ? Table::Bulk::Mode::ReplaceAll : Table::Bulk::Mode::Append);
        {
            const QSignalBlocker quiet(t);
            if (!adding && !emptyAll)
                deleteShownRecords(t);
            refusals = append(t);
        }
        if (!refusals.all() && (refusals.refused == 0 || steps.ask(someRefusedQuestion(refusals))))
            bulk.commit();
    }
    t.First();
    if (refusals.all())
        steps.showError(allRefusedMessage(refusals));
}

}  // namespace

bool writeCsvBackup(RecordBook& book, const WidthSet& set, const QString& path, bool fromCurrent,
                    const std::function<bool(const QString&)>& ask)
{
    Table& t = book.records();
    const auto postalIndex =
        set.postalMode != 0 ? postal::kenAllIndex(resolveFile(book.dataDirectory(), QStringLiteral("KEN_ALL.CSV")))
                            : nullptr;
    PostalLookUp postalCode;
    if (postalIndex)
        postalCode = [&](SjisString& address) { return lookUpPostalCode(*postalIndex, address, set.postalMode); };
    return writeCsvBackupOfRows(t, set, book.settings().RecordLayoutMode, fromCurrent, postalCode, path, ask);
}

void backUpRecords(RecordBook& book, const BackupSteps& steps)
{
    const std::optional<WidthSet> set = steps.chooseWidthSet(QStringLiteral("バックアップ方法を指定してください。"));
    if (!set)
        return;
    const RecordBookSettings& s = book.settings();
    const QString name = defaultBackupName(set->isAddressBook(), s.BackupNamePrefix, s.BackupNameSuffix, today());
    const std::optional<QString> chosen = steps.chooseBackupFile(s.RestoreInitialFolder, name + QStringLiteral(".CSV"));
    if (!chosen)
        return;
    const BackupPath path = BackupPath::split(*chosen);
    writeCsvBackup(book, *set, path.sibling(QStringLiteral(".CSV")), isAppendingName(path.baseName), steps.ask);
}

void restoreRecords(RecordBook& book, const BackupSteps& steps)
{
    const std::optional<QString> chosen = steps.chooseRestoreFile(book.settings().RestoreInitialFolder);
    if (!chosen)
        return;
    const BackupPath path = BackupPath::split(*chosen);
    if (isAddressBookName(path.baseName)) {
        steps.showError(QStringLiteral("住所録はリストアできません！"));
        return;
    }
    const bool adding = isSplitName(path.baseName);
    if (isCsvExtension(path.extension)) {
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".CSV")));
        if (!mayRestore(checkCsvBackup(bytes), !adding, steps))
            return;
        const int mode = book.settings().RecordLayoutMode;
        replaceRecords(book, adding, steps, [&](Table& t) { return appendCsvRecords(t, bytes, mode); });
    } else {
        const std::optional<Widths> restored = restoreWidths(path, steps);
        if (!restored)
            return;
        const Widths& widths = *restored;
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".TXT")));
        if (!mayRestore(checkTxtBackup(bytes, widths), !adding, steps))
            return;
        replaceRecords(book, adding, steps, [&](Table& t) { return appendTxtRecords(t, bytes, widths); });
    }
}
