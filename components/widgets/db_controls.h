// Data-aware controls: widgets bound to a Table.
//
// DBEdit, DBMemo and DBComboBox show one field of the current record and
// let the user change it:
// - They show the field decoded from CP932 and follow the table: a move, a
//   change of state, a new order or filter, and a program setting the
//   control's own field all show the field's value again (a program that
//   sets the field has the last word over text typed but not yet handed
//   over).
// - Typing puts the table into Edit state (Append on an empty table) and
//   marks the control modified. Only a modified control hands its text to
//   the record: when the table asks (Table::updateRecord, before every post
//   and move) and when the focus leaves the control, before its exited()
//   signal, to which forms connect their leave handlers. A field the user
//   did not touch is never written, so a value a program set meanwhile
//   stays.
// - Esc in a modified control shows the field's value again (the table
//   stays in Edit state); in an unmodified one it goes on to the window,
//   so a dialog can close.
// - A character CP932 cannot hold (emoji, 𠮷) is refused where it is typed,
//   pasted or chosen: a warning says so and the text stays as it was before
//   that input. Characters the user did not touch keep their stored bytes,
//   even bytes that are no CP932 character (they show as U+FFFD).
// - Switching to another window or opening a popup is no leave: the text
//   is handed over and exited() emitted only for a real move of the focus.
// - An input-method composition counts as typing: it puts the table into
//   Edit state when it opens, and an open one is committed before the text
//   is handed over, so a post or move saves what the control shows, and
//   before another window of the program opens. A cancel or Esc that drops
//   the edit drops an open composition with it.
//
// DBMemo shows CR LF (and a lone CR or LF) as a line break and writes the
// line breaks typed as CR LF; it shows each record's text from its start
// (the control being typed in keeps its place); any change to its text
// that the control did not make itself counts as typed. DBComboBox is editable: its items are a
// choice list the form fills (components/list_entries.h), the text is the
// field's value; choosing an item gives the field the item's own bytes.
//
// DBGridModel and DBGrid show the visible records in the active order, one
// column per chosen field, fetching rows lazily. DBNavigator is the row of
// buttons that move and edit the table.
#pragma once

#include "components/core/cp932.h"
#include "components/core/table.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFlags>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QInputMethodEvent;
class QToolButton;

// The bond of one control with one field: what the control shows, the
// bytes that text stands for, and whether the user changed it. Shared by
// the field controls; a control tells it about typing and leaving.
class FieldDataLink {
public:
    // The control's side.
    class Control {
    public:
        virtual ~Control() = default;
        virtual QWidget* widget() = 0;
        virtual QString controlText() const = 0;
        // Shows text set by the link; the cursor goes to `cursor` when it
        // is not negative.
        virtual void setControlText(const QString& text, int cursor) = 0;
        // Commits an open input-method composition into the control.
        virtual void commitComposition() {}
        // Drops an open composition: none of it reaches the control.
        virtual void discardComposition() {}
        // Shows the start of the text, the cursor before it.
        virtual void showStart() {}
    };

    FieldDataLink(Control& control, bool multiLine);
    ~FieldDataLink();
    FieldDataLink(const FieldDataLink&) = delete;
    FieldDataLink& operator=(const FieldDataLink&) = delete;

    // Raises DbError for a field the table does not have.
    void bind(Table& table, std::string_view utf8Field);
    void unbind();
    Table* table() const { return table_; }
    int fieldIndex() const { return field_; }
    const std::string& fieldName() const { return fieldName_; }
    bool modified() const { return modified_; }

    // Before text reaches the control: false (after telling the user) when
    // it holds a character CP932 cannot hold.
    bool acceptTyped(const QString& text);
    // After the user changed the control's text: only the characters the
    // edit replaced are encoded (sjis::encodeEdit), the others keep their
    // bytes.
    void userChanged();
    // After the user chose an entry the control holds as bytes (an item of
    // a combo box's list): the field gets exactly those bytes, unless the
    // text shown stays the same.
    void userChose(const SjisString& bytes);
    // A composition opened in the control: the table goes into Edit state,
    // as for typing.
    void compositionOpened();
    // Hands the typed text to the record when the control is modified.
    void updateRecord();
    // Shows the field's value and forgets typed text.
    void reset() { refresh(); }
    // Puts the link's text back into the control (after the control
    // replaced it on its own).
    void redisplay() { show(-1); }
    // True while the link itself is setting the control's text.
    bool settingText() const { return settingText_; }

private:
    void detach();
    void refresh();
    void show(int cursor);
    void take(SjisString bytes, const QString& text, int cursor);

    Control& control_;
    const bool multiLine_;
    QPointer<Table> table_;
    int field_ = -1;
    std::string fieldName_;
    std::vector<QMetaObject::Connection> connections_;

