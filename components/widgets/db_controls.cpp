#include "components/widgets/db_controls.h"

#include "components/widgets/list_entries.h"
#include "components/widgets/typed_text.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethod>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

bool isEscape(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Escape && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

// ---- FieldDataLink ---------------------------------------------------------------

FieldDataLink::FieldDataLink(Control& control, bool multiLine) : control_(control), multiLine_(multiLine) {}

FieldDataLink::~FieldDataLink() { detach(); }

void FieldDataLink::detach()
{
    for (const auto& c : connections_)
        QObject::disconnect(c);
    connections_.clear();
    table_ = nullptr;
    field_ = -1;
    fieldName_.clear();
    modified_ = false;
}

void FieldDataLink::bind(Table& table, std::string_view utf8Field)
{
    const int index = table.FieldByName(utf8Field).Index();
    detach();
    table_ = &table;
    field_ = index;
    fieldName_ = std::string(utf8Field);
    QWidget* w = control_.widget();
    connections_.push_back(QObject::connect(&table, &Table::updateRecord, w, [this] { updateRecord(); }));
    connections_.push_back(QObject::connect(&table, &Table::recordChanged, w, [this] { refresh(); }));
    connections_.push_back(QObject::connect(&table, &Table::dataSetChanged, w, [this] { refresh(); }));
    connections_.push_back(QObject::connect(&table, &Table::fieldChanged, w, [this](int i) {
        if (i == field_)
            refresh();
    }));
    refresh();
}

void FieldDataLink::unbind()
{
    detach();
    refresh();
}

void FieldDataLink::show(int cursor)
{
    if (control_.controlText() == shown_ && cursor < 0)
        return;
    settingText_ = true;
    try {
        control_.setControlText(shown_, cursor);
    } catch (...) {
        settingText_ = false;
        throw;
    }
    settingText_ = false;
}

void FieldDataLink::refresh()
{
    if (entering_ || writing_)
        return;
    control_.discardComposition();
    // The memo shows CR LF, a lone CR and a lone LF as one line break each.
    bytes_ = table_ && field_ >= 0 ? table_->value(field_) : SjisString();
    shown_ = sjis::decode(bytes_, multiLine_ ? sjis::LineBreaks::Unified : sjis::LineBreaks::AsIs);
    modified_ = false;
    show(-1);
    // The same text on another record is shown from its start as well; the
    // control being typed in keeps its place.
    if (!control_.widget()->hasFocus())
        control_.showStart();
}

bool FieldDataLink::acceptTyped(const QString& text) { return acceptOrWarn(text, control_.widget()); }

void FieldDataLink::userChanged()
{
    if (settingText_)
        return;
    const QString now = control_.controlText();
    if (now == shown_)
        return;
    // The cursor goes back to where the edit began when it is refused.
    const auto p = int(std::mismatch(shown_.begin(), shown_.end(), now.begin(), now.end()).first - shown_.begin());
    const auto lineBreaks = multiLine_ ? sjis::LineBreaks::Unified : sjis::LineBreaks::AsIs;
    std::optional<SjisString> bytes =
        encodingOrWarn([&] { return sjis::encodeEdit(bytes_, shown_, now, lineBreaks); }, control_.widget());
    if (!bytes) {
        show(p);
        return;
    }
    take(std::move(*bytes), now, p);
}

void FieldDataLink::userChose(const SjisString& bytes)
{
    if (settingText_)
        return;
    // An entry that looks like the text shown leaves the field's bytes be.
    const QString now = control_.controlText();
    if (now == shown_)
        return;
    take(bytes, now, -1);
}

// The control's new text and its bytes become the link's, the table in
// Edit state; without a table to edit the control shows the field again.
void FieldDataLink::take(SjisString bytes, const QString& text, int cursor)
{
    if (!table_ || !table_->Active() || field_ < 0) {
        show(cursor);
        return;
    }
    if (table_->state() != Table::State::Edit && table_->state() != Table::State::Insert) {
        entering_ = true;
        const bool ok = guarded([this] { table_->Edit(); });
        entering_ = false;
        if (!ok) {
            show(cursor);
            return;
        }
        if (!table_ || (table_->state() != Table::State::Edit && table_->state() != Table::State::Insert)) {
            refresh();
            return;
        }
    }
    bytes_ = std::move(bytes);
    shown_ = text;
    modified_ = true;
    // A kept byte that is no character and a typed byte after it can read
    // as one character: the control then shows what the bytes now say.
    const QString stored = sjis::decode(bytes_, multiLine_ ? sjis::LineBreaks::Unified : sjis::LineBreaks::AsIs);
    if (stored.size() != shown_.size()) {
        shown_ = stored;
        show(cursor);
    }
}

void FieldDataLink::compositionOpened()
{
    if (!table_ || !table_->Active() || field_ < 0 || table_->state() == Table::State::Edit
        || table_->state() == Table::State::Insert)
        return;
    entering_ = true;
    guarded([this] { table_->Edit(); });
    entering_ = false;
}

void FieldDataLink::updateRecord()
{
    control_.commitComposition();
    if (!modified_ || !table_ || field_ < 0)
        return;
    // Text the control changed without telling (a paste it refused to
    // report, say) is taken as typed.
    if (control_.controlText() != shown_) {
        userChanged();
        if (!modified_)
            return;
    }
    if (table_->state() != Table::State::Edit && table_->state() != Table::State::Insert)
        return;
    writing_ = true;
    try {
        table_->Fields(field_).SetAsString(bytes_);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    modified_ = false;
}

// ---- the field controls ------------------------------------------------------------

namespace {

// Esc belongs to a modified control even where the window has a shortcut
// for it.
bool claimsShortcut(QEvent* event, bool modified)
{
    return event->type() == QEvent::ShortcutOverride && modified && isEscape(static_cast<QKeyEvent*>(event));
}

// Hands over the typed text before the leave handlers run; an error there
// is shown and the leave goes on.
void leave(FieldDataLink& link)
{
    guarded([&] { link.updateRecord(); });
}

// What the control the focus left committed last, for the one it enters.
struct LeftCommit {
    const QWidget* control = nullptr;
    QString text;
    QElapsedTimer since;
};

LeftCommit& leftCommit()
{
    static LeftCommit last;
    return last;
}

// The repeated commit follows the move of the focus at once; typing the
// same text again takes longer.
constexpr qint64 kRepeatWindowMs = 500;

bool opensWindow(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    const auto* w = static_cast<QWidget*>(watched);
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

// Watches the whole program for what the input method does around a field
// control's own commit or cancel: the control with an open composition
// commits it before another window opens, and the repeat the input method
// may send after its reset is dropped wherever it arrives.
class CompositionWatch : public QObject {
public:
    static CompositionWatch& instance()
    {
        static QPointer<CompositionWatch> watch;
        if (!watch) {
            watch = new CompositionWatch(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watch);
        }
        return *watch;
    }

    void composing(FieldDataLink::Control* control) { composer_ = {control, control->widget()}; }
    void composed(FieldDataLink::Control* control)
    {
        if (composer_.control == control)
            composer_ = {};
    }
    void expectRepeat(const QString& text)
    {
        repeat_ = text;
        since_.start();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod)
            return isRepeat(*static_cast<QInputMethodEvent*>(event));
        if (event->type() == QEvent::KeyPress)
            repeat_.clear();
        else if (opensWindow(watched, event) && composer_.widget && composer_.widget->window() != watched)
            std::exchange(composer_, {}).control->commitComposition();
        return false;
    }

private:
    using QObject::QObject;

    bool isRepeat(const QInputMethodEvent& event)
    {
        if (repeat_.isEmpty())
            return false;
        const bool again = event.preeditString().isEmpty() && event.commitString() == repeat_
                           && since_.elapsed() < kRepeatWindowMs;
        if (again || !event.preeditString().isEmpty())
            repeat_.clear();
        return again;
    }

    struct Composer {
        FieldDataLink::Control* control = nullptr;
        QPointer<QWidget> widget;
    } composer_;
    QString repeat_;
    QElapsedTimer since_;
};

}  // namespace

// ---- RepeatedCommitGuard -----------------------------------------------------------

bool RepeatedCommitGuard::pass(const QInputMethodEvent& event)
{
    const QString& commit = event.commitString();
    if (!event.preeditString().isEmpty()) {
        justEntered_ = false;
        lastCommit_.clear();
        return true;
    }
    if (commit.isEmpty())
        return true;
    const LeftCommit& left = leftCommit();
    const bool repeated = justEntered_ && commit == left.text && left.since.isValid()
                          && left.since.elapsed() < kRepeatWindowMs;
    justEntered_ = false;
    if (!repeated)
        lastCommit_ = commit;
    return !repeated;
}

void RepeatedCommitGuard::keyTyped()
{
    justEntered_ = false;
    lastCommit_.clear();
}

void RepeatedCommitGuard::left(const QWidget* control)
{
    LeftCommit& left = leftCommit();
    left.control = control;
    left.text = lastCommit_;
    left.since.start();
    lastCommit_.clear();
    justEntered_ = false;
}

void RepeatedCommitGuard::entered(const QWidget* control)
{
    const LeftCommit& left = leftCommit();
    justEntered_ = left.control != control && !left.text.isEmpty();
}

// ---- the field controls, continued --------------------------------------------------

template <class Editor>
bool FieldControl<Editor>::event(QEvent* event)
{
    if (claimsShortcut(event, link_.modified())
        || (event->type() == QEvent::InputMethod
            && !repeatGuard_.pass(*static_cast<QInputMethodEvent*>(event)))) {
        event->accept();
        return true;
    }
    return Editor::event(event);
}

template <class Editor>
void FieldControl<Editor>::keyPressEvent(QKeyEvent* event)
{
    if (isEscape(event)) {
        // An unmodified control passes Esc on, so that a dialog still closes.
        if (link_.modified()) {
            link_.reset();
            selectAllText();
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    repeatGuard_.keyTyped();
    if (typingAllowed() && !event->text().isEmpty() && !link_.acceptTyped(event->text())) {
        event->accept();
        return;
    }
    Editor::keyPressEvent(event);
}

template <class Editor>
void FieldControl<Editor>::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        // The commit ends the composition before a refusal's warning opens.
        preedit_.clear();
        CompositionWatch::instance().composed(this);
    }
    if (typingAllowed() && !event->commitString().isEmpty() && !link_.acceptTyped(event->commitString())) {
        QInputMethodEvent cleared;  // ends the composition with nothing inserted
        Editor::inputMethodEvent(&cleared);
        event->accept();
        return;
    }
    if (typingAllowed() && preedit_.isEmpty() && !event->preeditString().isEmpty())
        link_.compositionOpened();
    preedit_ = event->preeditString();
    if (preedit_.isEmpty())
        CompositionWatch::instance().composed(this);
    else
        CompositionWatch::instance().composing(this);
    Editor::inputMethodEvent(event);
}

// The input method commits its composition itself where it can; where it
// did not (none runs, or it keeps the composition), the control commits
// what it shows and the input method forgets it, as on Windows.
template <class Editor>
void FieldControl<Editor>::commitComposition()
{
    if (preedit_.isEmpty())
        return;
    const QString composed = preedit_;
    if (this->hasFocus())
        QGuiApplication::inputMethod()->commit();
    if (preedit_.isEmpty()) {
        CompositionWatch::instance().expectRepeat(composed);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(preedit_);
    QCoreApplication::sendEvent(this, &commit);
    endComposition(composed);
}

// What the control composed goes nowhere; the input method, reset, may
// still commit it, and that commit is dropped. The input method may also
// hold a composition it no longer shows (IBus after Esc) and commit it at
// the next click: the control with the focus resets it all the same.
template <class Editor>
void FieldControl<Editor>::discardComposition()
{
    if (preedit_.isEmpty()) {
        if (this->hasFocus())
            QGuiApplication::inputMethod()->reset();
        return;
    }
    const QString composed = preedit_;
    QInputMethodEvent cleared;
    Editor::inputMethodEvent(&cleared);
    endComposition(composed);
}

template <class Editor>
void FieldControl<Editor>::endComposition(const QString& composed)
{
    preedit_.clear();
    CompositionWatch::instance().composed(this);
    CompositionWatch::instance().expectRepeat(composed);
    if (this->hasFocus())
        QGuiApplication::inputMethod()->reset();
}

template <class Editor>
void FieldControl<Editor>::focusInEvent(QFocusEvent* event)
{
    Editor::focusInEvent(event);
    if (leavesControl(event)) {
        repeatGuard_.entered(this);
        emitEntered();
    }
}

template <class Editor>
void FieldControl<Editor>::focusOutEvent(QFocusEvent* event)
{
    const bool leaving = leavesControl(event);
    if (leaving) {
        leave(link_);
        repeatGuard_.left(this);
    }
    Editor::focusOutEvent(event);
    if (leaving)
        emitExited();
}

template class FieldControl<QLineEdit>;
template class FieldControl<QPlainTextEdit>;
template class FieldControl<QComboBox>;

DBEdit::DBEdit(QWidget* parent) : FieldControl(parent, false)
{
    connect(this, &QLineEdit::textEdited, this, [this] { link_.userChanged(); });
}

DBEdit::DBEdit(Table& table, std::string_view utf8Field, QWidget* parent) : DBEdit(parent)
{
    bind(table, utf8Field);
}

void DBEdit::setControlText(const QString& text, int cursor)
{
    setText(text);
    if (cursor >= 0)
        setCursorPosition(cursor);
}

DBMemo::DBMemo(QWidget* parent) : FieldControl(parent, true)
{
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { link_.userChanged(); });
}

DBMemo::DBMemo(Table& table, std::string_view utf8Field, QWidget* parent) : DBMemo(parent)
{
    bind(table, utf8Field);
}

void DBMemo::setControlText(const QString& text, int cursor)
{
    setPlainText(text);
    if (cursor < 0) {
        showStart();
        return;
    }
    QTextCursor c = textCursor();
    c.setPosition(std::min(cursor, int(document()->characterCount()) - 1));
    setTextCursor(c);
}

// The view keeps its scroll position when the text is replaced, so a
// record after a long one would show only what lies past its end.
void DBMemo::showStart()
{
    if (textCursor().position() == 0 && !textCursor().hasSelection() && verticalScrollBar()->value() == 0
        && horizontalScrollBar()->value() == 0)
        return;
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void DBMemo::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText() && !link_.acceptTyped(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

DBComboBox::DBComboBox(QWidget* parent) : FieldControl(parent, false)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // the text is exactly what was typed or chosen
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { link_.userChanged(); });
    // A chosen item gives the field its entry's own bytes.
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && itemData(index, Qt::UserRole).typeId() == QMetaType::QByteArray)
            link_.userChose(listEntry(this, index));
        else
            link_.userChanged();
    });
    // Filling the list makes the first item current, which replaces the
    // text; the field's value (or the typed text) is put back.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model(), signal, this, [this] { keepText(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { keepText(); });
}

