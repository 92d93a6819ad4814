// The find dialog: the field to search and the text to find in it. Its
// answer (the two boxes and the result of its last showing) serves find,
// find next and find previous alike, so it lives as long as the program.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TFindDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFindDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QComboBox* FindComboBox;  // field names
    QLabel* Label2;
    QComboBox* FindEdit;  // the text to find
    QPushButton* OKBtn;

    // The directory Find.INI was read from: the current one at creation.
    QString Directory;

    // The field and the text of the last answer, and whether it was OK
    // with a text to find.
    SjisString fieldName() const;
    SjisString findText() const;
    bool answered() const;

    void FormCreate();
    void FindComboBoxChange();
    void FindEditDblClick();
    void FindEditExit();
    void OKBtnClick();
};

extern TFindDlg* FindDlg;
