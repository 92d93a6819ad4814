// The dual-list chooser of the settings dialogs: the left list holds the
// entries not chosen, the right list the chosen ones in the order they are
// used. Four buttons move entries between and within the lists:
//
// - "＞" (SpeedButton1) moves the left list's selection block to the end of
//   the right list, in its order; "＜" (SpeedButton2) does the same from the
//   right list to the end of the left list. The block is every entry from
//   the first selected one to the last selected one, unselected entries
//   between them included. With nothing selected nothing moves.
// - Up (SpeedButton3) moves the right list's block one place up: the entry
//   just above it ends up just below it, and only the entry at the block's
//   new first place stays selected. Nothing moves when nothing is selected
//   or the block starts at the top.
// - Down (SpeedButton4) likewise one place down; only the entry at the
//   block's new last place stays selected. Nothing moves when nothing is
//   selected or the block ends at the bottom.
//
// Entries keep their CP932 bytes exactly (bytes that are no character
// survive a round trip); they are decoded for display only.
#pragma once

#include "components/core/cp932.h"
#include "components/widgets/list_entries.h"

#include <QListWidget>
#include <QWidget>
#include <vector>

class QLabel;
class QToolButton;

class TDualListChooser : public QWidget {
    Q_OBJECT
public:
    enum class Buttons { MoveOnly, MoveAndOrder };  // MoveOnly: "＞" and "＜" only

    TDualListChooser(const QString& leftCaption, const QString& rightCaption, Buttons buttons = Buttons::MoveAndOrder,
                     QWidget* parent = nullptr);

    std::vector<SjisString> leftEntries() const { return listEntries(ListBox1); }
    std::vector<SjisString> rightEntries() const { return listEntries(ListBox2); }
    void setLeftEntries(const std::vector<SjisString>& entries) { setListEntries(ListBox1, entries); }
    void setRightEntries(const std::vector<SjisString>& entries) { setListEntries(ListBox2, entries); }

    QLabel* Label1;          // above the left list
    QLabel* Label2;          // above the right list
    QListWidget* ListBox1;   // not chosen; multi-select
    QListWidget* ListBox2;   // chosen, in order; multi-select
    QToolButton* SpeedButton1;  // "＞"
    QToolButton* SpeedButton2;  // "＜"
    QToolButton* SpeedButton3;  // up (hidden with MoveOnly)
    QToolButton* SpeedButton4;  // down (hidden with MoveOnly)

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

    static constexpr int kMinimumListWidth = 110;

signals:
    // A button moved entries.
    void changed();

private:
    void fitEntries();
};
