// The vehicle specification of a type designation and classification
// number, found in the code files that CodeFile.INI lists.
//
// A code-file line describes one vehicle type in up to three variants
// (0, 1, 2); a variant's value for a field stands in the field's base
// column plus the variant. Column 15 holds the designation number, columns
// 6 to 8 the classification numbers of the variants: one value, two joined
// by "，", or a range joined by "～".
#pragma once

#include "components/core/cp932.h"
#include "components/formats/lookup_settings.h"

#include <QString>
#include <functional>
#include <string_view>
#include <vector>

namespace speccode {

// A line of CodeType.INI: body-shape code before the first comma, its name
// after it.
using CodeType = BodyShapeCode;

// A code-file line split at every "," (quotes mean nothing), at most 100
// columns.
std::vector<std::string_view> codeColumns(std::string_view line);

// The first variant whose classification column holds `classification`
// (half-width), or -1.
int classificationVariant(const std::vector<std::string_view>& columns, std::string_view classification);

// One value for a field of the record; an empty value is not written.
struct SpecValue {
    const char* field;  // UTF-8 field name
    SjisString value;
};

// The values of variant `variant` in the order they are written. Values
// that differ between the classifications of a range (variant 0 of a line
// without a second classification column, whose variant-1 column is set)
// and weights given as a range are left empty.
std::vector<SpecValue> specificationValues(const std::vector<std::string_view>& columns, int variant,
                                           const std::vector<CodeType>& types);

enum CodeCheckResult { NothingFound = 0, Filled = 1, MissingCodeFile = 2 };

struct CodeCheckOutcome {
    int result = NothingFound;
    std::vector<SpecValue> values;
};

// Searches the code files in order for the typed designation and
// classification numbers (as typed, any width). A line of the designation
// whose classification matches no variant is taken as variant 0 when
// `loadOtherClassification` says so, else passed over. A file that does not
// exist ends the search with MissingCodeFile. Throws FileError when a file
// cannot be read.
CodeCheckOutcome searchCodeFiles(const SjisString& designation, const SjisString& classification,
                                 const std::vector<QString>& files, const std::vector<CodeType>& types,
                                 const std::function<bool()>& loadOtherClassification);

}  // namespace speccode