    // The text the control shows, one character for each character of the
    // bytes it stands for.
    QString shown_;
    SjisString bytes_;
    bool modified_ = false;
    bool settingText_ = false;
    bool entering_ = false;  // putting the table into Edit state
    bool writing_ = false;   // handing the text to the record
};

// Some input methods (IBus) commit a conversion that is open when a click
// moves the focus twice: into the control left, as Qt commits it there, and
// again into the control entered. The guard of a control drops the second:
// a commit reaching a control just entered, before anything was composed or
// typed there, repeating what the control left committed last.
// A control that commits or drops its open composition itself (before a
// save, a move or another window, at a cancel) resets the input method,
// which may commit the same text once more (IBus after a while, Fcitx at
// once); that repeat is dropped wherever it arrives, in a dialog just
// opened too, when it follows before anything was composed or typed.
class RepeatedCommitGuard {
public:
    // False for an input-method event to be dropped.
    bool pass(const QInputMethodEvent& event);
    void keyTyped();
    void left(const QWidget* control);
    void entered(const QWidget* control);

private:
    QString lastCommit_;
    bool justEntered_ = false;
};

// What the three field controls share over their Qt editor: the binding
// to a field and the events every one of them handles the same way (Esc
// reverts a modified control, characters CP932 cannot hold are refused as
// they are typed, leaving hands the text to the record before the leave
// signal).
template <class Editor>
class FieldControl : public Editor, protected FieldDataLink::Control {
public:
    void bind(Table& table, std::string_view utf8Field) { link_.bind(table, utf8Field); }
    void unbind() { link_.unbind(); }
    Table* table() const { return link_.table(); }
    const std::string& dataField() const { return link_.fieldName(); }
    // The user changed the text and it is not handed to the record yet.
    bool fieldModified() const { return link_.modified(); }
    void updateRecord() { link_.updateRecord(); }
    void reset() { link_.reset(); }

protected:
    FieldControl(QWidget* parent, bool multiLine) : Editor(parent), link_(*this, multiLine) {}

    // The signals of the concrete control.
    virtual void emitEntered() = 0;
    virtual void emitExited() = 0;
    virtual void selectAllText() = 0;
    virtual bool typingAllowed() const { return true; }

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QWidget* widget() override { return this; }
    void commitComposition() override;
    void discardComposition() override;

    FieldDataLink link_;

private:
    void endComposition(const QString& composed);

    QString preedit_;  // the open composition
    RepeatedCommitGuard repeatGuard_;
};

// One-line edit of a field.
class DBEdit : public FieldControl<QLineEdit> {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    DBEdit(Table& table, std::string_view utf8Field, QWidget* parent = nullptr);

signals:
    void entered();
    // The focus left; the typed text is already in the record.
    void exited();

private:
    void emitEntered() override { emit entered(); }
    void emitExited() override { emit exited(); }
    void selectAllText() override { selectAll(); }
    bool typingAllowed() const override { return !isReadOnly(); }
    QString controlText() const override { return QLineEdit::text(); }
    void setControlText(const QString& text, int cursor) override;
};

// Multi-line edit of a field.
class DBMemo : public FieldControl<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);
    DBMemo(Table& table, std::string_view utf8Field, QWidget* parent = nullptr);
    QString text() const { return toPlainText(); }

signals:
    void entered();
    void exited();

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void emitEntered() override { emit entered(); }
    void emitExited() override { emit exited(); }
    void selectAllText() override { selectAll(); }
    bool typingAllowed() const override { return !isReadOnly(); }
    QString controlText() const override { return toPlainText(); }
    void setControlText(const QString& text, int cursor) override;
    void showStart() override;
};

// Editable combo box: the items are a choice list, the text is the field.
class DBComboBox : public FieldControl<QComboBox> {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);
    DBComboBox(Table& table, std::string_view utf8Field, QWidget* parent = nullptr);
    QString text() const { return currentText(); }

signals:
    void entered();
    void exited();

private:
    void emitEntered() override { emit entered(); }
    void emitExited() override { emit exited(); }
    void selectAllText() override { lineEdit()->selectAll(); }
    QString controlText() const override;
    void setControlText(const QString& text, int cursor) override;
    void keepText();
};

