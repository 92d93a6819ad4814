#include "record_book/expense_form.h"

#include "components/core/table.h"
#include "components/formats/cost_settings.h"
#include "components/widgets/panel.h"
#include "platform/error_guard.h"
#include "platform/screen_fit.h"
#include "record_book/model/costs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

TExpenseForm* ExpenseForm = nullptr;

namespace {

constexpr int kFlatGroup = 5, kFirstFeeGroup = 6, kPlateGroup = 9;
constexpr int kBus = 4, kSpecialPurpose = 3;
constexpr int kTop = 18, kPitch = 22, kEditWidth = 60, kColumnWidth = 64, kLabelWidth = 70;

const char* const kGroupNames[] = {"JyouyouGroup", "kamotuGroup", "TokusyuGroup", "NoriaiGroup", "TokushyuGroup"};
const char* const kPanelNames[] = {"JyouyouPanel", "kamotuPanel", "TokusyuPanel", "NoriaiPanel", "TokushyuPanel"};
const char* const kAmountHeaders[] = {"自家用", "事業用", "自家用貨物", "事業用貨物"};
const char* const kFlatLabels[] = {"軽自動車", "二輪", "事業用軽貨物", "二輪事業用"};

// The first fee column of each use's block, and its column count.
constexpr int kFirstFeeColumn[] = {0, 2, 4, 8, 10};
constexpr int kFeeColumns[] = {2, 2, 4, 2, 2};

// Row labels of the fee groups by use.
const char* feeRowLabel(int use, int row)
{
    static const char* const general[] = {"軽自動車", "小型", "普通", "二輪"};
    if (use == 2 && row >= 3)
        return row == 3 ? "普通2t以下" : "　　　2t　超";
    if (use == 5 && row == 3)
        return "大型";
    if (use == kBus)
        return row == 2 ? "乗　合" : row == 4 ? "二　輪" : "";
    return general[row - 1];
}

std::vector<ExpenseFormField> makeFields()
{
    std::vector<ExpenseFormField> f;
    for (int use = 1; use <= kCostUses; ++use)
        for (int r = 1; r <= kBracketRows; ++r) {
            f.push_back({"WeightTax", weightBoundField(use, r), use - 1, r, 0});
            f.push_back({"WeightTax", weightAmountField(use, r), use - 1, r, 1});
            f.push_back({"WeightTax", weightAmountField(use, r + 13), use - 1, r, 2});
            if (use == kSpecialPurpose) {
                f.push_back({"WeightTax", weightAmountField(use, r + 26), use - 1, r, 3});
                f.push_back({"WeightTax", weightAmountField(use, r + 39), use - 1, r, 4});
            }
        }
    for (int i = 0; i < 4; ++i)
        f.push_back({"WeightTax", flatWeightTaxFields()[std::size_t(i)], kFlatGroup, i + 1, 0});
    for (FeeKind kind : {FeeKind::Insurance, FeeKind::Stamp, FeeKind::Misc}) {
        const int group = kFirstFeeGroup + int(kind);
        auto add = [&](int use, int k, int row, int column) {
            f.push_back({"Expense", feeField(kind, use, k), group, row, column});
        };
        for (int use = 1; use <= kCostUses; ++use) {
            const int c = kFirstFeeColumn[use - 1];
            if (use == kBus) {
                for (int row : {2, 4}) {
                    add(use, row == 2 ? 1 : 4, row, c);
                    add(use, row == 2 ? 5 : 8, row, c + 1);
                }
                continue;
            }
            for (int row = 1; row <= 4; ++row) {
                add(use, row, row, c);
                add(use, row + 4, row, c + 1);
            }
            if (use == kSpecialPurpose)
                for (int row : {2, 3}) {
                    add(kBus, row, row, c + 2);
                    add(kBus, row + 4, row, c + 3);
                }
        }
    }
    f.push_back({"Expense", kPlateField, kPlateGroup, 1, 0});
    return f;
}

QLineEdit* numberEdit(QWidget* parent, const std::string& field)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromStdString(field));
    static const QRegularExpression whole(QStringLiteral("-?[0-9]{0,9}"));
    e->setValidator(new QRegularExpressionValidator(whole, e));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