DBComboBox::DBComboBox(Table& table, std::string_view utf8Field, QWidget* parent) : DBComboBox(parent)
{
    bind(table, utf8Field);
}

QString DBComboBox::controlText() const { return lineEdit()->text(); }

void DBComboBox::setControlText(const QString& text, int cursor)
{
    setCurrentIndex(findText(text));
    lineEdit()->setText(text);
    if (cursor >= 0)
        lineEdit()->setCursorPosition(cursor);
}

void DBComboBox::keepText()
{
    if (!link_.settingText())
        link_.redisplay();
}

namespace {
const char* const kDeleteQuestion = "レコードを削除しますか?";
}  // namespace

// ---- DBGridModel -----------------------------------------------------------------------

DBGridModel::DBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

DBGridModel::DBGridModel(Table* table, QObject* parent) : DBGridModel(parent) { setTable(table); }

std::vector<int> DBGridModel::columnsOf(Table* table, const std::vector<std::string>& utf8Names)
{
    std::vector<int> columns;
    if (!table)
        return columns;
    if (utf8Names.empty()) {
        for (int i = 0; i < table->FieldCount(); ++i)
            columns.push_back(i);
    }
    for (const std::string& n : utf8Names)
        columns.push_back(table->FieldByName(n).Index());
    return columns;
}

