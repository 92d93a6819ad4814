#include "record_book/item_width_form.h"

#include "components/core/cp932.h"
#include "components/core/data_directory.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/card_settings.h"
#include "components/formats/settings_file.h"
#include "platform/error_guard.h"
#include "record_book/main_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <climits>

TItemWForm* ItemWForm = nullptr;

namespace {

constexpr int kClientWidth = 542;
constexpr int kMargin = 6;
constexpr int kRowWidth = kClientWidth - 2 * kMargin;
constexpr int kTitleLine = 18;
constexpr int kTitleTwoLines = 28;
constexpr int kValueHeight = 22;
constexpr int kRowGap = 4;
constexpr int kTelephoneDefault = 125;
constexpr int kButtonsWidth = 170;

// One adjustable column: the title panel and the data control of the card
// that take its width, and the half-height lines of a two-line title, which
// take the width minus 4.
struct Setting {
    const char* title;  // none for the telephone memo
    const char* control;
    std::array<const char*, 2> subLines;
};

const Setting kColumns[TItemWForm::kSettings] = {
    {"Title1Panel1", "DBComboBox1", {}},
    {"Title1Panel2", "DBComboBox2", {}},
    {"Title1Panel3", "DBComboBox3", {}},
    {"Title1Panel4", "DBComboBox4", {}},
    {"Title1Panel5", "DBComboBox5", {}},
    {"Title1Panel6", "DBComboBox6", {"Title1Panel8", "Title1Panel9"}},
    {"Title2Panel2", "DBMemo6", {}},
    {"Title3Panel2", "DBMemo15", {}},
    {"Title3Panel8", "DBMemo21", {"Title3Panel12", "Title3Panel13"}},
    {"Title3Panel9", "DBMemo22", {"Title3Panel14", "Title3Panel15"}},
    {nullptr, "DBMemo42", {}},
    {"Title14Panel1", "UpMemo1", {}},
    {"Title14Panel2", "UpMemo2", {}},
    {"Title14Panel3", "UpComboBox1", {}},
    {"Title14Panel4", "UpComboBox2", {}},
    {"Title14Panel5", "UpMemo3", {}},
    {"Title14Panel6", "UpComboBox4", {}},
    {"Title14Panel7", "UpMemo5", {}},
};
static_assert(TItemWForm::kSettings == kWidthSettingCount);

// A row whose data controls are placed one after another by left edge:
// the settings first..last, then a last control as wide as the row's
// filling title panel.
struct Chain {
    int first, last;
    const char* lastControl;
    const char* filler;
};
constexpr Chain kRow1{1, 6, "DBComboBox7", "Title1Panel7"};
constexpr Chain kExtensionRow{12, 18, "UpComboBox3", "Title14Panel8"};

const Chain* chainOf(int setting)
{
    if (setting >= kRow1.first && setting <= kRow1.last)
        return &kRow1;
    if (setting >= kExtensionRow.first && setting <= kExtensionRow.last)
        return &kExtensionRow;
    return nullptr;
}

// The dialog's model of one card row: a cell per column, with a title and
// under it a spin edit (setting > 0) or a number panel.
struct Cell {
    const char* title;
    int width;  // 0: the column that takes the rest of the row
    int setting;
    const char* panel;   // the number panel's name
    const char* number;  // its fixed design number
};

struct RowPanels {
    Panel* titles;
    Panel* values;
};

RowPanels addRow(QWidget* dialog, std::array<QSpinBox*, TItemWForm::kSettings>& spins, int y, int width,
                 int titleHeight, const std::vector<Cell>& cells)
{
    RowPanels row{new Panel(dialog, Align::None), new Panel(dialog, Align::None)};
    row.titles->setGeometry(kMargin, y, width, titleHeight);
    row.values->setGeometry(kMargin, y + titleHeight, width, kValueHeight);
    int rest = width;
    for (const Cell& c : cells)
        rest -= c.width;
    int x = 0;
    for (const Cell& c : cells) {
        const int w = c.width ? c.width : rest;
        auto* title = new Panel(row.titles, Align::None);
        title->setCaption(QString::fromUtf8(c.title));
        title->setBevel(Panel::Bevel::Raised);
        title->setGeometry(x, 0, w, titleHeight);
        if (c.setting) {
            auto* spin = new QSpinBox(row.values);
            spin->setObjectName(QStringLiteral("SpinEdit%1").arg(c.setting));
            spin->setRange(INT_MIN, INT_MAX);
            spin->setGeometry(x, 0, w, kValueHeight);
            spins[std::size_t(c.setting - 1)] = spin;
        } else {
            auto* number = new Panel(row.values, Align::None, QString::fromLatin1(c.panel));
            number->setBevel(Panel::Bevel::Lowered);
            number->setCaption(QString::fromUtf8(c.number));
            number->setGeometry(x, 0, w, kValueHeight);
        }
        x += w;
    }
    return row;
}

int below(int y, int titleHeight) { return y + titleHeight + kValueHeight + kRowGap; }

}  // namespace

