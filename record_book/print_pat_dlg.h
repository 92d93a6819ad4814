// The list print's settings dialog: which records, the text list of chosen
// columns or the window's image, the list's font, and its title and date
// lines. Kept in Print.INI and PrintPat.INI of the directory current when
// the dialog was last shown; written only by OK.
#pragma once

#include "components/formats/print_settings.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;
class TDualListChooser;

class TPrintPatDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPrintPatDlg(QWidget* parent = nullptr);
    ~TPrintPatDlg() override;

    QGroupBox* RadioGroup1 = nullptr;  // "出力件数": 0 the current record, 1 every record
    QGroupBox* RadioGroup2 = nullptr;  // "出力方法": 0 the chosen columns, 1 the window's image
    QLabel* Label1 = nullptr;
    QSpinBox* Edit1 = nullptr;  // records per job, with its up-down buttons (UpDown1)
    QLabel* Label4 = nullptr;
    QSpinBox* Edit2 = nullptr;  // separator length, with UpDown2
    QWidget* Panel1 = nullptr;  // the title and date edits
    QLineEdit* HyouEdit = nullptr;
    QLineEdit* HyouPEdit = nullptr;
    QLineEdit* HyouSEdit = nullptr;
    QLineEdit* DayPEdit = nullptr;
    QLineEdit* DaySEdit = nullptr;
    TDualListChooser* Chooser = nullptr;  // ListBox1 "出力しない項目", ListBox2 "出力する項目"
    QPushButton* Button1 = nullptr;       // "印刷文字サイズ変更"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    FontBlock Font;  // FontDialog1's font
    QString Directory;  // remembered by the last FormShow

    int scope() const;
    int method() const;
    void setScope(int index);
    void setMethod(int index);

    // The settings as the controls hold them.
    ListPrintSettings settings() const;
    ListTitleSettings titles() const;

    void FormShow();
    void OKBtnClick();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void applySettings(const ListPrintSettings& s);
    void applyTitles(const ListTitleSettings& t);
    void enableListControls(bool on);

    QButtonGroup* scopeButtons_ = nullptr;
    QButtonGroup* methodButtons_ = nullptr;
};

extern TPrintPatDlg* PrintPatDlg;
