#include "record_book/spec_dialogs.h"

#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/list_settings.h"
#include "components/core/table.h"
#include "platform/error_guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormDlg* FormDlg = nullptr;
TFListForm* FListForm = nullptr;

namespace {

constexpr int kButtonHalfWidth = 37;

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setFixedWidth(120);
    return e;
}

}  // namespace

// ---- FormDlg ----------------------------------------------------------------------

TFormDlg::TFormDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDlg"));
    setWindowTitle(QStringLiteral("諸元表呼び出し"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QGridLayout(this);
    auto* label1 = new QLabel(QStringLiteral("型式指定番号"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("類別区分番号"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = numberEdit(this, "Edit1");
    Edit2 = numberEdit(this, "Edit2");
    layout->addWidget(label1, 0, 0);
    layout->addWidget(Edit1, 0, 1);
    layout->addWidget(label2, 1, 0);
    layout->addWidget(Edit2, 1, 1);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    layout->addWidget(OKBtn, 2, 0, 1, 2, Qt::AlignHCenter);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    for (QLineEdit* e : {Edit1, Edit2})
        e->installEventFilter(this);
    setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

void TFormDlg::FormShow()
{
    Edit1->clear();
    Edit2->clear();
    Edit1->setFocus();
}

void TFormDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

// Enter in a number moves on to the next control instead of closing.
bool TFormDlg::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

// ---- FListForm --------------------------------------------------------------------

TFListForm::TFListForm(Table& code, QWidget* parent) : QDialog(parent), table_(code)
{
    setObjectName(QStringLiteral("FListForm"));
    setWindowTitle(QStringLiteral("諸元表の修正"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new Panel(this, Align::None, QStringLiteral("Panel1"));
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 2, 4, 2);
    auto navigator = [&](const char* name, DBNavigator::Buttons buttons) {
        auto* n = new DBNavigator(top);
        n->setObjectName(QString::fromLatin1(name));
        n->setTable(&table_);
        n->setVisibleButtons(buttons);
        topLayout->addWidget(n);
        return n;
    };
    DBNavigator1 = navigator("DBNavigator1", DBNavigator::First | DBNavigator::Prior | DBNavigator::Next
                                                 | DBNavigator::Last | DBNavigator::Post);
    DBNavigator2 = navigator("DBNavigator2", DBNavigator::Delete);
    DBNavigator3 = navigator("DBNavigator3", DBNavigator::Cancel);
    topLayout->addStretch(1);
    layout->addWidget(top);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setTable(&table_);
    DBGrid1->setEditable(true);
    DBGrid1->horizontalHeader()->setMinimumSectionSize(0);
    layout->addWidget(DBGrid1, 1);

    Panel2 = new Panel(this, Align::None, QStringLiteral("Panel2"));
    Panel2->setFixedHeight(41);
    OKBtn = new QPushButton(QStringLiteral("OK"), Panel2);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(0, 8, 75, 25);
    layout->addWidget(Panel2);
    // OK closes the dialog even when FormListLen.INI cannot be written.
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        guarded([this] { OKBtnClick(); });
        accept();
    });

    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int pixels) {
        if (applyingWidths_ || column < 0 || std::size_t(column) >= widths_.size())
            return;
        widths_[std::size_t(column)] = columnWidth().charactersIn(pixels);
    });

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("FList "));

    resize(640, 400);
    FormCreate();
    RestorePos1->restore();
}

TFListForm::~TFListForm()
{
    if (FListForm == this)
        FListForm = nullptr;
}

ColumnWidth TFListForm::columnWidth() const
{
    return ColumnWidth(fontMetrics(), 6);
}

void TFListForm::setColumnWidth(int column, int characters)
{
    if (column < 0 || std::size_t(column) >= widths_.size())
        return;
    widths_[std::size_t(column)] = characters;
    applyingWidths_ = true;
    DBGrid1->setColumnWidth(column, columnWidth().pixels(characters));
    applyingWidths_ = false;
}

// Widths from FormListLen.INI: pairs of a field number (from 1) and a width
// in characters. A pair whose field the grid does not show is passed over
// (the converter keeps a file of the same name in another layout).
void TFListForm::FormCreate()
{
    Directory = currentDataDirectory();
    const int columns = DBGrid1->gridModel()->columnCount();
    widths_.assign(std::size_t(columns), 0);
    for (int c = 0; c < columns; ++c) {
        const FieldDef& f = table_.FieldDefinition(DBGrid1->gridModel()->fieldIndex(c));
        const int minimum = f.type == FieldType::WholeNumber ? 8 : 16;
        setColumnWidth(c, std::max(minimum, int(sjis::fromUtf8(f.name).size())));
    }
    guarded([&] {
        for (const auto& [fieldNo, width] : readSpecColumnWidths(Directory).columns) {
            const int column = fieldNo - 1;
            if (column >= 0 && column < columns && width >= 0)
                setColumnWidth(column, width);
        }
    });
}

void TFListForm::FormResize()
{
    OKBtn->move(Panel2->width() / 2 - kButtonHalfWidth, OKBtn->y());
}

void TFListForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (auto* l = layout())
        l->activate();
    FormResize();
}

void TFListForm::OKBtnClick()
{
    ColumnWidths widths;
    for (int c = 0; c < int(widths_.size()); ++c)
        widths.columns.emplace_back(DBGrid1->gridModel()->fieldIndex(c) + 1, widths_[std::size_t(c)]);
    writeSpecColumnWidths(Directory, widths);
}
