// The backup files of the record table, written and read by both programs:
// - CSV: no quoting and no escaping, CR LF line ends; in layout modes 1 and
//   2 a marker line "1" or "2" first; then one line per record. A value is
//   written byte for byte, so one holding "," cannot be read back.
// - Fixed-width TXT: for each record, each of fields 1..47 whose width is
//   not 0 in exactly that many bytes, padded with spaces; no separators.
//   Its widths lie beside it in a TIF file, one number per line.
// - The file-name rules both programs follow, and the check a restore makes
//   of a whole file before it changes anything.
// Values are CP932 bytes; the readers give views into the file's bytes.
#pragma once

#include "components/core/cp932.h"
#include "components/core/era_date.h"
#include "components/core/record_fields.h"
#include "components/formats/settings_file.h"
#include "components/formats/width_set.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace postal {
class KenAllIndex;
}

namespace backup {

using Widths = std::array<int, kStandardFieldCount>;

// ---- CSV --------------------------------------------------------------------------------

// The record field number (from 1) of value `index` (from 0) of a record
// of `valueCount` values: 47 or 56 values are fields in order, 48 are
// fields 1..47 and メモ.
int csvValueField(int valueCount, int index);

// The marker line that opens a backup in `layoutMode`: "1" or "2" and
// CR LF in modes 1 and 2, nothing otherwise.
std::string_view csvMarkerLine(int layoutMode);

// The record field numbers a backup line of `set` carries in `layoutMode`,
// in order: fields 1..47 of non-zero width, then, unless the set is an
// address book, fields 48..56 in mode 1 or メモ in mode 2.
std::vector<int> csvLineFields(const WidthSet& set, int layoutMode);

// Appends one record line with CR LF. An ordinary line puts "," before
// every value and ends with "," and the postal code (nothing when there is
// no postal-code column, or no code). An address-book line puts "," before
// a value only when the line is not empty so far, and ends with "," and the
// code only when there is a postal-code column.
void appendCsvLine(SjisString& out, const std::vector<std::string_view>& values, bool addressBook,
                   std::optional<std::string_view> postalCode);

// The postal code of `address` as PostRead finds it: the code, or empty.
// When the look-up found the prefecture the address lacks, it is put
// before `address`.
SjisString lookUpPostalCode(const postal::KenAllIndex& index, SjisString& address, int mode);

// A CSV backup read as the restores read it. The header is the bytes up to
// and including the first ","; the last "1" or "2" among them is the
// marker. Then every "," closes a value; after the record's last value the
// bytes up to the next "," (the postal code and the line end) belong to no
// value. Values are taken as they stand. A last record that the file ends
// before completing is not given.
class CsvBackupReader {
public:
    explicit CsvBackupReader(std::string_view bytes);

    bool hasComma() const { return headerEnd_ != std::string_view::npos; }
    std::string_view header() const;
    int valueCount() const { return valueCount_; }

