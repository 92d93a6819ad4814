// The column chooser of the CSV import: the user lists, in column order,
// the fields of a file that has no name line. The lists keep their
// contents from one import to the next while the program runs.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class TDualListChooser;

class TRestorePatDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRestorePatDlg(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;  // "リストア順序"
    TDualListChooser* Chooser;
    QLabel* Label2;         // "リストアしない項目"
    QLabel* Label3;         // "リストアする項目"
    QListWidget* ListBox1;  // fields not imported: at first every field of the record table
    QListWidget* ListBox2;  // the fields of the columns, in order
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The items of ListBox2, in order.
    std::vector<SjisString> chosenFields() const;
};
