// The sort dialog: the field whose index orders the records.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TSortDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSortDlg(QWidget* parent = nullptr);

    QLabel* Label1;  // "ソート項目"
    QComboBox* SortComboBox;
    QPushButton* OKBtn;

    QString Directory;  // where Sort.INI was read: the current one at creation

    SjisString fieldName() const;  // TextEncodingError for text CP932 cannot hold
    // The field box shows its first item.
    void showFirstField();

    void FormCreate();
    void OKBtnClick();
};

extern TSortDlg* SortDlg;
