// The texts behind finding, filtering, sorting and copying records: the
// field lists the dialogs offer and the filter expression they build.
#pragma once

#include "components/core/cp932.h"

#include <string_view>
#include <vector>

// The entries the copy dialog offers at first, in order. Three more names
// of the list-print chooser ("重量", "車両重量又は総重量", "用途及び重量")
// name no field, so they are not offered; see copiesNothing.
std::vector<SjisString> copyEntries();

// True for a copy entry that names no field of the record table; copying
// skips it.
bool copiesNothing(std::string_view entry);

// Text in single quotes, each quote inside doubled.
SjisString quoted(std::string_view text);

// One row of the filter dialog: a field, a from text and a to text.
struct FilterRow {
    SjisString field;
    SjisString from;
    SjisString to;
};

// The filter expression of one or two rows, byte for byte as the record
// book has always written it:
//   (F = 'A*')                                    without a to text
//   (F >= 'A') and  ((F <= 'B') or (F = 'B*'))    with one (two blanks after "and")
// A second row with a from text is joined by " and "; one without adds
// nothing. Empty when the first row has no from text.
SjisString filterExpression(const FilterRow& first, const FilterRow& second = {});
