// The files shared with the print program, all in the data directory.
//
// PrintName.INI, the print patterns' names and numbers, a pair of lines per
// pattern; pair k belongs to the menu item Print<k+1>:
//
//   line    | meaning                                    | default
//   --------+--------------------------------------------+--------------
//   2k - 1  | name of pattern pair k                     | (no file: no
//   2k      | its pattern number (readNumber)            |  pairs)
//
//   The last pair is the new pattern's: its name is "新規追加" and its
//   number the one a new pattern is to get. Empty lines at the end of the
//   file add no pair, and a file without a line counts as a missing one.
//   A last line without a partner is a pair with an empty number.
//
// Pelmora.INI, the hand-off the print program reads when it starts:
//
//   line | content
//   -----+-------------------------------------------------------------
//   1    | name of the record table's active index; empty in key order
//   2    | the record table's filter when it is filtered; else empty
//   3    | the current record's number as the window shows it
//   4    | the print pattern number, decimal
//   5    | "印刷" (print) or "設定" (open the pattern's settings)
//
// User.INI, the own company's lines that the content codes "自住所" to
// "自社情報追加３" print:
//
//   line | content                               | default
//   -----+---------------------------------------+--------
//   1..7 | address, company name, name with its  | empty
//        | suffix, telephone, three extra lines  |
//
//   Lines after the seventh are ignored.
//
// A value that would hold a line break, or (in the hand-off) bytes that are
// no CP932 character, is refused with PrintFileRefusal before anything is
// written: the print program reads these files by line.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

// The print program of the data directory, whatever the case of its name:
// its path, or empty when there is none.
QString findPrintProgram(const QString& dataDir);
// The print program's working folder "Pelmora" of the data directory (any
// case), or empty when there is none.
QString findPrintFolder(const QString& dataDir);

// A value the print program could not read back as one line.
class PrintFileRefusal : public std::runtime_error {
public:
    explicit PrintFileRefusal(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

// ---- PrintName.INI

// The name of the last pair: the pattern a new layout gets.
SjisString newPatternName();

struct PrintName {
    SjisString name;
    SjisString number;  // as the file holds it
    bool operator==(const PrintName&) const = default;

    int pattern() const { return readNumber(number); }
};

struct PrintNameList {
    std::vector<PrintName> pairs;  // in file order

    // The pattern of menu item Print<item> (pair item - 1), 0 past the end.
    int patternOfItem(int item) const;
    // The caption name of menu item Print<item>: the pair's name, or
    // nothing when the item gets no caption (past the pairs, the last
    // pair, an empty name or the new pattern's name).
    std::optional<SjisString> itemName(int item) const;
    // The order dialog's OK: the last pair becomes the new pattern's, named
    // newPatternName(). It keeps its number when that is 2 or more and no
    // other pair has it; otherwise it gets one more than the highest other
    // number (at least 2): pattern 1 is the vehicle certificate, and a
    // number in use would hand the next new layout an existing pattern's
    // rows. Without pairs it becomes the only pair.
    void settleNewPattern();
};

PrintNameList printNamesFromLines(const LineListFile& file);
LineListFile printNamesLines(const PrintNameList& names);
// Nothing when the file is missing or holds no line.
std::optional<PrintNameList> readPrintNames(const QString& dataDir);
void writePrintNames(const QString& dataDir, const PrintNameList& names);

// ---- Pelmora.INI

enum class PrintMode { Print, Settings };

struct PrintHandOff {
    SjisString indexName;      // line 1
    SjisString filter;         // line 2
    SjisString currentRecord;  // line 3
    int pattern = 0;
    PrintMode mode = PrintMode::Print;
};

// Throws PrintFileRefusal for a line 1 to 3 that holds a line break or
// bytes that are no CP932 character.
LineListFile handOffLines(const PrintHandOff& handOff);
// Rewrites Pelmora.INI atomically. Throws PrintFileRefusal (nothing is
// written) or FileError.
void writeHandOff(const QString& dataDir, const PrintHandOff& handOff);

// ---- User.INI

constexpr int kOwnCompanyLineCount = 7;

struct OwnCompany {
    std::array<SjisString, kOwnCompanyLineCount> lines;
    bool operator==(const OwnCompany&) const = default;
};

OwnCompany ownCompanyFromLines(const LineListFile& file);
// Throws PrintFileRefusal for a line that holds a line break.
LineListFile ownCompanyLines(const OwnCompany& company);
std::optional<OwnCompany> readOwnCompany(const QString& dir);
void writeOwnCompany(const QString& dir, const OwnCompany& company);
