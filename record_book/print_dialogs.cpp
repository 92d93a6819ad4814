#include "record_book/print_dialogs.h"

#include "components/core/data_directory.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/widgets/typed_text.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"
#include "record_book/main_window.h"
#include "record_book/query_boxes.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TSelectDlg* SelectDlg = nullptr;
TPrintSlctDlg* PrintSlctDlg = nullptr;
TFreeEditForm* FreeEditForm = nullptr;
TUserSetForm* UserSetForm = nullptr;

namespace {

constexpr Qt::WindowFlags kFixedDialog =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// What the print program puts into a free layout's item, in the order the
// content box lists them: the own company's lines, estimate amounts, dates,
// class marks, record fields and their variants, and the templates of the
// modes the user completes in the item's field.
const char* const kContentCodes[] = {
    "自住所", "自社名", "自社名付", "自電話番号", "自社情報追加１", "自社情報追加２",
    "自社情報追加３",
    "自　賠　責金額", "重　量　税金額", "検査印紙　金額", "諸　費　用金額", "仮ナンバー金額",
    "合　　　計金額", "諸費用無合計", "小　　　計金額", "自賠責", "重量税", "検査印紙代",
    "諸費用", "仮ナンバー代", "合　　　計",
    "今日", "明日", "明後日", "明々後日", "弥明後日", "先月末日", "先月２５日",
    "今月末日", "今月２５日", "日付選択",
    "区分乗用", "区分貨物", "区分二輪", "区分貨物大", "区分車両重量", "区分総重量",
    "区分総重量大", "別自家用", "別事業用",
    "郵便番号", "使用者ふりがな", "電話番号", "使用者", "使用者住所", "使用者住所１８文字",
    "使用者住所都道府県無", "使用者住所１８文字都道府県無", "自動車登録番号", "登録番号",
    "登録番号陸運支局", "登録番号分類", "登録番号分類半角", "登録番号分類Ｌ変",
    "登録番号分類半角Ｌ変", "登録番号文字", "登録番号一連", "登録番号一連Ｌ変",
    "登録番号一連半角", "登録番号一連半角Ｌ変", "登録年月日", "初度登録年月", "初度登録年",
    "型式", "車台番号", "車台番号特別", "車台番号半角", "車台番号下７桁",
    "車台番号下７桁Ｌ変", "車台番号下７桁半角", "車台番号下７桁半角Ｌ変", "#車台番号下７桁=－",
    "#車台番号下７桁=-", "原動機の型式", "自動車型式指定番号", "類別区分番号",
    "有効期間の満了する日", "１２ヶ月点検日", "１２ヶ月点検日（２年前）", "自賠責保険機関",
    "自賠責証明番号", "所有者", "所有者住所", "所有者住所１８文字", "所有者住所都道府県無",
    "所有者住所１８文字都道府県無", "使用の本拠の位置", "使用の本拠の位置１８文字",
    "使用の本拠の位置都道府県無", "使用の本拠の位置１８文字都道府県無", "自動車の種別", "用途",
    "用途○印", "自家用事業用の別", "自家用事業用の別○印", "車体の形状", "車名", "車名半角",
    "車名４文字", "乗車定員", "定員", "最大積載量", "積載量", "車両重量", "車両総重量",
    "総重量", "長さ", "幅", "高さ", "総排気量又は定格出力", "定格出力", "燃料の種類",
    "燃料", "前前軸重", "前後軸重", "後前軸重", "後後軸重", "自賠責機関", "証明番号",
    "自賠責期間自", "自賠責期間", "自賠責期間至",
    "?   （手書きモード）", "!    （確認モード）", "#項目=確認内容<変換内容 （変換モード）",
    "#項目\\確認内容<変換内容 （変換否定モード）", "_数値 （間隔モード）",
    "&位置,桁数 （文字列指定モード）", "^項目,分割文字,前または後,判定長（分割モード）",
    "%桁数（小数点モード）", "$桁数（右揃えモード）", "~（全角モード）",
};

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// OK and Cancel side by side in the middle of a row.
QHBoxLayout* centredPair(QPushButton* ok, QPushButton* cancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addSpacing(16);
    row->addWidget(cancel);
    row->addStretch(1);
    return row;
}

// The caption of item n's panel: " ＮＯ．１ 　：　項目名　" up to item 9,
// "ＮＯ．１０　：　項目名　" from item 10 on.
QString itemCaption(int item)
{
    QString digits;
    for (QChar c : QString::number(item))
        digits += QChar(u'０' + (c.unicode() - u'0'));
    return item < 10 ? QStringLiteral(" ＮＯ．%1 　：　項目名　").arg(digits)
                     : QStringLiteral("ＮＯ．%1　：　項目名　").arg(digits);
}

}  // namespace