    // Reads the next complete record; false at the end.
    bool next();
    // The record's values, csvValueField() telling their fields.
    const std::vector<std::string_view>& values() const { return values_; }
    // The bytes after the record's last value up to the next "," or the end.
    std::string_view rest() const { return rest_; }
    // The bytes of an incomplete last record, once next() gave false.
    std::string_view incomplete() const { return incomplete_; }
    // Line (from 1) on which the current record's rest starts.
    std::size_t line() const { return line_; }

private:
    std::string_view bytes_;
    std::size_t headerEnd_;
    std::size_t pos_ = 0;
    std::size_t linePos_ = 0;  // bytes before it are counted in line_
    std::size_t line_ = 1;
    int valueCount_ = kStandardFieldCount;
    std::vector<std::string_view> values_;
    std::string_view rest_, incomplete_;
};

// The values a restore appends for the reader's current record, by field
// number - 1 in `values`: each value in its field (csvValueField), values
// of fields past `lastField` left out, every other field empty.
void csvRecordValues(const CsvBackupReader& reader, int lastField, std::vector<std::optional<SjisString>>& values);

// ---- fixed-width TXT and its TIF ----------------------------------------------------

// Appends one record: each field of non-zero width as exactly that many
// bytes, the value then spaces. A longer value is cut at the last whole
// character that fits and padded (outside an address book the writer
// widens first: widenToFit). An address-book record ends with 0x0D 0x0C.
void appendTxtRecord(SjisString& out, const std::array<std::string_view, kStandardFieldCount>& values,
                     const Widths& widths, bool addressBook);
// Grows each width to the length of its value where the value is longer;
// true when one grew.
bool widenToFit(Widths& widths, const std::array<std::string_view, kStandardFieldCount>& values);

// The TIF file of widths: 47 lines, one per field; a negative width is 0.
LineListFile tifFile(const Widths& widths);
// The widths of a TIF file: its first 47 lines as numbers, missing lines 0.
Widths tifWidths(const LineListFile& file);

// A fixed-width backup read as the restores read it: each record's fields
// of non-zero width in turn, a value without the spaces and control bytes
// at its ends. Bytes left after the last whole record are not given. Widths
// with a negative one, or all 0, give no record.
class TxtBackupReader {
public:
    TxtBackupReader(std::string_view bytes, const Widths& widths);

    bool next();
    // Values of fields 1..47; fields of width 0 are empty.
    const std::array<std::string_view, kStandardFieldCount>& values() const { return values_; }
    // Bytes after the last whole record.
    std::size_t leftover() const;

private:
    std::string_view bytes_;
    Widths widths_;
    std::size_t recordSize_ = 0;
    std::size_t pos_ = 0;
    std::array<std::string_view, kStandardFieldCount> values_{};
};

// ---- the check before a restore -------------------------------------------------------

struct BackupFinding {
    enum class Kind {
        NoComma,           // a non-empty CSV file without a single ","
        Header,            // the CSV file does not open with a record line or a marker line
        RecordEnd,         // a record's last value is not followed by a postal code and a line end
        IncompleteRecord,  // the file ends inside a record
        NotText,           // a line (CSV) or record (fixed width) holds bytes that are no CP932 text
        NegativeWidth,     // fixed width: a width below 0
        NoWidth,           // fixed width: every width 0
    };
    Kind kind;
    std::size_t line = 0;    // CSV: the line it is seen on (from 1)
    std::size_t record = 0;  // fixed width, and CSV's RecordEnd: the record it concerns (from 1)
    std::size_t bytes = 0;   // IncompleteRecord: the bytes left over
    int field = 0;           // NegativeWidth: the record field (from 1)

    // The restore stops with a message and changes nothing.
    bool stopsRestore() const { return kind == Kind::NoComma || kind == Kind::NegativeWidth || kind == Kind::NoWidth; }
};

struct BackupCheck {
    std::size_t records = 0;  // complete records the restore reads
    std::vector<BackupFinding> findings;

    // The first finding that stops the restore, or nothing.
    const BackupFinding* stop() const;
};

// An empty file, or one holding only a marker line, is a valid backup of
// no records.
BackupCheck checkCsvBackup(std::string_view bytes);
BackupCheck checkTxtBackup(std::string_view bytes, const Widths& widths);

// What the restores tell the user: the message that stops a restore, and
// the question asked before a file with findings replaces anything, listing
// at most `listed` of them.
QString restoreStopMessage(const BackupFinding& finding);
QString findingsQuestion(const BackupCheck& check, std::size_t listed = 10);
// The question before a backup of no records empties the table.
QString emptyBackupQuestion();
// The records a restore gave the table and those it refused, with the
// first refused record (from 1) and the table's reason.
struct RestoreRefusals {
    std::size_t records = 0;
    std::size_t refused = 0;
    std::size_t firstRecord = 0;
    QString reason;