void DBGridModel::setTable(Table* table)
{
    std::vector<int> columns = columnsOf(table, names_);
    beginResetModel();
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    cache_.clear();
    table_ = table;
    columns_ = std::move(columns);
    if (table) {
        connections_.push_back(connect(table, &Table::dataSetChanged, this, [this] { reload(); }));
        connections_.push_back(connect(table, &Table::recordChanged, this, [this] { valuesChanged(); }));
        connections_.push_back(connect(table, &Table::fieldChanged, this, [this] { valuesChanged(); }));
    }
    rows_ = table && table->Active() ? table->RecordCount() : 0;
    newRow_ = wantsNewRow();
    endResetModel();
}

void DBGridModel::setFieldNames(const std::vector<std::string>& utf8Names)
{
    std::vector<int> columns = columnsOf(table_, utf8Names);
    beginResetModel();
    names_ = utf8Names;
    columns_ = std::move(columns);
    cache_.clear();
    endResetModel();
}

std::vector<std::string> DBGridModel::fieldNames() const
{
    if (!table_)
        return names_;
    std::vector<std::string> names;
    for (int i : columns_)
        names.push_back(table_->FieldDefinition(i).name);
    return names;
}

void DBGridModel::reload()
{
    beginResetModel();
    cache_.clear();
    rows_ = table_ && table_->Active() ? table_->RecordCount() : 0;
    newRow_ = wantsNewRow();
    endResetModel();
}

