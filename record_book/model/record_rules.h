// Rules that every save and browse of the record table follows.
#pragma once

#include "components/core/cp932.h"
#include "components/core/schema.h"

#include <map>
#include <utility>
#include <vector>

class Table;

// Kana row of a reading by its first two bytes: 0 あ行 … 9 わ行. Text that
// begins below the hiragana block falls into row 0, text above it (katakana,
// kanji) into row 9. Tab 10 is the add tab of a new record.
int KanaRowIndex(std::string_view reading);
inline constexpr int kAddTab = 10;

// The fields of the specification table, in its physical order: the
// schema's table "code". The last (カテゴリ) is learned only under layout
// mode 1.
const std::vector<FieldDef>& specificationFields();

// Teaches the specification table the vehicle specification of the record
// being posted: appends a new type, or, when the type is already there,
// raises each stored value that the record's value sorts after. Only when
// both codes are non-empty and the layout mode is 0, 1 or 2.
void learnSpecification(Table& record, Table& specification, int layoutMode);

// The same learning for the saves of one run that nothing else writes the
// specification table during (a restore, in its transaction): the stored
// values of each type met are kept, so a save of a known type reads
// nothing, and the table is written only when a value grows.
class SpecificationLearning {
public:
    SpecificationLearning(Table& specification, int layoutMode)
        : specification_(specification), layoutMode_(layoutMode)
    {
    }
    void learn(Table& record);

private:
    std::vector<SjisString> storedValues(int count) const;

    Table& specification_;
    int layoutMode_;
    std::map<std::pair<SjisString, SjisString>, std::vector<SjisString>> known_;
};
