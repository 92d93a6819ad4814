// Settings of the look-ups, in the data directory. The user makes them; the
// programs only read them.
//
// PostData.INI, the columns of the source CSV that rebuild the PostData
// table (counted from 1; column 0 is always empty):
//
//   line | meaning                          | default (KEN_ALL.CSV)
//   -----+----------------------------------+----------------------
//   1    | postal-code column               | 3
//   2    | first address column             | 7
//   3    | second address column            | 8
//   4    | third address column             | 9
//
// CodeFile.INI, the code files searched for a vehicle's specification:
//
//   line | meaning                                        | default
//   -----+------------------------------------------------+-----------
//   n    | path of the n-th code file, bytes as written    | no files
//
// CodeType.INI, the body-shape names of the code files' codes:
//
//   line     | meaning                                      | default
//   ---------+----------------------------------------------+-----------
//   1 .. 100 | code, ",", name (no comma: a code, no name)  | no codes
//   past 100 | not read                                     |
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <array>
#include <vector>

// Columns are read into [0, kMaxPostDataColumn], the cells a line keeps.
constexpr int kMaxPostDataColumn = 50;

struct PostDataColumns {
    std::array<int, 4> columns = {3, 7, 8, 9};  // code, then the three address parts
};

PostDataColumns postDataColumnsFromLines(const LineListFile& file);
LineListFile postDataColumnsLines(const PostDataColumns& columns);
PostDataColumns readPostDataColumns(const QString& dataDir);
void writePostDataColumns(const QString& dataDir, const PostDataColumns& columns);

struct CodeFileList {
    std::vector<SjisString> paths;
};

CodeFileList codeFileListFromLines(const LineListFile& file);
LineListFile codeFileListLines(const CodeFileList& list);
CodeFileList readCodeFileList(const QString& dataDir);
void writeCodeFileList(const QString& dataDir, const CodeFileList& list);

struct BodyShapeCode {
    SjisString code;
    SjisString name;
};

constexpr std::size_t kMaxBodyShapeCodes = 100;

struct BodyShapeCodes {
    std::vector<BodyShapeCode> codes;
};

BodyShapeCodes bodyShapeCodesFromLines(const LineListFile& file);
LineListFile bodyShapeCodesLines(const BodyShapeCodes& codes);
BodyShapeCodes readBodyShapeCodes(const QString& dataDir);  // CodeType.INI
void writeBodyShapeCodes(const QString& dataDir, const BodyShapeCodes& codes);
