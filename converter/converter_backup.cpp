#include "converter/converter_backup.h"

#include "components/core/data_directory.h"
#include "components/core/era_date.h"
#include "components/core/record_fields.h"
#include "components/formats/backup_table.h"
#include "converter/old_data_import.h"
#include "platform/clock.h"

#include <QSignalBlocker>
#include <algorithm>
#include <climits>

using namespace backup;

namespace {

// The byte length of the longest value of each of fields 1..47 (integers
// as their decimal text, as the table gives them), in one pass of the
// database over the whole table.
Widths widestValues(Table& t)
{
    std::string columns;
    for (int no = 1; no <= kStandardFieldCount; ++no) {
        const char* name = recordField(no).name;
        columns += no > 1 ? ", " : "";
        columns += t.FieldIndex(name) < 0 ? std::string("0")
                                          : "coalesce(max(length(CAST(" + quoteIdentifier(name) + " AS BLOB))), 0)";
    }
    Statement s = t.database().prepare("SELECT " + columns + " FROM " + quoteIdentifier(t.TableName()));
    Widths widest{};
    if (s.step())
        for (int i = 0; i < kStandardFieldCount; ++i)
            widest[std::size_t(i)] = int(std::min<long long>(s.columnInt(i), INT_MAX));
    return widest;
}

// The widths of a backup: a negative width counts as 0, and a width grows
// to the longest value of its field.
Widths grownWidths(Widths widths, const Widths& widest)
{
    for (std::size_t i = 0; i < widths.size(); ++i)
        widths[i] = std::max({widths[i], 0, widest[i]});
    return widths;
}

// The grown widths, in the chosen row: one post for all of them. A negative
// width that stayed 0 is left as it was.
void storeWidths(Table& widthSets, const Widths& before, const Widths& after)
{
    std::vector<std::size_t> grown;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] > std::max(before[i], 0))
            grown.push_back(i);
    if (grown.empty())
        return;
    widthSets.Edit();
    for (std::size_t i : grown)
        widthSets.FieldByName(recordField(int(i) + 1).name).SetAsInteger(after[i]);
    widthSets.Post();
}

// Puts `first` and then `second` in place; a failure of the second names
// both, since the first is already replaced.
void commitPair(BackupFileWriter& first, const QString& firstPath, BackupFileWriter& second, const QString& secondPath)
{
    first.flush();
    second.flush();
    first.commit();
    try {
        second.commit();
    } catch (const FileError& e) {
        throw FileError(QStringLiteral("%1 は書き込みましたが、%2 を置き換えられませんでした。\r"
                                       "この二つのファイルは組になっていません。\r%3")
                            .arg(firstPath, secondPath, e.message()));
    }
}

// Appends every record `next` gives after emptying the table, in one
// transaction; the first refused record rolls everything back. Returns the
// message naming that record, or nothing when all landed.
template <class Next>
std::optional<QString> replaceAll(Table& t, Next next)
{
    t.CheckBrowseMode();
    const int readingIndex = t.FieldIndex(recordField(1).name);
    std::vector<std::optional<SjisString>> values(std::size_t(t.FieldCount()));
    std::size_t record = 0;
    Table::Bulk bulk(t, Table::Bulk::Mode::ReplaceAll);
    {
        const QSignalBlocker quiet(t);
        while (next(values)) {
            ++record;
            try {
                t.AppendRecord(values);
            } catch (const DbError& e) {
                if (!isRecordRefusal(e))
                    throw;
                const std::optional<SjisString> none;
                const std::optional<SjisString>& reading = readingIndex < 0 ? none : values[std::size_t(readingIndex)];
                return QStringLiteral("%1件目のレコード（%2）を登録できません。\r%3\r"
                                      "リストアを中止しました。データは元のままです。")
                    .arg(record)
                    .arg(reading ? sjis::excerpt(*reading) : QString(), e.message());
            }
        }
    }
    bulk.commit();
    return std::nullopt;
}

}  // namespace

QString converterBackupName(bool addressBook)
{
    // The converter writes the year of the era without a leading zero.
    return defaultBackupName(addressBook, {}, {}, today(), kEraQueryPattern) + QStringLiteral(".CSV");
}