QLabel* label(QWidget* parent, const char* text, int x, int y, int w, Qt::Alignment a = Qt::AlignLeft)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(x, y, w, kPitch - 4);
    l->setAlignment(a | Qt::AlignVCenter);
    return l;
}

int rowTop(int row) { return kTop + kPitch * row; }

}  // namespace

const std::vector<ExpenseFormField>& expenseFormFields()
{
    static const std::vector<ExpenseFormField> fields = makeFields();
    return fields;
}

TExpenseForm::TExpenseForm(CostTables& tables, const QString& dataDir, QWidget* parent)
    : QDialog(parent), tables_(tables), dataDir_(dataDir)
{
    setObjectName(QStringLiteral("ExpenseForm"));
    setWindowTitle(QStringLiteral("費用"));
    QFont f = font();
    f.setPointSize(9);
    setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidget(buildContents());
    layout->addWidget(ScrollBox1, 1);

    BtnPanel = new QWidget(this);
    BtnPanel->setObjectName(QStringLiteral("BtnPanel"));
    BtnPanel->setFixedHeight(41);
    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), BtnPanel);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), BtnPanel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton* b : {OKBtn, CancelBtn})
        b->setGeometry(0, 8, 75, 25);
    layout->addWidget(BtnPanel);

    connectGuarded(OKBtn, &QPushButton::clicked, this, &TExpenseForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(Edit1, &QLineEdit::textChanged, this, &TExpenseForm::Edit1Change);
    for (int use = 1; use <= kUses; ++use)
        connectGuarded(buttons_[std::size_t(use - 1)], &QButtonGroup::idClicked, this,
                       [this, use](int row) { groupClick(use, row); });

    resize(1180, 760);
    keepOnScreen(this);  // on a smaller screen the groups scroll
    FormCreate();
}

TExpenseForm::~TExpenseForm()
{
    if (ExpenseForm == this)
        ExpenseForm = nullptr;
}

QWidget* TExpenseForm::buildContents()
{
    auto* contents = new QWidget;
    auto* column = new QVBoxLayout(contents);

    auto* weight = new QGroupBox(QStringLiteral("重量税"), contents);
    auto* grid = new QGridLayout(weight);
    for (int use = 1; use <= kUses; ++use)
        grid->addWidget(buildBracketGroup(weight, use), (use - 1) / 3, (use - 1) % 3, Qt::AlignLeft | Qt::AlignTop);
    auto* other = new QGroupBox(QStringLiteral("その他"), weight);
    other->setFixedSize(kLabelWidth + 30 + kColumnWidth + 16, rowTop(5) + 6);
    grid->addWidget(other, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    for (int row = 1; row <= 4; ++row)
        label(other, kFlatLabels[row - 1], 8, rowTop(row), kLabelWidth + 30);
    column->addWidget(weight);

    feeGroups_ = {buildFeeGroup(contents, QStringLiteral("自賠責")), buildFeeGroup(contents, QStringLiteral("検査印紙")),
                  buildFeeGroup(contents, {})};
    GroupBox4 = feeGroups_[2];
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    for (QGroupBox* g : feeGroups_)
        column->addWidget(g);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("仮ﾅﾝﾊﾞｰ"), contents));
    auto* plate = new QWidget(contents);
    plate->setFixedSize(kEditWidth, kPitch - 2);
    bottom->addWidget(plate);
    bottom->addSpacing(24);
    bottom->addWidget(new QLabel(QStringLiteral("名称変更"), contents));
    Edit1 = new QLineEdit(QStringLiteral("諸費用"), contents);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(160);
    bottom->addWidget(Edit1);
    bottom->addStretch(1);
    column->addLayout(bottom);

    // The edits of the descriptors, placed by group, row and column.
    for (const ExpenseFormField& f : expenseFormFields()) {
        QWidget* parent = f.group < kUses         ? radioGroups[std::size_t(f.group)]
                          : f.group == kFlatGroup  ? other
                          : f.group == kPlateGroup ? plate
                                                   : feeGroups_[std::size_t(f.group - kFirstFeeGroup)];
        QLineEdit* e = numberEdit(parent, f.field);
        edits_.emplace_back(&f, e);
        if (f.group == kPlateGroup) {
            e->setGeometry(0, 0, kEditWidth, kPitch - 2);
        } else if (f.group == kFlatGroup) {
            e->setGeometry(kLabelWidth + 30, rowTop(f.row), kEditWidth, kPitch - 2);
        } else if (f.group < kUses) {
            // The bound's edit lies over the blanks of its item's caption, above
            // the item so that it takes the click, clear of the "Kg" after them.
            const QRadioButton* r = radioItem(f.group + 1, 1);
            const QStyle* st = r->style();
            const int text = st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, r) +
                             st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, r);
            const int blank = r->fontMetrics().horizontalAdvance(QStringLiteral("　　　　 ")) - 5;
            const int x = f.column == 0 ? r->x() + text : r->geometry().right() + 6 + (f.column - 1) * kColumnWidth;
            e->setGeometry(x, rowTop(f.row), f.column == 0 ? blank : kEditWidth, kPitch - 2);
        } else {
            int use = 1;
            while (use < kUses && f.column >= kFirstFeeColumn[use])
                ++use;
            const int x = 8 + (use - 1) * kLabelWidth + f.column * kColumnWidth + kLabelWidth;
            e->setGeometry(x, rowTop(f.row), kEditWidth, kPitch - 2);
        }
    }
    for (Panel* p : coverPanels)
        p->raise();
    contents->adjustSize();
    return contents;
}