    void refuse(const QString& why);
    bool all() const { return refused > 0 && refused == records; }
};
// The message after a restore whose every record the table refused: it was
// rolled back. The question before one that some refused is committed.
QString allRefusedMessage(const RestoreRefusals& refusals);
QString someRefusedQuestion(const RestoreRefusals& refusals);
// The question before a backup holding values with "," is put in place,
// naming the first readings of their records.
QString commaValuesQuestion(std::size_t values, const std::vector<SjisString>& readings);

// The comma-holding values of a backup: how many, and the readings of the
// first records that hold them.
class CommaValues {
public:
    void note(const std::vector<std::string_view>& values, std::string_view reading);
    std::size_t count() const { return count_; }
    // The question before the backup is kept; nothing to ask without values.
    QString question() const { return commaValuesQuestion(count_, readings_); }

private:
    std::size_t count_ = 0;
    std::vector<SjisString> readings_;
};

// What the user is shown and asked by a backup or a restore, so that the
// commands run without a window.
struct BackupSteps {
    // The width-set chooser with its instruction; nothing when cancelled.
    std::function<std::optional<WidthSet>(const QString& instruction)> chooseWidthSet;
    // The save dialog offering `fileName` in `folder`; the chosen path.
    std::function<std::optional<QString>(const QString& folder, const QString& fileName)> chooseBackupFile;
    // The open dialog in `folder`; the chosen path.
    std::function<std::optional<QString>(const QString& folder)> chooseRestoreFile;
    // A question; true for Yes. No is the default answer.
    std::function<bool(const QString& question)> ask;
    std::function<void(const QString& text)> showError;
    std::function<void(const QString& text)> inform;
};

// The checked file may replace the records: nothing stops it (else the
// stop message is shown), the user agreed to its findings, and, when it
// replaces them, to emptying the table with a backup of no records.
bool mayRestore(const BackupCheck& check, bool replacing, const BackupSteps& steps);

// ---- files ------------------------------------------------------------------------

// The whole file. Throws FileError naming it when it cannot be read.
std::string readBackupFile(const QString& path);

// A backup file, a SavedFile written in large pieces. Throws FileError
// naming the file and saying why it failed.
class BackupFileWriter {
public:
    explicit BackupFileWriter(const QString& path);
    BackupFileWriter(const BackupFileWriter&) = delete;
    BackupFileWriter& operator=(const BackupFileWriter&) = delete;

    // What is appended here goes to the file once it grows large, and at
    // the latest on commit().
    SjisString& buffer() { return buffer_; }
    void flushIfFull();
    // Writes what is buffered: only commit() remains, so that several files
    // are complete before the first is put in place.
    void flush();
    void commit();

private:
    SavedFile file_;
    SjisString buffer_;
};

// ---- file names ---------------------------------------------------------------------

// A chosen path as the backups read it: the folder (with its separator),
// the file name without its extension, and the extension with its dot.
struct BackupPath {
    QString folder;
    QString baseName;
    QString extension;

    static BackupPath split(const QString& path);
    // The file of the same base name with `extension` in the folder, in
    // whatever case it exists there (as given when it does not).
    QString sibling(const QString& extension) const;
};

bool isAddressBookName(const QString& baseName);  // "住所録": an address book, never restored
bool isAppendingName(const QString& baseName);    // "追加": the backup starts at the current record
bool isSplitName(const QString& baseName);        // "分割": the restore adds to the records
// Exactly ".CSV" or ".csv": any other extension is a fixed-width file.
bool isCsvExtension(const QString& extension);

// The offered base name: "住所録" for an address book, else prefix, the
// date in `datePattern` (ASCII digits) and suffix.
QString defaultBackupName(bool addressBook, const SjisString& prefix, const SjisString& suffix, QDate date,
                          std::string_view datePattern = kEraDatePattern);

// The widths of a fixed-width restore: the TIF file beside it, else those
// of the width set the user chooses; nothing when the choice is cancelled.
std::optional<Widths> restoreWidths(const BackupPath& path, const BackupSteps& steps);

}  // namespace backup