TItemWForm::TItemWForm(TCarDataForm& carData, QWidget* parent) : QDialog(parent), carData_(carData)
{
    setObjectName(QStringLiteral("ItemWForm"));
    setWindowTitle(QStringLiteral("項目の幅の変更"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPointSize(9);
    setFont(f);
    buildRows();
    wireControls();

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("ItemWidth "));

    resize(kClientWidth, 220);
    FormCreate();
    RestorePos1->restore();
}

void TItemWForm::buildRows()
{
    int y = kMargin;
    addRow(this, SpinEdits, y, kRowWidth, kTitleTwoLines,
            {{"自動車登録番号", 90, 1, nullptr, nullptr},
             {"登録年月日", 66, 2, nullptr, nullptr},
             {"初度登録年月", 78, 3, nullptr, nullptr},
             {"自動車の種別", 78, 4, nullptr, nullptr},
             {"用　途", 50, 5, nullptr, nullptr},
             {"自家用\n事業用の別", 66, 6, nullptr, nullptr},
             {"車体の形状", 0, 0, "Panel1", ""}});
    y = below(y, kTitleTwoLines);
    addRow(this, SpinEdits, y, kRowWidth, kTitleLine,
            {{"車　名", 0, 0, "Panel2", ""},
             {"型　式", 62, 7, nullptr, nullptr},
             {"乗車定員", 54, 0, "Panel4", "54"},
             {"最大積載量", 66, 0, "Panel5", "75"},
             {"車両重量", 54, 0, "Panel6", "60"},
             {"車両総重量", 66, 0, "Panel7", "75"}});
    y = below(y, kTitleLine);
    addRow(this, SpinEdits, y, kRowWidth, kTitleTwoLines,
            {{"車台番号", 0, 0, "Panel3", ""},
             {"原動機の\n型式", 56, 8, nullptr, nullptr},
             {"長さ", 40, 0, "Panel8", "50"},
             {"幅", 40, 0, "Panel9", "50"},
             {"高さ", 40, 0, "Panel10", "50"},
             {"総排気量又\nは定格出力", 66, 0, "Panel11", "70"},
             {"燃料の種類", 66, 0, "Panel12", "70"},
             {"型式指定\n番号", 56, 9, nullptr, nullptr},
             {"類別区分\n番号", 56, 10, nullptr, nullptr}});
    y = below(y, kTitleTwoLines);
    extensionTop_ = y;
    const RowPanels extension = addRow(this, SpinEdits, y, kRowWidth, kTitleLine,
            {{"エンジンＮＯ．", 90, 12, nullptr, nullptr},
             {"色", 48, 13, nullptr, nullptr},
             {"年式", 54, 14, nullptr, nullptr},
             {"販売年月日", 66, 15, nullptr, nullptr},
             {"販売形態", 54, 16, nullptr, nullptr},
             {"カテゴリ", 54, 17, nullptr, nullptr},
             {"お買上金額", 66, 18, nullptr, nullptr},
             {"盗難保険", 0, 0, "Panel29", ""}});
    UpPanel1 = extension.titles;
    UpPanel2 = extension.values;
    UpPanel1->setObjectName(QStringLiteral("UpPanel1"));
    UpPanel2->setObjectName(QStringLiteral("UpPanel2"));
    UpPanel1->hide();
    UpPanel2->hide();

    // The reading line, with the buttons beside it; it moves up while the
    // extension row is hidden.
    const RowPanels reading = addRow(this, SpinEdits, y, kRowWidth - kButtonsWidth, kTitleLine,
                                     {{"使用者ふりがな", 0, 0, "Panel15", ""},
                                      {"電　話　番　号", 96, 11, nullptr, nullptr}});
    readingTitles_ = reading.titles;
    readingValues_ = reading.values;
    const auto titles = readingTitles_->findChildren<Panel*>();
    titles[0]->setObjectName(QStringLiteral("Panel14"));
    titles[1]->setObjectName(QStringLiteral("Panel17"));
    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    placeReadingLine();

    Panel1 = findControl<Panel>(this, "Panel1");
    Panel2 = findControl<Panel>(this, "Panel2");
    Panel3 = findControl<Panel>(this, "Panel3");
    Panel15 = findControl<Panel>(this, "Panel15");
    Panel29 = findControl<Panel>(this, "Panel29");
}

void TItemWForm::wireControls()
{
    // OK closes the dialog even when WIDTH.INI cannot be written.
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        guarded([this] { OKBtnClick(); });
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    // Every change of a spin edit's value or text counts at once, also text
    // that is no number (an emptied spin edit is the width 0), which the
    // spin edit itself does not report.
    for (int n = 1; n <= kSettings; ++n) {
        QSpinBox* spin = SpinEdits[std::size_t(n - 1)];
        connectGuarded(spin, &QSpinBox::textChanged, this, [this, n] { SpinEditChange(n); });
        connectGuarded(spin->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this, n](const QString& text) {
            bool number = false;
            text.trimmed().toInt(&number);
            if (!number)
                SpinEditChange(n);
        });
    }
}

