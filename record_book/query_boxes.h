// The boxes of the find and filter dialogs: field boxes that offer field
// names, and value boxes that offer the main window's choices for the
// chosen field and take era dates from the date dialog or "$DATE".
#pragma once

#include "components/core/cp932.h"
#include "components/widgets/list_entries.h"

#include <QString>
#include <initializer_list>

class QComboBox;
class QWidget;

// An editable combo box of field names whose list opens as the user types,
// without completing the text.
QComboBox* makeFieldBox(QWidget* parent, const char* objectName);
// An editable combo box for a value, input method on.
QComboBox* makeValueBox(QWidget* parent, const char* objectName);

// The field names of Find.INI, Filter.INI or Sort.INI become the items of
// the boxes, each keeping its bytes. Each box shows its first item. A box's
// text as bytes is comboText (components/list_entries.h).
void showFieldList(const std::vector<SjisString>& names, std::initializer_list<QComboBox*> boxes);

// True when the text of every box can be stored; otherwise the standard
// refusal warning (components/typed_text.h) and the focus go to the first
// box that cannot, and OK keeps the dialog open to mend it.
bool acceptBoxTexts(std::initializer_list<QComboBox*> boxes, QWidget* parent);

// Whether the value boxes of a field come from the main window's choice
// list, and whether the date dialog serves them. The find dialog also
// treats 備考 so; the filter dialog does not.
enum class RemarksRow { Included, Excluded };

// The value box's choices become a copy of those of the main window's
// control for the field; for any other field they are emptied. The box
// keeps its text.
void copyFieldChoices(QComboBox* valueBox, const SjisString& field, RemarksRow remarks);

// A double-click on a value box of a date field: the date dialog opens on
// the date the box's text reads as, and a picked date is written back
// (cut to era, year and month for 初度登録年月, as that field holds it).
void pickValueDate(QComboBox* valueBox, const SjisString& field, RemarksRow remarks);

// Leaving a value box that holds exactly "$DATE": today's era date takes
// its place (era, year and month for 初度登録年月).
void expandDateKeyword(QComboBox* valueBox, const SjisString& field);
