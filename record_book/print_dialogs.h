// The print program's dialogs: the pattern chooser of the print settings
// (SelectDlg), the order of the print patterns (PrintSlctDlg), the content
// of a free layout's 60 items (FreeEditForm) and the own company's lines
// (UserSetForm).
#pragma once

#include "components/core/cp932.h"
#include "components/formats/print_files.h"

#include <QDialog>
#include <array>
#include <memory>
#include <vector>

class Database;
class DBEdit;
class Panel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QToolButton;
class Table;
class TCarDataForm;
class TRestorePos;

class TSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSelectDlg(TCarDataForm& form, QWidget* parent = nullptr);

    Panel* Panel1 = nullptr;
    QComboBox* FindComboBox = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The pairs of PrintName.INI as the dialog last read them.
    const PrintNameList& names() const { return names_; }
    // The pattern chosen: the listed pair's number, or the new pattern's
    // (the last pair) when no listed name is chosen; 0 without a pair.
    int chosenPattern() const;

    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TCarDataForm& form_;
    PrintNameList names_;
};

class TPrintSlctDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPrintSlctDlg(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;  // "出力順序"
    QListWidget* ListBox1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;  // up
    QToolButton* SpeedButton4 = nullptr;  // down
    QPushButton* OKBtn = nullptr;

    QString Directory;  // where PrintName.INI is: the current one at creation
    const PrintNameList& names() const { return names_; }

    void FormCreate();
    void FormShow();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void swapPairs(int a, int b);

    PrintNameList names_;  // every pair read, the new pattern's last (not listed)
};

constexpr int kFreeLayoutItems = 60;

class TFreeEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TFreeEditForm(Database& db, QWidget* parent = nullptr);
    ~TFreeEditForm() override;

    Panel* TopPanel = nullptr;
    QComboBox* ComboBox1 = nullptr;  // the content codes
    QScrollArea* ScrollBox1 = nullptr;
    std::array<Panel*, kFreeLayoutItems> Panels{};  // PanelN at N - 1
    std::array<DBEdit*, kFreeLayoutItems> DBEdits{};  // DBEditN at N - 1, bound to 項目N
    Panel* BtnPanel = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QLabel* EndLabel = nullptr;  // "mrOK" once closed with OK
    TRestorePos* RestorePos1 = nullptr;

    std::unique_ptr<Table> Table1;  // PrtData
    std::unique_ptr<Table> Table2;  // PrtFreeData

    int SelectedItemNo = 1;  // the item the next content code goes to

    // Opens both layout tables, or brings them up to date when they are
    // open: the print program appends rows of its own.
    void openTables();

    void FormCreate();
    void FormShow();
    void FormResize();
    void DBEditClick(int item);  // DBEdit1Click .. DBEdit60Click
    void ComboBox1Change();
    void OKBtnClick();
    void CancelBtnClick();

    // Closing by the close box or Esc takes the Cancel path.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

class TUserSetForm : public QDialog {
    Q_OBJECT
public:
    explicit TUserSetForm(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    std::array<QLineEdit*, kOwnCompanyLineCount> Edits{};  // Edit1 .. Edit7
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    QString Directory;  // where User.INI is: the current one at creation

    void FormCreate();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* e) override;  // typing goes to Edit1 at once

private:
    OwnCompany read_;  // the bytes behind the edits' texts when they were read
};

extern TSelectDlg* SelectDlg;
extern TPrintSlctDlg* PrintSlctDlg;
extern TFreeEditForm* FreeEditForm;
extern TUserSetForm* UserSetForm;
