// The list window: the main window's own record table as a grid beside it.
// A click on a row makes that record the main window's current record.
// Closing the window keeps the columns' order and widths in DsplayLen.INI
// while Dsplay.INI chooses the fields.
#pragma once

#include "record_book/model/list_columns.h"

#include <QWidget>

class DBGrid;
class TCarDataForm;
class TRestorePos;

class TListForm : public QWidget {
    Q_OBJECT
public:
    explicit TListForm(TCarDataForm& carData, QWidget* parent = nullptr);
    ~TListForm() override;

    DBGrid* DBGrid1 = nullptr;
    QString Directory;  // the current directory at creation

    void FormCreate();
    void DBGrid1CellClick();
    void FormCloseQuery();

    // The grid's columns from left to right, with their widths in
    // characters of the grid's font.
    std::vector<ListColumn> columns() const;
    void setColumns(const std::vector<ListColumn>& columns);
    int characterWidth() const;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    TCarDataForm& carData_;
    TRestorePos* RestorePos1 = nullptr;
};

extern TListForm* ListForm;
