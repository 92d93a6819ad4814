// The filter dialog: one or two rows of a field with a from text and a to
// text. The dialog keeps its texts between showings, so the next filter
// starts from the last one until the filter is cleared.
#pragma once

#include "components/core/cp932.h"
#include "record_book/model/record_query.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TFilterDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFilterDlg(QWidget* parent = nullptr);

    QLabel* Label1;  // "フィルタ項目"
    QLabel* Label2;  // "フィルタ内容"
    QComboBox* FilterComboBox;
    QComboBox* FilterFromEdit;
    QComboBox* FilterToEdit;
    QLabel* Label5;  // "追加"
    QComboBox* FilterPComboBox;
    QComboBox* FilterPFromEdit;
    QComboBox* FilterPToEdit;
    QPushButton* OKBtn;

    QString Directory;  // where Filter.INI was read: the current one at creation

    // The rows as typed; TextEncodingError for text CP932 cannot hold.
    FilterRow firstRow() const;
    FilterRow secondRow() const;
    // OK with a from text in the first row.
    bool answered() const;
    // Both field boxes show the first field, the four value boxes are empty.
    void reset();

    void FormCreate();
    void FilterComboBoxChange();
    void FilterPComboBoxChange();
    void FilterFromEditDblClick();
    void FilterToEditDblClick();
    void FilterPFromEditDblClick();
    void FilterPToEditDblClick();
    void FilterFromEditExit();
    void FilterToEditExit();
    void FilterPFromEditExit();
    void FilterPToEditExit();
    void OKBtnClick();
};

extern TFilterDlg* FilterDlg;
