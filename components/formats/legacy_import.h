// The old data files the converter imports (*.JWP, *.DAT): fixed-length
// records without separators, described by a layout file, decoded here into
// record slots indexed by record field number. Nothing here touches the
// database.
//
// Layout file (OldDataLayout, a LineListFile of numbers read by readNumber)
//   line 1      N, the number of entries, 1 to 60 (2 to 60 for a merge file)
//   then N triples, one per entry in the order of its bytes in a record:
//     target    the record field 1-56 the value goes to; 0 and 57-60 read
//               the bytes and store them nowhere; a merge file's first
//               entry is its key and must name a field, 1-56
//     length    bytes, at least 1
//     type      the ConvertLegacyText mode and the extra steps below
// Anything else is a broken layout: the whole file is refused.
//
// ConvType.INI: one pair a line, the old text before the first comma and
// the new one after it (a line without a comma stands for itself); every
// line counts.
//
// Data: records one after another, each the entries' bytes in entry order;
// a merge file's records lack the first entry. Bytes after the last whole
// record are ignored.
//
// Per entry: type 23 replaces the value by its ConvType.INI pair; types 30
// and 31 write a date YYYYMMDD or a year and month YYYYMM as an era date
// (the era of the date from the shared era table); type 0 splits off the
// engine model, classification and designation numbers into fields 10, 12
// and 11. Then the value is converted with the type as mode and appended to
// its target slot; a value that cannot be converted goes, converted with
// mode 1 and followed by CR LF, into slot 42 (備考) instead. Last, types 10
// and 15 put an era in front of the slot (and 日 or 年 after it), 2 appends
// CR LF, 16 月, 17 日, 18 ヶ月.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

enum class OldDataFile { Base, Merge };

struct OldDataEntry {
    int target = 0;
    int length = 0;
    int type = 0;
    bool operator==(const OldDataEntry&) const = default;
};

inline constexpr int kMaxOldDataEntries = 60;
inline constexpr int kMaxOldDataTarget = 60;
inline constexpr int kRemarksSlot = 42;  // 備考
inline constexpr int kPurchaseAmountSlot = 54;  // お買い上げ金額

struct OldDataLayout {
    std::vector<OldDataEntry> entries;

    // The entries a record of the file holds: all, or all but the key.
    std::size_t firstEntry(OldDataFile file) const { return file == OldDataFile::Merge ? 1 : 0; }
    std::size_t recordLength(OldDataFile file) const;
    // The merge key: the first entry's target.
    int keyField() const { return entries.empty() ? 0 : entries.front().target; }
};

// The layout, or nothing when it is broken for that kind of file.
std::optional<OldDataLayout> oldDataLayoutFromLines(const LineListFile& file, OldDataFile kind);

struct ConvTypePair {
    SjisString from;
    SjisString to;
    bool operator==(const ConvTypePair&) const = default;
};
using ConvTypePairs = std::vector<ConvTypePair>;

ConvTypePairs convTypeFromLines(const LineListFile& file);

// Slot 0 is scratch, 1 to 56 are the record's fields, 57 to 60 take values
// that are stored nowhere.
using OldDataRecord = std::array<SjisString, kMaxOldDataTarget + 1>;

// Processes one entry's bytes into the record's slots.
void decodeOldDataEntry(OldDataRecord& record, const OldDataEntry& entry, std::string_view bytes,
                        const ConvTypePairs& pairs);

// Decodes every whole record of `data` and hands each to `onRecord`; a base
// file's slot 54 becomes the decimal text of its number.
void decodeOldData(const OldDataLayout& layout, OldDataFile kind, const ConvTypePairs& pairs, std::string_view data,
                   const std::function<void(const OldDataRecord&)>& onRecord);

// The era text types 30 and 31 make of the digits before conversion:
// "平成17年06月07日" of "20050607", "平成05年06" of "199306"; empty for
// the blank forms.
SjisString oldDataEraDate(std::string_view value, bool withDay);

// The files of one old-data file, read and checked before anything changes.
struct OldDataInput {
    OldDataLayout layout;
    ConvTypePairs pairs;
    QByteArray data;
    std::string_view bytes() const { return {data.constData(), std::size_t(data.size())}; }
};

// ConvType.INI from the data file's folder when it exists; the layout named
// by the data file's base name and ".INI" in that folder, else Brindel.INI
// in the data directory; then the data. Nothing when neither layout exists
// or the layout is broken. Throws FileError for a file that cannot be read.
std::optional<OldDataInput> readOldDataInput(const QString& dataFile, const QString& dataDir, OldDataFile kind);
