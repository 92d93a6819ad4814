// The width-set dialog: the width sets of INDTLEN in a grid, one row per
// set, to edit them or to choose one before a backup or a restore. Dremlot
// shows it in both ways (InDTLenForm); Brindel builds it choose-only, with a
// window-position key and a column-width file of its own (InDTLForm).
//
// A caller of the choose mode sets Panel1's caption to its instruction,
// shows the dialog modally and reads the caption back: OK empties it,
// Cancel and the close box leave it. The chosen set is the table's current
// row, which stays current afterwards. choose() does all three steps.
//
// While the dialog exists, the table's owner keeps Edit1 on the current
// row's number from its after-scroll hook (showCurrentRow); typing a number
// into Edit1 makes that row current (a number past the last row shows and
// chooses the last; below 1 or no number moves nothing).
//
// Edit mode: the cells are editable, the width columns take whole numbers
// of 0 to 99999 only; Down past the last row or Insert adds a set,
// Ctrl+Delete removes the current one after asking. OK posts the current
// row, or drops a new set left untouched (a refused post is shown and the
// dialog stays open); Cancel and the close box drop the change pending in
// the grid, so the table's next move does not post what the user
// cancelled.
//
// Brindel's chooser: TInDTLenForm(*Table3, {.objectName = "InDTLForm",
// .canEdit = false, .positionKey = "Brindel", .columnWidthsFile =
// "BrindelListLen.INI", .instruction = "バックアップ方法を指定してください",
// .geometry = {200, 107, 324, 220}, .busyLabel = T3Label}, this).
#pragma once

#include "components/core/table.h"
#include "components/formats/width_set.h"

#include <QDialog>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class DBGrid;
class Panel;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TRestorePos;
class WidthCellDelegate;

struct WidthSetDialogOptions {
    QString objectName = QStringLiteral("InDTLenForm");
    bool canEdit = true;  // false: choose only, the grid always read-only
    // Window position: TRestorePos key and value names ("InDataLen PosX").
    QString positionKey = QStringLiteral("Dremlot");
    QString positionPrefix = QStringLiteral("InDataLen ");
    // Settings file of the data directory (the current directory at
    // creation) that keeps the grid's column widths in characters, read at
    // creation and written on OK; empty: none is kept.
    QString columnWidthsFile{};
    QString instruction{};  // Panel1's caption at creation
    QRect geometry{200, 107, 640, 260};  // before the saved position applies
    QLabel* busyLabel = nullptr;  // reads "Busy" once the dialog exists
};

// Two arrow buttons beside a number edit: each click steps it by one
// (Edit1's steps stay within the rows; so do its Up and Down keys).
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void stepped(int delta);

private:
    QToolButton* up_;
    QToolButton* down_;
};

class TInDTLenForm : public QDialog {
    Q_OBJECT
public:
    explicit TInDTLenForm(Table& widthSets, WidthSetDialogOptions options = {}, QWidget* parent = nullptr);
    ~TInDTLenForm() override;

    Panel* Panel1 = nullptr;  // caption: the instruction, then the answer
    QLineEdit* Edit1 = nullptr;
    UpDown* UpDown1 = nullptr;
    DBGrid* DBGrid1 = nullptr;
    Panel* BtnPanel = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    Table& widthSets() const { return table_; }
    const WidthSetDialogOptions& options() const { return options_; }

    // Shows the dialog modally to edit the sets (only when it can edit).
    void showEdit();
    // Shows the dialog modally to choose a set; true when closed with OK.
    bool choose(const QString& instruction);
    // choose(), then the chosen set: nothing when cancelled, nor, after a
    // message saying so, when the table holds no set.
    std::optional<WidthSet> chooseSet(const QString& instruction);
    // Edit1 shows the number of the table's current row.
    void showCurrentRow();

    void FormCreate();
    void FormResize();
    void Edit1Change();
    void OKBtnClick();

    // The grid's column widths in characters, in grid order.
    std::vector<int> columnWidths() const;

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void setEditing(bool on);
    void cancelPendingEdit();
    void stepRow(int delta);
    void readColumnWidths();
    void writeColumnWidths();

    Table& table_;
    WidthSetDialogOptions options_;
    WidthCellDelegate* delegate_ = nullptr;
    TRestorePos* RestorePos1 = nullptr;
    QString directory_;
};
