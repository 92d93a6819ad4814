#include "components/widgets/width_set_dialog.h"

#include "components/core/data_directory.h"
#include "components/formats/settings_file.h"
#include "components/formats/width_set.h"
#include "components/widgets/column_width.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"
#include "platform/modal.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kButtonHalfWidth = 37;
constexpr int kColumnPadding = 6;

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(0, 5, 75, 25);
    return b;
}

}  // namespace

// Edits the cells: a width column takes 0 to 99999 only (an emptied cell
// stores 0). Keeps the editor that is open, so that OK can hand its text
// over and Cancel can drop it.
class WidthCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && isWholeNumber(index))
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), line));
        editor_ = editor;
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || !isWholeNumber(index)) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        if (line->hasAcceptableInput())
            model->setData(index, line->text().isEmpty() ? QStringLiteral("0") : line->text());
    }

    // Hands the open editor's text to the record and closes it.
    void commitOpenEditor()
    {
        if (QWidget* editor = editor_) {
            emit commitData(editor);
            emit closeEditor(editor);
        }
    }

    // Closes the open editor without handing its text over.
    void dropOpenEditor()
    {
        if (QWidget* editor = editor_)
            emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }

private:
    static bool isWholeNumber(const QModelIndex& index)
    {
        const auto* model = qobject_cast<const DBGridModel*>(index.model());
        return model && model->table()
               && model->table()->FieldDefinition(model->fieldIndex(index.column())).type == FieldType::WholeNumber;
    }

    mutable QPointer<QWidget> editor_;
};

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    resize(17, 24);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setGeometry(0, 0, 17, 12);
    down_->setGeometry(0, 12, 17, 12);
    for (QToolButton* b : {up_, down_})
        b->setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