bool writeConverterCsvBackup(Table& records, const WidthSet& set, int layoutMode, const postal::ConverterKenAll* kenAll,
                             const QString& path, const std::function<bool(const QString&)>& ask)
{
    PostalLookUp postalCode;
    if (kenAll)
        postalCode = [&](SjisString& address) {
            postal::PostReadResult found = kenAll->lookup(address, set.postalMode);
            address.insert(0, found.prefecture);
            return found.code;
        };
    return writeCsvBackupOfRows(records, set, layoutMode, false, postalCode, path, ask);
}

void writeConverterTxtBackup(Table& records, Table& widthSets, const WidthSet& set, const BackupPath& path)
{
    const QString txtPath = path.sibling(QStringLiteral(".TXT")), tifPath = path.sibling(QStringLiteral(".TIF"));
    BackupFileWriter tif(tifPath), txt(txtPath);
    const bool addressBook = set.isAddressBook();
    Widths widths;
    int count = 0;
    {
        const Table::Snapshot snapshot(records);
        RecordRows rows(records);
        count = rows.count();
        widths = grownWidths(set.widths, addressBook ? Widths{} : widestValues(records));
        tif.buffer() = tifFile(widths).toBytes();
        for (int position = 0; position < count; ++position) {
            rows.read(position);
            appendTxtRecord(txt.buffer(), rows.standardFields(), widths, addressBook);
            txt.flushIfFull();
        }
    }
    if (count > 0)
        records.Last();
    commitPair(txt, txtPath, tif, tifPath);
    storeWidths(widthSets, set.widths, widths);
}

void backUpConverterRecords(Table& records, Table& widthSets, const ConverterBackupSettings& settings,
                            const BackupSteps& steps)
{
    const std::optional<WidthSet> set = steps.chooseWidthSet(QStringLiteral("バックアップ方法を指定してください。"));
    if (!set)
        return;
    const std::optional<QString> chosen =
        steps.chooseBackupFile(settings.iniDirFolder, converterBackupName(set->isAddressBook()));
    if (!chosen)
        return;
    const BackupPath path = BackupPath::split(*chosen);
    if (!isCsvExtension(path.extension)) {
        writeConverterTxtBackup(records, widthSets, *set, path);
        return;
    }
    std::unique_ptr<postal::ConverterKenAll> kenAll;
    if (set->postalMode != 0)
        kenAll = postal::ConverterKenAll::read(resolveFile(settings.dataDirectory, QStringLiteral("KEN_ALL.CSV")));
    writeConverterCsvBackup(records, *set, settings.layoutMode, kenAll.get(), path.sibling(QStringLiteral(".CSV")),
                            steps.ask);
}

std::optional<int> restoreConverterRecords(Table& records, const ConverterBackupSettings& settings,
                                           const BackupSteps& steps)
{
    const std::optional<QString> chosen = steps.chooseRestoreFile(settings.iniDirFolder);
    if (!chosen)
        return std::nullopt;
    const BackupPath path = BackupPath::split(*chosen);
    if (isAddressBookName(path.baseName)) {
        steps.showError(QStringLiteral("住所録はリストアできません！"));
        return std::nullopt;
    }
    std::optional<QString> refused;
    if (isCsvExtension(path.extension)) {
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".CSV")));
        if (!mayRestore(checkCsvBackup(bytes), true, steps))
            return std::nullopt;
        CsvBackupReader reader(bytes);
        const int lastField = settings.layoutMode == 1 || settings.layoutMode == 2 ? kExtendedFieldCount
                                                                                   : kStandardFieldCount;
        refused = replaceAll(records, [&](std::vector<std::optional<SjisString>>& values) {
            if (!reader.next())
                return false;
            csvRecordValues(reader, lastField, values);
            return true;
        });
    } else {
        const std::optional<Widths> restored = restoreWidths(path, steps);
        if (!restored)
            return std::nullopt;
        const Widths& widths = *restored;
        const std::string bytes = readBackupFile(path.sibling(QStringLiteral(".TXT")));
        if (!mayRestore(checkTxtBackup(bytes, widths), true, steps))
            return std::nullopt;
        TxtBackupReader reader(bytes, widths);
        refused = replaceAll(records, [&](std::vector<std::optional<SjisString>>& values) {
            if (!reader.next())
                return false;
            std::fill(values.begin(), values.end(), std::nullopt);
            for (std::size_t i = 0; i < reader.values().size() && i < values.size(); ++i)
                values[i] = SjisString(reader.values()[i]);
            return true;
        });
    }
    if (refused) {
        steps.showError(*refused);
        return std::nullopt;
    }
    return records.RecordCount();
}