// The visible records of a table as rows, chosen fields as columns.
// Rows are read when shown and kept in a small cache, so a table of
// 100,000 records costs no more than the rows on screen. The current
// record in Edit state shows its edited values. A new record (Insert
// state) has no row until it is posted, unless the model shows new
// records: then it is an extra last row until it is posted or dropped.
class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DBGridModel(QObject* parent = nullptr);
    DBGridModel(Table* table, QObject* parent = nullptr);

    void setTable(Table* table);
    Table* table() const { return table_; }
    // Columns by field name (UTF-8); empty: every field. Raises DbError
    // for a field the table does not have.
    void setFieldNames(const std::vector<std::string>& utf8Names);
    std::vector<std::string> fieldNames() const;
    int fieldIndex(int column) const { return columns_.at(std::size_t(column)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Editable cells: an edit makes the cell's record current, puts the
    // table into Edit state and sets the field; the next move or Post saves
    // it. Text CP932 cannot hold is refused with a warning.
    void setEditable(bool on) { editable_ = on; }
    bool editable() const { return editable_; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    void setShowsNewRecord(bool on);
    // The row of the current record (the extra row of a new one shown), -1
    // for none.
    int currentRow() const;
    bool isNewRecordRow(int row) const { return newRow_ && row == rows_; }

private:
    static std::vector<int> columnsOf(Table* table, const std::vector<std::string>& utf8Names);
    void reload();
    void valuesChanged();
    bool wantsNewRow() const;
    const QStringList& row(int position) const;

    QPointer<Table> table_;
    std::vector<QMetaObject::Connection> connections_;
    std::vector<std::string> names_;  // the chosen fields; empty: every field
    std::vector<int> columns_;
    int rows_ = 0;  // the visible records
    bool editable_ = false;
    bool showsNewRecord_ = false;
    bool newRow_ = false;  // the extra row of a new record is there
    static constexpr std::size_t kCacheRows = 256;
    mutable std::unordered_map<int, QStringList> cache_;
};

// Grid over a table: clicking a cell (or moving with the keys) makes its
// record current. Read-only, the current record's row stays selected;
// editable, the current cell does, and it stays in the column the user
// chose while the table moves or posts, so typing goes to the cell clicked.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setTable(Table* table);
    Table* table() const { return model_->table(); }
    void setFieldNames(const std::vector<std::string>& utf8Names) { model_->setFieldNames(utf8Names); }
    DBGridModel* gridModel() const { return model_; }
    // Lets the user edit cells (double-click, F2 or typing); read-only by
    // default.
    void setEditable(bool on);
    // Lets the user add and remove records of an editable grid: Down on the
    // last row or Insert starts a new record in an extra last row (Down on
    // an untouched new one does nothing), Ctrl+Delete deletes the current
    // record after asking. Off by default.
    void setAppendable(bool on);
    // Selects the current record's row now (it otherwise follows the table
    // once control returns to the event loop).
    void syncCurrentRow();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void scheduleSync();
    void moveToRow(int row);
    bool appendOrDelete(const QKeyEvent& event);
    void commitOpenEditor();

    DBGridModel* model_;
    std::vector<QMetaObject::Connection> connections_;
    bool syncing_ = false;
    bool syncPending_ = false;
    bool appendable_ = false;
    int pendingRow_ = -1;  // row clicked, moved to once back in the event loop
    int column_ = 0;       // the column the user made current
};

// A row of buttons that move through and edit a table, each enabled when
// it can act: moving back needs the table not at Bof, moving on not at
// Eof, Delete a record, Edit the Browse state, Post and Cancel the Edit or
// Insert state; all are off while the table is closed. clicked() follows
// a successful action; a failed one is shown as an error box.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button {
        First = 0x001,
        Prior = 0x002,
        Next = 0x004,
        Last = 0x008,
        Insert = 0x010,
        Delete = 0x020,
        Edit = 0x040,
        Post = 0x080,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_ENUM(Button)
    Q_DECLARE_FLAGS(Buttons, Button)
    static constexpr int kButtonCount = 10;
    static Buttons allButtons() { return Buttons(0x3FF); }

    explicit DBNavigator(QWidget* parent = nullptr);

    void setTable(Table* table);
    Table* table() const { return table_; }
    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return visible_; }
    // Ask before Delete (on by default).
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    bool confirmDelete() const { return confirmDelete_; }
    QToolButton* button(Button which) const;

    // What a click on the button does.
    void btnClick(Button which);
    // Enables the buttons for the table's state now (they otherwise follow
    // the table once control returns to the event loop).
    void updateButtons();

signals:
    void clicked(DBNavigator::Button button);

private:
    void scheduleUpdate();

    QPointer<Table> table_;
    std::vector<QMetaObject::Connection> connections_;
    QToolButton* buttons_[kButtonCount] = {};
    Buttons visible_ = allButtons();
    bool confirmDelete_ = true;
    bool updatePending_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DBNavigator::Buttons)

// What a user does to a control, for tests and dialog scripts: text as an
// input method commits it at the cursor (any characters; QTest::keyClicks
// takes ASCII only), and the focus leaving the control for another one.
void simulateTyping(QWidget* control, const QString& text);
void simulateLeave(QWidget* control);
