// The postal-code table dialog: PostData shown in a grid, rebuilt from any
// comma-separated file. The address double-clicks of the card show it on
// the first entry of a typed code and copy the chosen entry's address.
#pragma once

#include "components/core/database.h"
#include "components/core/table.h"

#include <QDialog>
#include <memory>
#include <utility>
#include <vector>

class DBGrid;
class Panel;
class QLabel;
class QLineEdit;
class QPushButton;
class TRestorePos;

class TPostForm : public QDialog {
    Q_OBJECT
public:
    explicit TPostForm(Database& db, QWidget* parent = nullptr);
    ~TPostForm() override;

    Table* Table1 = nullptr;  // PostData
    DBGrid* DBGrid1 = nullptr;
    Panel* Panel1 = nullptr;  // the search panel, hidden
    QLabel* Label1 = nullptr;
    QLineEdit* AddrEdit = nullptr;
    QPushButton* SarchButton = nullptr;
    Panel* Panel2 = nullptr;  // the buttons
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ReadBtn = nullptr;
    QString DataDirectory;

    void FormCreate();
    void FormResize();
    void SarchButtonClick();
    void ReadBtnClick();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void attachGrid();

    std::unique_ptr<Table> table_;
    TRestorePos* RestorePos1 = nullptr;
};

extern TPostForm* PostForm;
