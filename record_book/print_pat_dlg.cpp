#include "record_book/print_pat_dlg.h"

#include "components/core/data_directory.h"
#include "components/widgets/dual_list.h"
#include "output/print_font.h"
#include "platform/error_guard.h"
#include "platform/modal.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPrintPatDlg* PrintPatDlg = nullptr;

namespace {

constexpr int kMaxSpin = 9999;

QGroupBox* radioGroup(QWidget* parent, QButtonGroup*& buttons, const char* name, const char* caption,
                      std::initializer_list<const char*> items)
{
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    group->setObjectName(QString::fromLatin1(name));
    auto* column = new QVBoxLayout(group);
    buttons = new QButtonGroup(group);
    for (const char* item : items) {
        auto* b = new QRadioButton(QString::fromUtf8(item), group);
        buttons->addButton(b, buttons->buttons().size());
        column->addWidget(b);
    }
    return group;
}

QSpinBox* spinEdit(QWidget* parent, const char* name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, kMaxSpin);
    spin->setFixedWidth(70);
    return spin;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

// An edit's text as bytes: the bytes it was given, with the user's change.
SjisString editBytes(const QLineEdit* edit)
{
    const SjisString original = edit->property("bytes").toByteArray().toStdString();
    return sjis::encodeEdit(original, sjis::decode(original), edit->text());
}

void setEditBytes(QLineEdit* edit, const SjisString& bytes)
{
    edit->setProperty("bytes", QByteArray::fromStdString(bytes));
    edit->setText(sjis::decode(bytes));
}

void setChecked(QButtonGroup* group, int index)
{
    if (QAbstractButton* b = group->button(index))
        b->setChecked(true);
}

}  // namespace