bool DBGridModel::wantsNewRow() const
{
    return showsNewRecord_ && table_ && table_->state() == Table::State::Insert;
}

void DBGridModel::setShowsNewRecord(bool on)
{
    showsNewRecord_ = on;
    valuesChanged();
}

int DBGridModel::currentRow() const
{
    if (!table_ || !table_->Active())
        return -1;
    return newRow_ ? rows_ : table_->currentPosition();
}

// The current record moved or its values changed: no row is read here
// (this runs for every post of a bulk import); the view asks again for
// what it shows. A new record shown gains or loses its row.
void DBGridModel::valuesChanged()
{
    cache_.clear();
    if (const bool wanted = wantsNewRow(); wanted != newRow_) {
        wanted ? beginInsertRows({}, rows_, rows_) : beginRemoveRows({}, rows_, rows_);
        newRow_ = wanted;
        wanted ? endInsertRows() : endRemoveRows();
    }
    if (rowCount() > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, int(columns_.size()) - 1), {Qt::DisplayRole});
}

const QStringList& DBGridModel::row(int position) const
{
    if (auto it = cache_.find(position); it != cache_.end())
        return it->second;
    if (cache_.size() >= kCacheRows)
        cache_.clear();
    QStringList texts;
    try {
        const std::vector<SjisString> values = table_->rowValues(position);
        for (int f : columns_)
            texts.append(sjis::decode(values.at(std::size_t(f))));
    } catch (const std::exception&) {
        // A record the other program removed, or a view out of step: blank
        // until the table reports the change.
        texts.clear();
        for (std::size_t i = 0; i < columns_.size(); ++i)
            texts.append(QString());
    }
    return cache_.emplace(position, std::move(texts)).first->second;
}

int DBGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_ + int(newRow_); }

int DBGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !table_ || index.row() >= rowCount() || index.column() >= int(columns_.size()))
        return {};
    const int field = columns_[std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        // Painting never shows an error box: a table that cannot be read
        // shows empty cells, and the next command reports the failure.
        try {
            if (isNewRecordRow(index.row())
                || (table_->state() == Table::State::Edit && index.row() == table_->currentPosition()))
                return sjis::decode(table_->value(field));
            return row(index.row()).value(index.column());
        } catch (const std::exception&) {
            return {};
        }
    case Qt::TextAlignmentRole:
        if (table_->FieldDefinition(field).type == FieldType::WholeNumber)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (!table_ || section < 0 || section >= int(columns_.size()))
        return {};
    return QString::fromStdString(table_->FieldDefinition(columns_[std::size_t(section)]).name);
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable_ && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DBGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!editable_ || role != Qt::EditRole || !index.isValid() || !table_ || index.row() >= rowCount()
        || index.column() >= int(columns_.size()))
        return false;
    const bool newRecord = isNewRecordRow(index.row());
    const int field = columns_[std::size_t(index.column())];
    const QString text = value.toString();
    // Only the characters the edit replaced are encoded; the others keep
    // the cell's bytes. A refusal comes before the table moves.
    std::optional<SjisString> bytes;
    if (!guarded([&] {
            const bool current = newRecord
                                 || (table_->state() == Table::State::Edit && index.row() == table_->currentPosition());
            const SjisString cell =
                current ? table_->value(field) : table_->rowValues(index.row()).at(std::size_t(field));
            bytes = encodingOrWarn([&] { return sjis::encodeEdit(cell, sjis::decode(cell), text); },
                                   qobject_cast<QWidget*>(QObject::parent()));
        })
        || !bytes)
        return false;
    return guarded([&] {
        if (!newRecord && table_->currentPosition() != index.row())
            table_->SetRecNo(index.row() + 1);
        table_->Edit();
        table_->Fields(field).SetAsString(*bytes);
    });
}