TInDTLenForm::TInDTLenForm(Table& widthSets, WidthSetDialogOptions options, QWidget* parent)
    : QDialog(parent), table_(widthSets), options_(std::move(options))
{
    setObjectName(options_.objectName);
    setWindowTitle(QStringLiteral("印刷＆バックアップ桁数設定"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new Panel(this, Align::None, QStringLiteral("Panel1"));
    Panel1->setFixedHeight(30);
    Panel1->setCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel1->setCaption(options_.instruction);
    Edit1 = new QLineEdit(QStringLiteral("1"), Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(0, 3, 41, 24);
    UpDown1 = new UpDown(Panel1);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    layout->addWidget(Panel1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    delegate_ = new WidthCellDelegate(DBGrid1);
    DBGrid1->setItemDelegate(delegate_);
    DBGrid1->horizontalHeader()->setMinimumSectionSize(0);
    DBGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    DBGrid1->setTable(&table_);
    layout->addWidget(DBGrid1, 1);

    BtnPanel = new Panel(this, Align::None, QStringLiteral("BtnPanel"));
    BtnPanel->setFixedHeight(35);
    OKBtn = button(BtnPanel, "OKBtn", "OK(&Y)");
    OKBtn->setDefault(true);
    CancelBtn = button(BtnPanel, "CancelBtn", "ｷｬﾝｾﾙ");
    layout->addWidget(BtnPanel);

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        if (guarded([this] { OKBtnClick(); }))
            accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(Edit1, &QLineEdit::textChanged, this, &TInDTLenForm::Edit1Change);
    connectGuarded(UpDown1, &UpDown::stepped, this, &TInDTLenForm::stepRow);
    Edit1->installEventFilter(this);

    RestorePos1 = new TRestorePos(this, options_.positionKey, options_.positionPrefix);
    move(options_.geometry.topLeft());
    resize(options_.geometry.size());
    setEditing(false);
    FormCreate();
    RestorePos1->restore();
}

TInDTLenForm::~TInDTLenForm() = default;

void TInDTLenForm::FormCreate()
{
    directory_ = currentDataDirectory();
    readColumnWidths();
    if (options_.busyLabel)
        options_.busyLabel->setText(QStringLiteral("Busy"));
}

void TInDTLenForm::showEdit()
{
    Panel1->setCaption({});
    setEditing(true);
    showModal(*this);
}

bool TInDTLenForm::choose(const QString& instruction)
{
    Panel1->setCaption(instruction);
    setEditing(false);
    showCurrentRow();
    return showModal(*this) == QDialog::Accepted && Panel1->caption().isEmpty();
}

std::optional<WidthSet> TInDTLenForm::chooseSet(const QString& instruction)
{
    if (!choose(instruction))
        return std::nullopt;
    if (table_.IsEmpty()) {
        showMessage(QStringLiteral("印刷＆バックアップ桁数設定（INDTLEN）に設定がありません。\r"
                                   "設定を登録してから、もう一度実行してください。"),
                    {}, MessageIcon::Error, MessageButtons::Ok, parentWidget());
        return std::nullopt;
    }
    return widthSetOf(table_);
}

void TInDTLenForm::showCurrentRow()
{
    Edit1->setText(QString::number(table_.RecNo()));
}

void TInDTLenForm::setEditing(bool on)
{
    const bool editing = on && options_.canEdit;
    DBGrid1->setEditable(editing);
    DBGrid1->setAppendable(editing);
    Edit1->setVisible(!editing);
    UpDown1->setVisible(!editing);
}

// The buttons at a third and two thirds of the button panel; the number box
// at the right end of the instruction.
void TInDTLenForm::FormResize()
{
    const int third = BtnPanel->width() / 3;
    OKBtn->move(third - kButtonHalfWidth, OKBtn->y());
    CancelBtn->move(third * 2 - kButtonHalfWidth, CancelBtn->y());
    UpDown1->move(Panel1->width() - UpDown1->width() - 8, 3);
    Edit1->move(UpDown1->x() - Edit1->width(), Edit1->y());
}

void TInDTLenForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (auto* l = layout())
        l->activate();
    FormResize();
}

// The row numbered in Edit1 becomes current; a number past the last row
// is replaced by the last row's.
void TInDTLenForm::Edit1Change()
{
    int n = readNumber(Edit1->text().toStdString());
    const int count = table_.RecordCount();
    if (n > count) {
        n = count;
        const QSignalBlocker block(Edit1);
        Edit1->setText(QString::number(n));
    }
    if (n >= 1 && n != table_.RecNo())
        table_.SetRecNo(n);
}

void TInDTLenForm::stepRow(int delta)
{
    const int count = table_.RecordCount();
    if (count > 0)
        Edit1->setText(QString::number(std::clamp(readNumber(Edit1->text().toStdString()) + delta, 1, count)));
}

bool TInDTLenForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Edit1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            guarded([&] { stepRow(key == Qt::Key_Up ? 1 : -1); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

// In edit mode the current row is posted with what its open cell holds (a
// new set left untouched is dropped); a refused post keeps the dialog open
// for the user to mend or cancel.
void TInDTLenForm::OKBtnClick()
{
    if (DBGrid1->gridModel()->editable()) {
        delegate_->commitOpenEditor();
        table_.CheckBrowseMode();
    }
    if (!options_.columnWidthsFile.isEmpty())
        guarded([this] { writeColumnWidths(); });
    Panel1->setCaption({});
}

void TInDTLenForm::done(int result)
{
    if (result != QDialog::Accepted)
        guarded([this] { cancelPendingEdit(); });
    QDialog::done(result);
}

void TInDTLenForm::cancelPendingEdit()
{
    if (!DBGrid1->gridModel()->editable())
        return;
    delegate_->dropOpenEditor();
    if (table_.state() != Table::State::Browse)
        table_.Cancel();
}

std::vector<int> TInDTLenForm::columnWidths() const
{
    const ColumnWidth unit(DBGrid1->fontMetrics(), kColumnPadding);
    std::vector<int> widths;
    for (int c = 0; c < DBGrid1->gridModel()->columnCount(); ++c)
        widths.push_back(unit.charactersIn(DBGrid1->columnWidth(c)));
    return widths;
}

// Columns as wide as their titles and values; a width kept in the file
// (not 0) replaces that.
void TInDTLenForm::readColumnWidths()
{
    ensurePolished();  // the header's own font, which may be bold
    DBGrid1->resizeColumnsToContents();
    if (options_.columnWidthsFile.isEmpty())
        return;
    guarded([this] {
        const auto file = readSettingsFile(directory_, options_.columnWidthsFile);
        if (!file)
            return;
        const ColumnWidth unit(DBGrid1->fontMetrics(), kColumnPadding);
        const std::vector<int> widths =
            chooserColumnWidthsFromLines(*file, std::size_t(DBGrid1->gridModel()->columnCount()));
        for (std::size_t c = 0; c < widths.size(); ++c)
            if (widths[c] > 0)
                DBGrid1->setColumnWidth(int(c), unit.pixels(widths[c]));
    });
}

void TInDTLenForm::writeColumnWidths()
{
    writeSettingsFile(directory_, options_.columnWidthsFile, chooserColumnWidthsLines(columnWidths()));
}
