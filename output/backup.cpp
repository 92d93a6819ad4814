#include "output/backup.h"

#include "components/core/data_directory.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"
#include "components/formats/post_read.h"
#include "platform/clock.h"
#include "record_book/model/record_book.h"

#include <QFileInfo>
#include <QSignalBlocker>

using namespace backup;

namespace {

constexpr int kAddressField = 4;

// Where each record field (from 1) lies in the table; -1 where it lacks it.
std::vector<int> fieldIndexes(const Table& t)
{
    std::vector<int> indexes(kExtendedFieldCount + 1, -1);
    for (int no = 1; no <= kExtendedFieldCount; ++no)
        indexes[std::size_t(no)] = t.FieldIndex(recordField(no).name);
    return indexes;
}

// A record the table refuses (a key violation, a value that is no whole
// number) raises the engine's own error without a result code; any other
// failure has one and ends the restore.
bool appendOrRefuse(Table& t, const std::vector<std::optional<SjisString>>& values)
{
    try {
        t.AppendRecord(values);
        return true;
    } catch (const DbError& e) {
        if (e.code() != SQLITE_OK)
            throw;
        return false;
    }
}

// The record's values from a CSV record: every value in mode 1 or 2 (fields
// the table lacks aside), fields 1..47 in any other mode.
std::size_t appendCsvRecords(Table& t, std::string_view bytes, int layoutMode)
{
    CsvBackupReader reader(bytes);
    const int lastField = layoutMode == 1 || layoutMode == 2 ? t.FieldCount() : kStandardFieldCount;
    std::vector<std::optional<SjisString>> values(std::size_t(t.FieldCount()));
    std::size_t refused = 0;
    while (reader.next()) {
        csvRecordValues(reader, lastField, values);
        refused += !appendOrRefuse(t, values);
    }
    return refused;
}

std::size_t appendTxtRecords(Table& t, std::string_view bytes, const Widths& widths)
{
    TxtBackupReader reader(bytes, widths);
    std::vector<std::optional<SjisString>> values(std::size_t(t.FieldCount()));
    std::size_t refused = 0;
    while (reader.next()) {
        for (std::size_t i = 0; i < reader.values().size(); ++i)
            values[i] = SjisString(reader.values()[i]);
        refused += !appendOrRefuse(t, values);
    }
    return refused;
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
// record; the view is rebuilt once at the end. Returns the refused count.
template <class Append>
std::size_t replaceRecords(RecordBook& book, bool adding, Append append)
{
    Table& t = book.records();
    t.CheckBrowseMode();
    std::size_t refused = 0;
    {
        const RecordBook::BulkRestore restoring(book);
        const bool emptyAll = !adding && !t.Filtered();
        Table::Bulk bulk(t, emptyAll ? Table::Bulk::Mode::ReplaceAll : Table::Bulk::Mode::Append);
        {
            const QSignalBlocker quiet(t);
            if (!adding && !emptyAll)
                deleteShownRecords(t);
            refused = append(t);
        }
        bulk.commit();
    }
    t.First();
    return refused;
}

}  // namespace

bool writeCsvBackup(RecordBook& book, const WidthSet& set, const QString& path, bool fromCurrent,
                    const std::function<bool(const QString&)>& ask)
{
    Table& t = book.records();
    t.CheckBrowseMode();
    const int mode = book.settings().RecordLayoutMode;
    const std::vector<int> fields = csvLineFields(set, mode);
    const std::vector<int> at = fieldIndexes(t);
    const bool addressBook = set.isAddressBook();
    const auto postalIndex =
        set.postalMode != 0 ? postal::kenAllIndex(resolveFile(book.dataDirectory(), QStringLiteral("KEN_ALL.CSV")))
                            : nullptr;

    BackupFileWriter file(path);
    file.buffer() += csvMarkerLine(mode);
    const int count = t.RecordCount();
    SjisString lastReading, address, code;
    CommaValues commas;
    std::vector<std::string_view> values(fields.size());
    for (int position = fromCurrent ? std::max(t.currentPosition(), 0) : 0; position < count; ++position) {
        const std::vector<SjisString> row = t.rowValues(position);
        auto value = [&](int no) { return at[std::size_t(no)] < 0 ? std::string_view() : row[std::size_t(at[std::size_t(no)])]; };
        const std::string_view reading = value(1);
        if (addressBook) {
            if (reading == lastReading)
                continue;
            lastReading = reading;
        }
        address = value(kAddressField);
        code.clear();
        if (postalIndex)
            code = lookUpPostalCode(*postalIndex, address, set.postalMode);
        for (std::size_t i = 0; i < fields.size(); ++i)
            values[i] = fields[i] == kAddressField ? std::string_view(address) : value(fields[i]);
        commas.note(values, reading);
        appendCsvLine(file.buffer(), values, addressBook,
                      set.postalMode != 0 ? std::optional<std::string_view>(code) : std::nullopt);
        file.flushIfFull();
    }
    if (count > 0)
        t.Last();
    if (commas.count() > 0 && !ask(commas.question()))
        return false;
    file.commit();
    return true;
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
    std::size_t refused = 0;
    if (isCsvExtension(path.extension)) {
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".CSV")));
        if (!mayRestore(checkCsvBackup(bytes), !adding, steps))
            return;
        const int mode = book.settings().RecordLayoutMode;
        refused = replaceRecords(book, adding, [&](Table& t) { return appendCsvRecords(t, bytes, mode); });
    } else {
        Widths widths{};
        const QString widthFile = path.sibling(QStringLiteral(".TIF"));
        if (const std::optional<LineListFile> tif = LineListFile::read(widthFile)) {
            widths = tifWidths(*tif);
        } else {
            const std::optional<WidthSet> set = steps.chooseWidthSet(QStringLiteral("リストア方法を指定してください。"));
            if (!set)
                return;
            widths = set->widths;
        }
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".TXT")));
        if (!mayRestore(checkTxtBackup(bytes, widths), !adding, steps))
            return;
        refused = replaceRecords(book, adding, [&](Table& t) { return appendTxtRecords(t, bytes, widths); });
    }
    if (refused > 0)
        steps.inform(refusedRecordsMessage(refused));
}