void TItemWForm::placeReadingLine()
{
    const int top = LayoutFlag == 1 ? extensionTop_ + kTitleLine + kValueHeight + kRowGap : extensionTop_;
    readingTitles_->move(kMargin, top);
    readingValues_->move(kMargin, top + kTitleLine);
    OKBtn->setGeometry(kClientWidth - kMargin - kButtonsWidth + 10, top + 8, 75, 25);
    CancelBtn->setGeometry(kClientWidth - kMargin - 80, top + 8, 75, 25);
}

QWidget* TItemWForm::mainControl(const QString& name) const
{
    return findControl<QWidget>(carData_.card(), name);
}

int TItemWForm::spinValue(int setting) const
{
    bool ok = false;
    const int v = SpinEdits[std::size_t(setting - 1)]->text().trimmed().toInt(&ok);
    return ok ? v : 0;
}

void TItemWForm::FormCreate()
{
    // DataBase.INI as the book read it a moment before (and reported it
    // when it could not be read).
    LayoutFlag = carData_.book().settings().RecordLayoutMode;
    UpPanel1->setVisible(LayoutFlag == 1);
    UpPanel2->setVisible(LayoutFlag == 1);
    placeReadingLine();
    guarded([this] {
        if (const auto widths = readWidthSettings(carData_.dataDirectory()))
            applyWidths(*widths, true);
    });
    for (int n = 1; n <= kSettings; ++n) {
        const Setting& s = kColumns[n - 1];
        SpinEdits[std::size_t(n - 1)]->setValue(mainControl(s.title ? s.title : s.control)->width());
    }
}

void TItemWForm::showEvent(QShowEvent* e)
{
    guarded([this] { FormShow(); });
    QDialog::showEvent(e);
}

void TItemWForm::FormShow()
{
    resize(width(), LayoutFlag == 1 ? 260 : 220);
    Panel1->setCaption(QString::number(mainControl("Title1Panel7")->width()));
    Panel2->setCaption(QString::number(mainControl("Title2Panel1")->width()));
    Panel3->setCaption(QString::number(mainControl("Title3Panel1")->width()));
    Panel15->setCaption(QString::number(mainControl("DBMemo1")->width()));
    Panel29->setCaption(QString::number(mainControl("Title14Panel8")->width()));
}

// Shows the width w of one column on the main window at once.
void TItemWForm::SpinEditChange(int setting)
{
    const int w = spinValue(setting);
    if (chainOf(setting)) {
        changeChained(setting, w);
    } else if (setting == 7) {
        setControlWidth(mainControl("Title2Panel2"), w);
        setControlWidth(mainControl("DBMemo6"), w);
        Panel2->setCaption(QString::number(mainControl("Title2Panel1")->width()));
    } else if (setting <= 10) {
        changeRow3(setting, w);
    } else {
        setControlWidth(mainControl("DBMemo42"), w);
        Panel15->setCaption(QString::number(mainControl("DBMemo1")->width()));
    }
}

// A column of a chained row takes w; the data controls to its right move
// along, and the last one takes what its filling title panel leaves.
void TItemWForm::changeChained(int setting, int w)
{
    const Chain& chain = *chainOf(setting);
    const Setting& s = kColumns[setting - 1];
    QWidget* control = mainControl(s.control);
    setColumnWidth(setting, w);
    int x = setting == chain.first ? w : control->x() + w;
    for (int n = setting + 1; n <= chain.last; ++n) {
        QWidget* next = mainControl(kColumns[n - 1].control);
        setControlLeft(next, x);
        x += next->width();
    }
    QWidget* last = mainControl(chain.lastControl);
    const int rest = mainControl(chain.filler)->width();
    setControlLeft(last, x);
    setControlWidth(last, rest);
    (&chain == &kRow1 ? Panel1 : Panel29)->setCaption(QString::number(rest));
}

