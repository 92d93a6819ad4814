// The specification look-up's dialogs: FormDlg asks for the type
// designation and classification numbers; FListForm shows the learnt
// specification table for correction and deletion.
#pragma once

#include "components/widgets/column_width.h"

#include <QDialog>
#include <vector>

class DBGrid;
class DBNavigator;
class Panel;
class QLabel;
class QLineEdit;
class QPushButton;
class Table;
class TRestorePos;

class TFormDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFormDlg(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;  // type designation number
    QLineEdit* Edit2 = nullptr;  // classification number
    QPushButton* OKBtn = nullptr;

    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
};

class TFListForm : public QDialog {
    Q_OBJECT
public:
    // `code` is the main window's specification table.
    explicit TFListForm(Table& code, QWidget* parent = nullptr);
    ~TFListForm() override;

    DBNavigator* DBNavigator1 = nullptr;  // first, prior, next, last, post
    DBNavigator* DBNavigator2 = nullptr;  // delete
    DBNavigator* DBNavigator3 = nullptr;  // cancel
    DBGrid* DBGrid1 = nullptr;
    Panel* Panel2 = nullptr;  // the bottom panel
    QPushButton* OKBtn = nullptr;
    QString Directory;

    void FormCreate();
    void FormResize();
    void OKBtnClick();

    // Display width, in characters, of each grid column.
    const std::vector<int>& columnWidths() const { return widths_; }
    void setColumnWidth(int column, int characters);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // A column is its characters and a margin of 6 pixels.
    ColumnWidth columnWidth() const;

    Table& table_;
    std::vector<int> widths_;
    bool applyingWidths_ = false;
    TRestorePos* RestorePos1 = nullptr;
};

extern TFormDlg* FormDlg;
extern TFListForm* FListForm;