// ---- SelectDlg

TSelectDlg::TSelectDlg(TCarDataForm& form, QWidget* parent) : QDialog(parent), form_(form)
{
    setObjectName(QStringLiteral("SelectDlg"));
    setWindowTitle(QStringLiteral("印刷名"));
    setWindowFlags(kFixedDialog);

    Panel1 = new Panel(this, Align::None, QStringLiteral("Panel1"));
    Panel1->setCaption(QStringLiteral("印刷名を指定して下さい。"));
    Panel1->setBevel(Panel::Bevel::Lowered);
    Panel1->setFixedHeight(28);
    FindComboBox = makeFieldBox(this, "FindComboBox");
    FindComboBox->setMinimumWidth(240);
    setListEntries(FindComboBox, standardFieldNames());
    FindComboBox->setCurrentIndex(-1);
    FindComboBox->setEditText(QStringLiteral("新規追加"));
    OKBtn = button(this, "OKBtn", "OK");
    OKBtn->setDefault(true);
    CancelBtn = button(this, "CancelBtn", "ｷｬﾝｾﾙ");

    QHBoxLayout* buttons = centredPair(OKBtn, CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(FindComboBox);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(280, 0)));
}

void TSelectDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    guarded([this] { FormShow(); });
}

void TSelectDlg::FormShow()
{
    const auto read = readPrintNames(form_.dataDirectory());
    if (!read)
        return;
    names_ = *read;
    std::vector<SjisString> listed;
    for (const PrintName& pair : names_.pairs)
        listed.push_back(pair.name);
    setListEntries(FindComboBox, listed);
    FindComboBox->setCurrentIndex(-1);
    FindComboBox->setEditText(QStringLiteral("新規追加"));
}

// A typed name is no listed one, even when it spells one: only a name
// chosen from the list picks that pair.
int TSelectDlg::chosenPattern() const
{
    const int chosen = FindComboBox->currentIndex();
    const bool listed = chosen >= 0 && FindComboBox->itemText(chosen) == FindComboBox->currentText();
    if (listed)
        return chosen < int(names_.pairs.size()) ? names_.pairs[std::size_t(chosen)].pattern() : 0;
    return names_.pairs.empty() ? 0 : names_.pairs.back().pattern();
}

// ---- PrintSlctDlg

TPrintSlctDlg::TPrintSlctDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintSlctDlg"));
    setWindowTitle(QStringLiteral("印刷順序変更"));
    setWindowFlags(kFixedDialog);

    GroupBox1 = new QGroupBox(QStringLiteral("出力順序"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setMinimumSize(220, 240);
    auto arrow = [this](const char* name, Qt::ArrowType type) {
        auto* b = new QToolButton(GroupBox1);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(type);
        b->setFixedSize(28, 28);
        return b;
    };
    SpeedButton3 = arrow("SpeedButton3", Qt::UpArrow);
    SpeedButton4 = arrow("SpeedButton4", Qt::DownArrow);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(SpeedButton3);
    arrows->addWidget(SpeedButton4);
    arrows->addStretch(1);
    auto* group = new QHBoxLayout(GroupBox1);
    group->addWidget(ListBox1, 1);
    group->addLayout(arrows);

    OKBtn = button(this, "OKBtn", "OK(&Y)");
    OKBtn->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(OKBtn, 0, Qt::AlignHCenter);

    connectGuarded(SpeedButton3, &QToolButton::clicked, this, &TPrintSlctDlg::SpeedButton3Click);
    connectGuarded(SpeedButton4, &QToolButton::clicked, this, &TPrintSlctDlg::SpeedButton4Click);
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TPrintSlctDlg::OKBtnClick);
    FormCreate();
    setFixedSize(sizeHint());
}

void TPrintSlctDlg::FormCreate() { Directory = currentDataDirectory(); }

void TPrintSlctDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    guarded([this] { FormShow(); });
}

void TPrintSlctDlg::FormShow()
{
    const auto read = readPrintNames(Directory);
    if (!read)
        return;
    names_ = *read;
    std::vector<SjisString> listed;
    for (std::size_t i = 0; i + 1 < names_.pairs.size(); ++i)
        listed.push_back(names_.pairs[i].name);
    setListEntries(ListBox1, listed);
}

// A pattern keeps its number when it moves.
void TPrintSlctDlg::swapPairs(int a, int b)
{
    std::swap(names_.pairs[std::size_t(a)], names_.pairs[std::size_t(b)]);
    QListWidgetItem* item = ListBox1->takeItem(a);
    ListBox1->insertItem(b, item);
    ListBox1->setCurrentRow(b);
}

