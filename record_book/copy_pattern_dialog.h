// The copy dialog: which fields of the shown record a copy takes into a new
// record, and in which order, kept in Copy.INI.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>
#include <vector>

class Panel;
class QGroupBox;
class QListWidget;
class QPushButton;
class TDualListChooser;

class TCopyPatDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCopyPatDlg(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;  // "複写項目設定"
    TDualListChooser* Chooser;
    QListWidget* ListBox1;  // fields not copied (the chooser's left list)
    QListWidget* ListBox2;  // fields copied, in order (its right list)
    Panel* Panel1;          // the question
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    QString Directory;  // where Copy.INI lives: the current one at creation

    std::vector<SjisString> copiedFields() const;

    void FormCreate();
    void FormShow();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TCopyPatDlg* CopyPatDlg;