// ---- DBGrid --------------------------------------------------------------------------------

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DBGridModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { scheduleSync(); });
}

void DBGrid::setTable(Table* table)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    model_->setTable(table);
    if (table)
        connections_.push_back(connect(table, &Table::recordChanged, this, [this] { scheduleSync(); }));
    syncCurrentRow();
}

void DBGrid::setEditable(bool on)
{
    model_->setEditable(on);
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(on ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    syncCurrentRow();
}

void DBGrid::setAppendable(bool on)
{
    appendable_ = on;
    model_->setShowsNewRecord(on);
}

void DBGrid::scheduleSync()
{
    if (syncPending_)
        return;
    syncPending_ = true;
    QMetaObject::invokeMethod(this, [this] { guarded([this] { syncCurrentRow(); }); }, Qt::QueuedConnection);
}

void DBGrid::syncCurrentRow()
{
    syncPending_ = false;
    const int pos = model_->currentRow();
    syncing_ = true;
    if (pos >= 0 && pos < model_->rowCount() && model_->columnCount() > 0) {
        const QModelIndex at = model_->index(pos, std::clamp(column_, 0, model_->columnCount() - 1));
        QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
        if (selectionBehavior() == QAbstractItemView::SelectRows)
            how |= QItemSelectionModel::Rows;
        selectionModel()->setCurrentIndex(at, how);
        scrollTo(at);
    } else {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    }
    syncing_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid())
        return;
    column_ = current.column();
    // The table moves once control is back in the event loop, not while the
    // view is still handling the click.
    const bool queued = pendingRow_ >= 0;
    pendingRow_ = current.row();
    if (!queued)
        QMetaObject::invokeMethod(
            this,
            [this] {
                const int row = pendingRow_;
                pendingRow_ = -1;
                moveToRow(row);
            },
            Qt::QueuedConnection);
}

// Makes the record of `row` current. A pending change is settled first;
// posting it may shift the other records by one row, so the clicked record
// is looked for there.
void DBGrid::moveToRow(int row)
{
    Table* t = table();
    if (!t || !t->Active() || row < 0)
        return;
    guarded([&] {
        if (row >= t->RecordCount() || model_->isNewRecordRow(row))
            return;
        const std::vector<SjisString> target = t->rowValues(row);
        t->CheckBrowseMode();
        const int count = t->RecordCount();
        for (int r : {row, row - 1, row + 1}) {
            if (r >= 0 && r < count && t->rowValues(r) == target) {
                if (t->currentPosition() != r)
                    t->SetRecNo(r + 1);
                break;
            }
        }
    });
    syncCurrentRow();
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (appendable_ && model_->editable() && appendOrDelete(*event))
        return;
    QTableView::keyPressEvent(event);
}

// Down on the last row, Insert and Ctrl+Delete; false for any other key.
bool DBGrid::appendOrDelete(const QKeyEvent& event)
{
    Table* t = table();
    if (!t || !t->Active())
        return false;
    const bool insert = event.key() == Qt::Key_Insert && event.modifiers() == Qt::NoModifier;
    const bool down = event.key() == Qt::Key_Down && event.modifiers() == Qt::NoModifier
                      && currentIndex().row() == model_->rowCount() - 1;
    const bool remove = event.key() == Qt::Key_Delete && event.modifiers() == Qt::ControlModifier;
    if (!insert && !down && !remove)
        return false;
    commitOpenEditor();
    guarded([&] {
        if (remove) {
            if (t->RecordCount() > 0 || t->state() == Table::State::Insert)
                if (showMessage(QString::fromUtf8(kDeleteQuestion), {}, MessageIcon::Question, MessageButtons::YesNo,
                                this)
                    == MessageAnswer::Yes)
                    t->Delete();
        } else if (!(t->state() == Table::State::Insert && !t->Modified())) {
            t->Append();
        }
    });
    syncCurrentRow();
    return true;
}

