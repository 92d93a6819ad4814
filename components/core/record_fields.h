// The record table INDATA: one record per customer vehicle, 56 fields in a
// fixed physical order. The order is also the column order of the backups
// and the slot order of the record buffers, so it must never change.
#pragma once

#include "components/core/cp932.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct RecordField {
    const char* name;  // UTF-8
    bool wholeNumber;  // fields 24 to 30
};

inline constexpr int kStandardFieldCount = 47;  // present in every record table
inline constexpr int kExtendedFieldCount = 56;  // with the extension fields
inline constexpr int kPrimaryKeyFieldCount = 16;

extern const std::array<RecordField, kExtendedFieldCount> kRecordFields;

// Field number `no` (from 1) of the record table.
inline const RecordField& recordField(int no) { return kRecordFields.at(std::size_t(no - 1)); }

// Field number (from 1) of a field name, or 0.
int recordFieldNumber(std::string_view utf8Name);

// The names of the 47 standard fields, CP932, in field order.
std::vector<SjisString> standardFieldNames();

// The primary order: the first 16 field names joined by ";".
std::string recordPrimaryKey();

// Name of the secondary index that sorts by a field: the field name without
// its last two bytes, except 幅 → はば, 自賠責期間自 → 賠責期間自,
// 自賠責期間至 → 賠責期間至. Works on CP932 bytes.
SjisString indexNameOf(std::string_view fieldName);
// The same for a UTF-8 name.
std::string indexNameOfUtf8(std::string_view utf8Name);
