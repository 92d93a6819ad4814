// The display-settings dialog: which fields the list window shows, kept in
// Dsplay.INI. The choice is applied when the list window is created, so a
// change shows at the next run.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>

class QPushButton;
class TDualListChooser;
class TListForm;

class TDspPatDlg : public QDialog {
    Q_OBJECT
public:
    // Applies Dsplay.INI and DsplayLen.INI to the list window's grid.
    explicit TDspPatDlg(TListForm& listForm, QWidget* parent = nullptr);
    ~TDspPatDlg() override;

    TDualListChooser* Chooser = nullptr;  // ListBox1 "表示しない項目", ListBox2 "表示する項目"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QString Directory;  // the current directory at creation

    void FormCreate();
    void OKBtnClick();

private:
    void arrangeGrid(const std::vector<SjisString>& shownItems);

    TListForm& listForm_;
};

extern TDspPatDlg* DspPatDlg;
