#include "record_book/expense_output_forms.h"

#include "components/core/data_directory.h"
#include "components/widgets/line_view.h"
#include "components/widgets/restore_pos.h"
#include "output/print_font.h"
#include "platform/error_guard.h"
#include "platform/modal.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

TExpenseEstablForm* ExpenseEstablForm = nullptr;
TExpenseOutForm* ExpenseOutForm = nullptr;

namespace {

QGroupBox* radioGroup(QWidget* parent, const char* name, const char* caption, QButtonGroup*& buttons,
                      std::initializer_list<const char*> items)
{
    auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    new QVBoxLayout(box);
    buttons = new QButtonGroup(box);
    for (const char* item : items) {
        auto* b = new QRadioButton(QString::fromUtf8(item), box);
        box->layout()->addWidget(b);
        buttons->addButton(b, buttons->buttons().size());
    }
    return box;
}

}  // namespace

TExpenseEstablForm::TExpenseEstablForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExpenseEstablForm"));
    setWindowTitle(QStringLiteral("費用出力設定"));
    auto* layout = new QVBoxLayout(this);
    RadioGroup1 = radioGroup(this, "RadioGroup1", "出力方法", scopes_,
                             {"現在表示されている１件のみ", "全件（フィルタの状態）"});
    RadioGroup2 = radioGroup(this, "RadioGroup2", "出力先", outputs_, {"印刷出力", "画面表示"});
    layout->addWidget(RadioGroup1);
    layout->addWidget(RadioGroup2);

    auto* perPage = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("１頁に印刷する件数"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    UpDown1 = new QSpinBox(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(0, 9999);
    UpDown1->setValue(3);
    Edit1 = UpDown1->findChild<QLineEdit*>();
    Edit1->setObjectName(QStringLiteral("Edit1"));
    perPage->addWidget(Label1);
    perPage->addWidget(UpDown1);
    perPage->addStretch(1);
    layout->addLayout(perPage);

    auto* checks = new QGroupBox(QStringLiteral("確認事項"), this);
    checks->setObjectName(QStringLiteral("GroupBox1"));
    auto* checkLayout = new QVBoxLayout(checks);
    CheckBox1 = new QCheckBox(QStringLiteral("仮ﾅﾝﾊﾞｰ取得"), checks);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("自賠責保険持ち込み"), checks);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    checkLayout->addWidget(CheckBox1);
    checkLayout->addWidget(CheckBox2);
    layout->addWidget(checks);

    Button1 = new QPushButton(QStringLiteral("印刷文字サイズ変更"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Button1);
    auto* buttons = new QHBoxLayout;
    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    setScope(0);
    setOutput(0);
    connectGuarded(outputs_, &QButtonGroup::idClicked, this, &TExpenseEstablForm::RadioGroup2Click);
    connectGuarded(Button1, &QPushButton::clicked, this, &TExpenseEstablForm::Button1Click);
    connectGuarded(OKBtn, &QPushButton::clicked, this, [this] {
        OKBtnClick();
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TExpenseEstablForm::~TExpenseEstablForm()
{
    if (ExpenseEstablForm == this)
        ExpenseEstablForm = nullptr;
}

int TExpenseEstablForm::scope() const { return scopes_->checkedId(); }
int TExpenseEstablForm::output() const { return outputs_->checkedId(); }
void TExpenseEstablForm::setScope(int index) { scopes_->button(index)->setChecked(true); }

// An output that is not offered falls back to the printer.
void TExpenseEstablForm::setOutput(int index)
{
    QAbstractButton* b = outputs_->button(index);
    (b ? b : outputs_->button(0))->setChecked(true);
}

void TExpenseEstablForm::addRequestOutput()
{
    auto* b = new QRadioButton(QStringLiteral("明細書"), RadioGroup2);
    RadioGroup2->layout()->addWidget(b);
    outputs_->addButton(b, 2);
}

bool TExpenseEstablForm::requestOutputOffered() const { return outputs_->button(2) != nullptr; }

void TExpenseEstablForm::showEvent(QShowEvent* e)
{
    guarded([this] { FormShow(); });
    QDialog::showEvent(e);
}

void TExpenseEstablForm::FormShow()
{
    dir_ = currentDataDirectory();
    if (const auto o = readExpenseOptions(dir_)) {
        Font = o->font;
        setScope(o->scope);
        setOutput(o->output);
        UpDown1->setValue(readNumber(o->recordsPerJob));
        Edit1->setText(sjis::decode(o->recordsPerJob));
    }
    RadioGroup2Click();
}

void TExpenseEstablForm::RadioGroup2Click()
{
    const bool printing = output() == 0;
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(UpDown1), static_cast<QWidget*>(Label1)})
        w->setEnabled(printing);
}

void TExpenseEstablForm::Button1Click()
{
    choosePrintFont(Font, this);
}

void TExpenseEstablForm::OKBtnClick()
{
    writeExpenseOptions(dir_, {Font, scope(), output(), sjis::encode(Edit1->text())});
}

TExpenseOutForm::TExpenseOutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExpenseOutForm"));
    setWindowTitle(QStringLiteral("費用出力"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new LineView(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo1);
    for (std::size_t i = 0; i < 6; ++i) {
        SpinEdits[i] = new QSpinBox(this);
        SpinEdits[i]->setObjectName(QStringLiteral("SpinEdit%1").arg(i + 1));
        SpinEdits[i]->setRange(INT_MIN, INT_MAX);
        SpinEdits[i]->hide();
        Labels[i] = new QLabel(this);
        Labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Labels[i]->hide();
    }
    resize(420, 520);
    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("ExpenseOutPut "));
    RestorePos1->restore();
}

TExpenseOutForm::~TExpenseOutForm()
{
    if (ExpenseOutForm == this)
        ExpenseOutForm = nullptr;
}

void TExpenseOutForm::setPrintFont(const FontBlock& font)
{
    Memo1->setFont(printFont(font));
}