// A column of the specification row takes w; the row's right-hand
// containers grow or shrink by as much, and the chassis number takes the
// rest.
void TItemWForm::changeRow3(int setting, int w)
{
    int sum = 0;
    for (int i = 2; i <= 9; ++i) {
        const QString name = QStringLiteral("Title3Panel%1").arg(i);
        sum += name == QLatin1String(kColumns[setting - 1].title) ? w : mainControl(name)->width();
    }
    setControlWidth(mainControl("Title3Panel"), sum);
    setControlWidth(mainControl("Edit3Panel"), sum);
    if (setting != 10) {  // the last column fills its containers
        setControlWidth(mainControl(kColumns[setting - 1].title), w);
        setControlWidth(mainControl(kColumns[setting - 1].control), w);
    }
    setSubLineWidths(setting, w);
    Panel3->setCaption(QString::number(mainControl("Title3Panel1")->width()));
}

// The column's title panel and data control take w, its sub-lines w - 4.
void TItemWForm::setColumnWidth(int setting, int w)
{
    setControlWidth(mainControl(kColumns[setting - 1].title), w);
    setControlWidth(mainControl(kColumns[setting - 1].control), w);
    setSubLineWidths(setting, w);
}

// A sub-line with a width of its own no longer stretches across its title.
void TItemWForm::setSubLineWidths(int setting, int w)
{
    for (const char* name : kColumns[setting - 1].subLines)
        if (name) {
            QWidget* line = mainControl(name);
            setAlign(line, Align::None);
            setControlWidth(line, w - 4);
        }
}

void TItemWForm::applyChain(int first, int last, const std::array<std::optional<int>, kSettings>& v)
{
    const Chain& chain = *chainOf(first);
    for (int n = first; n <= last; ++n)
        if (const auto& w = v[std::size_t(n - 1)])
            setColumnWidth(n, *w);
    auto widthOf = [&](int n) { return v[std::size_t(n - 1)].value_or(mainControl(kColumns[n - 1].control)->width()); };
    int x = widthOf(first);
    for (int n = first + 1; n <= last; ++n) {
        setControlLeft(mainControl(kColumns[n - 1].control), x);
        x += widthOf(n);
    }
    QWidget* lastControl = mainControl(chain.lastControl);
    setControlLeft(lastControl, x);
    setControlWidth(lastControl, mainControl(chain.filler)->width());
}

// A file that ends early leaves the settings it lacks as they are.
void TItemWForm::applyWidths(const WidthSettings& settings, bool creating)
{
    const auto& v = settings.widths;

    applyChain(kRow1.first, kRow1.last, v);

    if (v[6]) {
        setControlWidth(mainControl("Title2Panel2"), *v[6]);
        setControlWidth(mainControl("DBMemo6"), *v[6]);
    }
    setControlWidth(mainControl("DBComboBox8"), mainControl("Title2Panel1")->width());

    for (int n : {8, 9})
        if (const auto& w = v[std::size_t(n - 1)])
            setColumnWidth(n, *w);
    if (v[9])
        setSubLineWidths(10, *v[9]);
    int sum = 0;
    for (int i = 2; i <= 9; ++i) {
        const int n = i == 2 ? 8 : i == 8 ? 9 : i == 9 ? 10 : 0;
        const QWidget* title = mainControl(QStringLiteral("Title3Panel%1").arg(i));
        sum += n ? v[std::size_t(n - 1)].value_or(title->width()) : title->width();
    }
    setControlWidth(mainControl("Title3Panel"), sum);
    setControlWidth(mainControl("Edit3Panel"), sum);

    if (v[10])
        setControlWidth(mainControl("DBMemo42"), *v[10]);
    else if (creating)
        setControlWidth(mainControl("DBMemo42"), kTelephoneDefault);

    if (v[11])
        applyChain(kExtensionRow.first, kExtensionRow.last, v);
}

void TItemWForm::OKBtnClick()
{
    WidthSettings settings;
    for (int n = 1; n <= kSettings; ++n)
        settings.widths[std::size_t(n - 1)] = spinValue(n);
    writeWidthSettings(carData_.dataDirectory(), settings);
}

// Every close puts the saved widths back: after OK those just written,
// after Cancel they take back the preview.
void TItemWForm::FormCloseQuery()
{
    if (const auto widths = readWidthSettings(carData_.dataDirectory()))
        applyWidths(*widths, false);
}

// A file that cannot be read shows its error and the dialog still closes.
void TItemWForm::done(int result)
{
    guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

TItemWForm::~TItemWForm()
{
    if (ItemWForm == this)
        ItemWForm = nullptr;
}
