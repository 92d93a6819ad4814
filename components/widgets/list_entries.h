// Entries of list boxes and combo boxes as CP932 bytes. Each item shows
// its entry decoded and keeps the entry's bytes beside that text
// (Qt::UserRole), so an entry read from a file goes back out exactly as it
// came in, duplicates (NEC and IBM rows) and bytes that are no character
// included. Nothing here re-encodes an entry's text.
#pragma once

#include "components/core/cp932.h"

#include <vector>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QWidget;

// The entries of a QListWidget or QComboBox, and replacing them (a combo
// box keeps the text it shows). Other widgets have none.
std::vector<SjisString> listEntries(const QWidget* box);
void setListEntries(QWidget* box, const std::vector<SjisString>& entries);
void addListEntry(QWidget* box, const SjisString& entry);

// One item's entry. An item added without bytes (addItem with a text)
// stands for its text encoded: TextEncodingError for a character CP932
// cannot hold.
SjisString listEntry(const QListWidgetItem* item);
SjisString listEntry(const QComboBox* box, int index);

// The text of an editable combo box as bytes: the bytes the program set
// (setComboText) while the box still shows them, else the entry the text
// is (the current item first), else the text as an edit (sjis::encodeEdit)
// of the bytes it started from: those the program set, or the current
// item's; with neither, the text encoded. TextEncodingError for a typed
// character CP932 cannot hold.
SjisString comboText(const QComboBox* box);
// Shows bytes as the text of an editable combo box; comboText gives them
// back until the user chooses an item.
void setComboText(QComboBox* box, const SjisString& text);