// A radio group of 13 items with the amount columns beside them, and the
// panel that covers the edits of the empty rows.
QGroupBox* TExpenseForm::buildBracketGroup(QWidget* parent, int use)
{
    auto* box = new QGroupBox(QString::fromUtf8(costUseName(use)), parent);
    box->setObjectName(QString::fromLatin1(kGroupNames[use - 1]));
    auto* group = new QButtonGroup(box);
    const QString below = QStringLiteral("　　　　 Kg 以下"), step = QStringLiteral("         Kg 毎増");
    // The step row's caption starts with narrower blanks: the item moves
    // right so that its "Kg" lines up, its button under the bound's edit.
    const QFontMetrics fm(font());
    const int stepShift = fm.horizontalAdvance(below.left(5)) - fm.horizontalAdvance(step.left(9));
    int right = 0;
    for (int r = 1; r <= kBracketRows; ++r) {
        auto* item = new QRadioButton(r < 13 ? below : step, box);
        item->move(r < 13 ? 8 : 8 + stepShift, rowTop(r));
        item->adjustSize();
        group->addButton(item, r - 1);
        right = std::max(right, item->geometry().right());
    }
    // Row 13 is the step: its radio button stays covered.
    auto* stepCover = new Panel(box, Align::None);
    stepCover->setAutoFillBackground(true);
    stepCover->setGeometry(6, rowTop(13), 20 + stepShift, kPitch - 2);
    const int columns = use == kSpecialPurpose ? 4 : 2;
    for (int c = 0; c < columns; ++c)
        label(box, kAmountHeaders[c], right + 6 + c * kColumnWidth, kTop, kEditWidth, Qt::AlignCenter);
    box->setFixedSize(right + 6 + columns * kColumnWidth + 8, rowTop(14) + 4);
    auto* cover = new Panel(box, Align::None, QString::fromLatin1(kPanelNames[use - 1]));
    cover->setAutoFillBackground(true);
    cover->setGeometry(26, rowTop(13), box->width() - 30, 0);
    buttons_[std::size_t(use - 1)] = group;
    radioGroups[std::size_t(use - 1)] = box;
    coverPanels[std::size_t(use - 1)] = cover;
    return box;
}

QGroupBox* TExpenseForm::buildFeeGroup(QWidget* parent, const QString& caption)
{
    auto* box = new QGroupBox(caption, parent);
    int width = 8;
    for (int use = 1; use <= kUses; ++use) {
        const int x = 8 + (use - 1) * kLabelWidth + kFirstFeeColumn[use - 1] * kColumnWidth;
        label(box, costUseName(use), x, kTop, kLabelWidth);
        for (int c = 0; c < kFeeColumns[use - 1]; ++c)
            label(box, kAmountHeaders[c], x + kLabelWidth + c * kColumnWidth, kTop, kEditWidth, Qt::AlignCenter);
        for (int row = 1; row <= 4; ++row)
            label(box, feeRowLabel(use, row), x, rowTop(row), kLabelWidth);
        width = x + kLabelWidth + kFeeColumns[use - 1] * kColumnWidth;
    }
    box->setFixedSize(width + 8, rowTop(5) + 4);
    return box;
}