void TPrintSlctDlg::SpeedButton3Click()
{
    const int a = ListBox1->currentItem() && ListBox1->currentItem()->isSelected() ? ListBox1->currentRow() : -1;
    if (a > 0)
        swapPairs(a, a - 1);
}

void TPrintSlctDlg::SpeedButton4Click()
{
    const int a = ListBox1->currentItem() && ListBox1->currentItem()->isSelected() ? ListBox1->currentRow() : -1;
    if (a >= 0 && a < ListBox1->count() - 1)
        swapPairs(a, a + 1);
}

void TPrintSlctDlg::OKBtnClick()
{
    PrintNameList settled = names_;
    settled.settleNewPattern();
    writePrintNames(Directory, settled);
    names_ = settled;
    accept();
}

// ---- FreeEditForm

TFreeEditForm::TFreeEditForm(Database& db, QWidget* parent)
    : QDialog(parent), Table1(std::make_unique<Table>(db, "PrtData")),
      Table2(std::make_unique<Table>(db, "PrtFreeData"))
{
    setObjectName(QStringLiteral("FreeEditForm"));
    setWindowTitle(QStringLiteral("印刷内容設定"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    TopPanel = new Panel(this, Align::None, QStringLiteral("TopPanel"));
    TopPanel->setFixedHeight(40);
    TopPanel->setCaption(QStringLiteral("項目名を入力して下さい。　　　　"));
    TopPanel->setFontColor(Qt::darkGreen);
    QFont big = TopPanel->font();
    big.setPixelSize(19);
    TopPanel->setFont(big);
    ComboBox1 = makeFieldBox(TopPanel, "ComboBox1");
    QFont normal = font();
    normal.setPointSizeF(normal.pointSizeF());  // set, so the panel's large font is not inherited
    ComboBox1->setFont(normal);
    ComboBox1->setFixedWidth(200);
    std::vector<SjisString> codes;
    for (const char* code : kContentCodes)
        codes.push_back(sj(code));
    setListEntries(ComboBox1, codes);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QStringLiteral("入力内容選択"));
    ComboBox1->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, true);
    auto* top = new QHBoxLayout(TopPanel);
    top->setContentsMargins(4, 4, 4, 4);
    top->addStretch(1);
    top->addWidget(ComboBox1);
    layout->addWidget(TopPanel);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    auto* items = new QWidget(ScrollBox1);
    constexpr int kRows = 20, kRowPitch = 20, kTop = 10, kWidth = 140;
    constexpr int kColumnLefts[] = {5, 295, 584};
    for (int n = 1; n <= kFreeLayoutItems; ++n) {
        const int left = kColumnLefts[(n - 1) / kRows];
        const int y = kTop + (n - 1) % kRows * kRowPitch;
        Panel* caption = new Panel(items, Align::None, QStringLiteral("Panel%1").arg(n));
        caption->setCaption(itemCaption(n));
        caption->setGeometry(left, y, kWidth, kRowPitch);
        auto* edit = new DBEdit(*Table2, "項目" + std::to_string(n), items);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(n));
        edit->setAttribute(Qt::WA_InputMethodEnabled, true);
        edit->setGeometry(left + kWidth, y, kWidth, kRowPitch);
        onClick(edit, [this, n] { DBEditClick(n); });
        Panels[std::size_t(n - 1)] = caption;
        DBEdits[std::size_t(n - 1)] = edit;
    }
    items->resize(kColumnLefts[2] + 2 * kWidth + 10, kTop + kRows * kRowPitch + 10);
    ScrollBox1->setWidget(items);
    layout->addWidget(ScrollBox1, 1);

    BtnPanel = new Panel(this, Align::None, QStringLiteral("BtnPanel"));
    BtnPanel->setFixedHeight(45);
    OKBtn = button(BtnPanel, "OKBtn", "OK(&Y)");
    CancelBtn = button(BtnPanel, "CancelBtn", "ｷｬﾝｾﾙ");
    OKBtn->setGeometry(0, 10, 75, 25);
    CancelBtn->setGeometry(0, 10, 75, 25);
    EndLabel = new QLabel(BtnPanel);
    EndLabel->setObjectName(QStringLiteral("EndLabel"));
    EndLabel->hide();
    layout->addWidget(BtnPanel);

    connectGuarded(ComboBox1, &QComboBox::currentTextChanged, this, &TFreeEditForm::ComboBox1Change);
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TFreeEditForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TFreeEditForm::reject);

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("FreeEdit"));
    resize(601, 553);
    FormCreate();
    RestorePos1->restore();
}

TFreeEditForm::~TFreeEditForm()
{
    // The edits go before the table they are bound to.
    delete ScrollBox1;
}

void TFreeEditForm::openTables()
{
    for (Table* t : {Table1.get(), Table2.get()})
        t->Active() ? t->Refresh() : t->Open();
}