TPrintPatDlg::TPrintPatDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintPatDlg"));
    setWindowTitle(QStringLiteral("印刷設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    RadioGroup1 = radioGroup(this, scopeButtons_, "RadioGroup1", "出力件数",
                             {"現在表示されている１件のみ", "全件（フィルタの状態）"});
    RadioGroup2 = radioGroup(this, methodButtons_, "RadioGroup2", "出力方法", {"指定した項目のみ", "全項目（画面出力）"});
    Label1 = new QLabel(QStringLiteral("１頁に印刷する件数"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = spinEdit(this, "Edit1");
    Label4 = new QLabel(QStringLiteral("境界線の長さ"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Edit2 = spinEdit(this, "Edit2");
    Button1 = new QPushButton(QStringLiteral("印刷文字サイズ変更"), this);
    Button1->setObjectName(QStringLiteral("Button1"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* titles = new QGridLayout(Panel1);
    titles->setSpacing(2);
    const char* headers[] = {"表　題　名　称", "位置", "サイズ", "日付位置", "サイズ"};
    QLineEdit** edits[] = {&HyouEdit, &HyouPEdit, &HyouSEdit, &DayPEdit, &DaySEdit};
    const char* names[] = {"HyouEdit", "HyouPEdit", "HyouSEdit", "DayPEdit", "DaySEdit"};
    for (int i = 0; i < 5; ++i) {
        auto* header = new QLabel(QString::fromUtf8(headers[i]), Panel1);
        header->setAlignment(Qt::AlignCenter);
        header->setFrameStyle(QFrame::Panel | QFrame::Raised);
        titles->addWidget(header, 0, i);
        *edits[i] = lineEdit(Panel1, names[i], i == 0 ? 0 : 56);
        titles->addWidget(*edits[i], 1, i);
    }
    titles->setColumnStretch(0, 1);

    Chooser = new TDualListChooser(QStringLiteral("出力しない項目"), QStringLiteral("出力する項目"),
                                   TDualListChooser::Buttons::MoveAndOrder, this);
    Chooser->Label1->setObjectName(QStringLiteral("Label2"));
    Chooser->Label2->setObjectName(QStringLiteral("Label3"));
    Chooser->setMinimumHeight(220);

    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    groups->addWidget(RadioGroup1);
    groups->addWidget(RadioGroup2);
    layout->addLayout(groups);
    auto* numbers = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(Edit2)})
        numbers->addWidget(w);
    numbers->addStretch();
    numbers->addWidget(Button1);
    layout->addLayout(numbers);
    layout->addWidget(Panel1);
    layout->addWidget(Chooser, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        if (guarded([this] { OKBtnClick(); }))
            accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(scopeButtons_, &QButtonGroup::idClicked, this, &TPrintPatDlg::RadioGroup1Click);
    connectGuarded(methodButtons_, &QButtonGroup::idClicked, this, &TPrintPatDlg::RadioGroup2Click);
    connectGuarded(Button1, &QPushButton::clicked, this, &TPrintPatDlg::Button1Click);

    applySettings(ListPrintSettings{});
    applyTitles(ListTitleSettings{});
    setFixedSize(sizeHint().expandedTo(QSize(560, 0)));
    guarded([this] { FormShow(); });
}

TPrintPatDlg::~TPrintPatDlg()
{
    if (PrintPatDlg == this)
        PrintPatDlg = nullptr;
}

int TPrintPatDlg::scope() const { return scopeButtons_->checkedId(); }
int TPrintPatDlg::method() const { return methodButtons_->checkedId(); }
void TPrintPatDlg::setScope(int index) { setChecked(scopeButtons_, index); }
void TPrintPatDlg::setMethod(int index) { setChecked(methodButtons_, index); }

void TPrintPatDlg::applySettings(const ListPrintSettings& s)
{
    Font = s.font;
    setScope(s.scope);
    setMethod(s.method);
    Edit1->setValue(readNumber(s.perJob));
    Edit2->setValue(readNumber(s.separatorLength));
    Chooser->setLeftEntries(s.columns.left);
    Chooser->setRightEntries(s.columns.right);
}

void TPrintPatDlg::applyTitles(const ListTitleSettings& t)
{
    setEditBytes(HyouEdit, t.title);
    setEditBytes(HyouPEdit, t.titlePosition);
    setEditBytes(HyouSEdit, t.titleSize);
    setEditBytes(DayPEdit, t.datePosition);
    setEditBytes(DaySEdit, t.dateSize);
}

ListPrintSettings TPrintPatDlg::settings() const
{
    ListPrintSettings s;
    s.font = Font;
    s.scope = scope();
    s.method = method();
    s.perJob = Edit1->text().toStdString();
    s.separatorLength = Edit2->text().toStdString();
    s.columns = {Chooser->leftEntries(), Chooser->rightEntries()};
    return s;
}

ListTitleSettings TPrintPatDlg::titles() const
{
    return {editBytes(HyouEdit), editBytes(HyouPEdit), editBytes(HyouSEdit), editBytes(DayPEdit), editBytes(DaySEdit)};
}

void TPrintPatDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    guarded([this] { FormShow(); });
}

void TPrintPatDlg::FormShow()
{
    Directory = currentDataDirectory();
    if (const auto stored = readListPrintSettings(Directory))
        applySettings(*stored);
    if (const auto stored = readListTitleSettings(Directory))
        applyTitles(*stored);
    const bool perJob = scope() != 0 && method() != 1;
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label1)})
        w->setEnabled(perJob);
    enableListControls(method() == 0);
}

void TPrintPatDlg::enableListControls(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(Chooser), static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(Button1)})
        w->setEnabled(on);
}

void TPrintPatDlg::RadioGroup1Click()
{
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label1)})
        w->setEnabled(scope() != 0);
}

void TPrintPatDlg::RadioGroup2Click()
{
    const bool on = method() == 0;
    enableListControls(on);
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label1), Panel1})
        w->setEnabled(on);
}

void TPrintPatDlg::Button1Click()
{
    choosePrintFont(Font, this);
}

void TPrintPatDlg::OKBtnClick()
{
    const ListTitleSettings t = titles();
    writeListPrintSettings(Directory, settings());
    writeListTitleSettings(Directory, t);
}