QLineEdit* TExpenseForm::fieldEdit(const std::string& field) const
{
    for (const auto& [f, e] : edits_)
        if (f->field == field)
            return e;
    return nullptr;
}

QRadioButton* TExpenseForm::radioItem(int use, int row) const
{
    return qobject_cast<QRadioButton*>(buttons_[std::size_t(use - 1)]->button(row - 1));
}

SjisString TExpenseForm::feeName() const
{
    return Edit1->text() == sjis::decode(nameBytes_) ? nameBytes_ : sjis::encode(Edit1->text());
}

void TExpenseForm::FormCreate()
{
    nameBytes_ = readExpenseName(dataDir_).value_or(defaultExpenseName());
    Edit1->setText(sjis::decode(nameBytes_));
    Edit1Change();
    tables_.open();
    loadFields();
}

// The edits show the tables' rows; the groups are laid out for them.
void TExpenseForm::loadFields()
{
    Table& weightTax = tables_.weightTax();
    Table& expense = tables_.expense();
    for (const auto& [f, e] : edits_) {
        Table& t = f->table == std::string_view("WeightTax") ? weightTax : expense;
        e->setText(t.FieldByName(f->field).DisplayText());
    }
    for (int use = 1; use <= kUses; ++use)
        layOutGroup(use, rowCount(use));
}

int TExpenseForm::rowCount(int use) const
{
    std::array<long long, kBracketRows> bounds{};
    for (int r = 1; r <= kBracketRows; ++r)
        bounds[std::size_t(r - 1)] = fieldEdit(weightBoundField(use, r))->text().toLongLong();
    return bracketRowCount(bounds);
}

// Row n - 1, the last filled one, is selected; the cover hides the edits
// of rows n..12.
void TExpenseForm::layOutGroup(int use, int n)
{
    QButtonGroup* group = buttons_[std::size_t(use - 1)];
    if (n >= 2) {
        group->button(n - 2)->setChecked(true);
    } else if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
    for (const auto& [f, e] : edits_)
        if (f->group == use - 1 && f->row < kBracketRows)
            e->setEnabled(f->row < n);  // no typing into covered rows
    Panel* cover = coverPanels[std::size_t(use - 1)];
    const int top = rowTop(n);
    cover->setGeometry(cover->x(), top, cover->width(), rowTop(13) - top);
}

// A click below the last filled row uncovers the first empty one.
void TExpenseForm::groupClick(int use, int row)
{
    int n = rowCount(use);
    if (row + 1 > n - 1)
        n = std::min(n + 1, 13);
    layOutGroup(use, n);
}

void TExpenseForm::Edit1Change() { GroupBox4->setTitle(Edit1->text()); }

void TExpenseForm::writeFields(Table& table, const char* name)
{
    table.Edit();
    for (const auto& [f, e] : edits_)
        if (f->table == std::string_view(name))
            table.FieldByName(f->field).SetAsInteger(e->text().toLongLong());
    table.Post();
}

void TExpenseForm::OKBtnClick()
{
    writeExpenseName(dataDir_, feeName());
    nameBytes_ = feeName();
    writeFields(tables_.weightTax(), "WeightTax");
    writeFields(tables_.expense(), "Expense");
    accept();
}

// Every close drops what was not saved, clears the rows after the first
// empty bound and lays the groups out anew.
void TExpenseForm::FormCloseQuery()
{
    for (Table* t : {&tables_.weightTax(), &tables_.expense()})
        if (t->state() != Table::State::Browse)
            t->Cancel();
    tables_.clearEmptyBrackets();
    loadFields();
}

void TExpenseForm::done(int result)
{
    guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TExpenseForm::FormResize()
{
    const int third = BtnPanel->width() / 3;
    OKBtn->move(third - 37, OKBtn->y());
    CancelBtn->move(third * 2 - 37, CancelBtn->y());
}

void TExpenseForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormResize();
}

void TExpenseForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    FormResize();
}