void TFreeEditForm::FormCreate() { SelectedItemNo = 1; }

void TFreeEditForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    guarded([this] { FormShow(); });
}

void TFreeEditForm::FormShow() { EndLabel->clear(); }

void TFreeEditForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (auto* l = layout())
        l->activate();
    FormResize();
}

void TFreeEditForm::FormResize()
{
    const int third = BtnPanel->width() / 3;
    OKBtn->move(third - 37, OKBtn->y());
    CancelBtn->move(third * 2 - 37, CancelBtn->y());
}

void TFreeEditForm::DBEditClick(int item) { SelectedItemNo = item; }

// Each change of the box's text, chosen or typed, goes into the selected
// item's field.
void TFreeEditForm::ComboBox1Change()
{
    if (!Table2->Active())
        return;
    const auto code = encodingOrWarn([this] { return comboText(ComboBox1); }, this);
    if (!code)
        return;
    if (Table2->state() == Table::State::Browse)
        Table2->Edit();
    Table2->FieldByName("項目" + std::to_string(SelectedItemNo)).SetAsString(*code);
}

void TFreeEditForm::OKBtnClick()
{
    if (Table2->state() != Table::State::Browse)
        Table2->Post();
    EndLabel->setText(QStringLiteral("mrOK"));
    accept();
}

void TFreeEditForm::CancelBtnClick()
{
    if (Table2->state() != Table::State::Browse)
        Table2->Cancel();
}

void TFreeEditForm::reject()
{
    guarded([this] { CancelBtnClick(); });
    QDialog::reject();
}

// ---- UserSetForm

TUserSetForm::TUserSetForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UserSetForm"));
    setWindowTitle(QStringLiteral("自社情報"));
    setWindowFlags(kFixedDialog);

    const char* const labels[] = {"自　住　所　：", "自　社　名　：", "自 社 名 付：", "自電話番号：",
                                  "追　  加   １：", "追　  加   ２：", "追　  加   ３："};
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ScrollBox1 = new QScrollArea(GroupBox1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* rows = new QWidget(ScrollBox1);
    constexpr int kRowPitch = 24, kEditLeft = 90, kEditWidth = 217;
    for (int i = 0; i < kOwnCompanyLineCount; ++i) {
        auto* label = new QLabel(QString::fromUtf8(labels[i]), rows);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(0, 4 + i * kRowPitch, kEditLeft, 21);
        auto* edit = new QLineEdit(rows);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setAttribute(Qt::WA_InputMethodEnabled, true);
        edit->setGeometry(kEditLeft, 4 + i * kRowPitch, kEditWidth, 21);
        Edits[std::size_t(i)] = edit;
    }
    rows->resize(kEditLeft + kEditWidth, 8 + kOwnCompanyLineCount * kRowPitch);
    ScrollBox1->setWidget(rows);
    auto* group = new QVBoxLayout(GroupBox1);
    group->setContentsMargins(1, 1, 1, 1);
    group->addWidget(ScrollBox1);

    OKBtn = button(this, "OKBtn", "OK");
    OKBtn->setDefault(true);
    CancelBtn = button(this, "CancelBtn", "ｷｬﾝｾﾙ");
    QHBoxLayout* buttons = centredPair(OKBtn, CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 6);
    layout->addWidget(GroupBox1, 1);
    layout->addLayout(buttons);

    connectGuarded(OKBtn, &QPushButton::clicked, this, &TUserSetForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
    setFixedSize(339, 172);
}

void TUserSetForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edits[0]->setFocus();
}

void TUserSetForm::FormCreate()
{
    Directory = currentDataDirectory();
    guarded([this] {
        if (const auto company = readOwnCompany(Directory)) {
            read_ = *company;
            for (std::size_t i = 0; i < Edits.size(); ++i)
                Edits[i]->setText(sjis::decode(read_.lines[i]));
        }
    });
}

// Text the user left as read keeps its bytes. A character CP932 cannot hold
// or a line break keeps the dialog open to mend it.
void TUserSetForm::OKBtnClick()
{
    OwnCompany company;
    for (std::size_t i = 0; i < Edits.size(); ++i) {
        const SjisString& before = read_.lines[i];
        const auto bytes = encodingOrWarn(
            [&] { return sjis::encodeEdit(before, sjis::decode(before), Edits[i]->text()); }, this);
        if (!bytes) {
            Edits[i]->setFocus();
            return;
        }
        company.lines[i] = *bytes;
    }
    try {
        writeOwnCompany(Directory, company);
    } catch (const PrintFileRefusal& e) {
        showMessage(e.message(), {}, MessageIcon::Warning, MessageButtons::Ok, this);
        return;
    }
    read_ = company;
    accept();
}