void DBGrid::commitOpenEditor()
{
    if (QWidget* editor = indexWidget(currentIndex()); editor && state() == QAbstractItemView::EditingState) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// ---- DBNavigator ------------------------------------------------------------------------------

namespace {

struct ButtonLook {
    DBNavigator::Button button;
    const char* name;
    const char* glyph;
    const char* hint;
};

const std::array<ButtonLook, DBNavigator::kButtonCount> kButtonLooks = {{
    {DBNavigator::First, "First", "|◀", "先頭のレコード"},
    {DBNavigator::Prior, "Prior", "◀", "前のレコード"},
    {DBNavigator::Next, "Next", "▶", "次のレコード"},
    {DBNavigator::Last, "Last", "▶|", "最後のレコード"},
    {DBNavigator::Insert, "Insert", "＋", "レコードの挿入"},
    {DBNavigator::Delete, "Delete", "－", "レコードの削除"},
    {DBNavigator::Edit, "Edit", "▲", "レコードの編集"},
    {DBNavigator::Post, "Post", "✓", "編集の確定"},
    {DBNavigator::Cancel, "Cancel", "✕", "編集のキャンセル"},
    {DBNavigator::Refresh, "Refresh", "↻", "データの再表示"},
}};

int slotOf(DBNavigator::Button b)
{
    for (int i = 0; i < DBNavigator::kButtonCount; ++i)
        if (kButtonLooks[std::size_t(i)].button == b)
            return i;
    return -1;
}

}  // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonLook& look = kButtonLooks[std::size_t(i)];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(look.name));
        b->setText(QString::fromUtf8(look.glyph));
        b->setToolTip(QString::fromUtf8(look.hint));
        b->setFocusPolicy(Qt::NoFocus);  // the focus stays in the control being edited
        connect(b, &QToolButton::clicked, this, [this, which = look.button] { btnClick(which); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
    updateButtons();
}

void DBNavigator::setTable(Table* table)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    table_ = table;
    if (table) {
        connections_.push_back(connect(table, &Table::recordChanged, this, [this] { scheduleUpdate(); }));
        connections_.push_back(connect(table, &Table::dataSetChanged, this, [this] { scheduleUpdate(); }));
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(Buttons buttons)
{
    visible_ = buttons;
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[i]->setHidden(!visible_.testFlag(kButtonLooks[std::size_t(i)].button));
}

QToolButton* DBNavigator::button(Button which) const
{
    const int i = slotOf(which);
    return i < 0 ? nullptr : buttons_[i];
}

void DBNavigator::btnClick(Button which)
{
    Table* t = table_;
    if (!t || !t->Active())
        return;
    bool declined = false;
    const bool done = guarded([&] {
        switch (which) {
        case First: t->First(); break;
        case Prior: t->Prior(); break;
        case Next: t->Next(); break;
        case Last: t->Last(); break;
        case Insert: t->Insert(); break;
        case Delete:
            if (confirmDelete_ && showMessage(QString::fromUtf8(kDeleteQuestion), {}, MessageIcon::Question,
                                              MessageButtons::OkCancel, this) != MessageAnswer::Ok) {
                declined = true;
                return;
            }
            t->Delete();
            break;
        case Edit: t->Edit(); break;
        case Post: t->Post(); break;
        case Cancel: t->Cancel(); break;
        case Refresh: t->Refresh(); break;
        }
    });
    guarded([this] { updateButtons(); });
    if (done && !declined)
        emit clicked(which);
}

void DBNavigator::scheduleUpdate()
{
    if (updatePending_)
        return;
    updatePending_ = true;
    QMetaObject::invokeMethod(this, [this] { guarded([this] { updateButtons(); }); }, Qt::QueuedConnection);
}

void DBNavigator::updateButtons()
{
    updatePending_ = false;
    Table* t = table_;
    const bool active = t && t->Active();
    const bool editing =
        active && (t->state() == Table::State::Edit || t->state() == Table::State::Insert);
    const bool back = active && !t->Bof();
    const bool on = active && !t->Eof();
    const bool any = active && t->RecordCount() > 0;
    const bool enabled[kButtonCount] = {back, back, on, on, active, any, active && !editing, editing, editing, active};
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[i]->setEnabled(enabled[i]);
}

// ---- simulated input ----------------------------------------------------------------------------

void simulateTyping(QWidget* control, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(control, &event);
}

void simulateLeave(QWidget* control)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(control, &event);
}
