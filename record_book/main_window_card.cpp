// The record card of the main window: rows of title panels above or beside
// the data-aware controls of one vehicle record.
#include "components/widgets/db_controls.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/widgets/yomi_memo.h"
#include "record_book/main_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

namespace {

constexpr int kTitleRow = 30;    // title rows that carry two-line titles
constexpr int kTitleLine = 17;   // single-line title rows
constexpr int kEditRow = 22;
constexpr int kTitleColumn = 150;

Panel* row(QWidget* parent, const char* name, int height)
{
    auto* p = new Panel(parent, Align::Top, QString::fromLatin1(name));
    p->resize(100, height);
    return p;
}

Panel* title(QWidget* parent, const char* name, const char* caption, Align align, int width)
{
    auto* p = new Panel(parent, align, QString::fromLatin1(name));
    p->setCaption(QString::fromUtf8(caption));
    p->setBevel(Panel::Bevel::Raised);
    p->resize(width, p->height());
    return p;
}

// A title of two half-height lines.
Panel* twoLineTitle(QWidget* parent, const char* name, Align align, int width, const char* line1Name,
                    const char* line1, const char* line2Name, const char* line2)
{
    Panel* p = title(parent, name, "", align, width);
    p->setBevel(Panel::Bevel::None);
    for (auto [n, c] : {std::pair{line1Name, line1}, std::pair{line2Name, line2}}) {
        Panel* l = title(p, n, c, Align::Top, width);
        l->resize(width, kTitleRow / 2);
    }
    return p;
}

template <class Control>
Control* bound(QWidget* parent, const char* name, Align align, int width, Table* table, const char* field)
{
    auto* c = new Control(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->bind(*table, field);
    setAlign(c, align);
    c->resize(width, kEditRow);
    return c;
}

// A figure with a second figure in brackets beside it ("5 (2)").
Panel* pairOf(QWidget* parent, const char* name, Align align, int width, Table* table, const char* main,
              const char* mainField, const char* second, const char* secondField, bool combo = false)
{
    auto* p = new Panel(parent, align, QString::fromLatin1(name));
    p->resize(width, kEditRow);
    auto bracket = [&](const char* text) {
        auto* b = new Panel(p, Align::Right);
        b->setCaption(QString::fromUtf8(text));
        b->resize(6, kEditRow);
    };
    bracket(")");
    if (combo)
        bound<DBComboBox>(p, second, Align::Right, width * 2 / 5, table, secondField);
    else
        bound<DBMemo>(p, second, Align::Right, width / 3, table, secondField);
    bracket("(");
    if (combo)
        bound<DBComboBox>(p, main, Align::Client, 10, table, mainField);
    else
        bound<DBMemo>(p, main, Align::Client, 10, table, mainField);
    return p;
}

}  // namespace

void TCarDataForm::buildCard()
{
    Table* t = Table1;
    CardPanel = new Panel(nullptr, Align::None, QStringLiteral("CardPanel"));
    ScrollBox1->setWidget(CardPanel);
    Panel* c = CardPanel;

    // Registration row.
    Panel* r = row(c, "TitlePanel1", kTitleRow);
    title(r, "Title1Panel1", "自動車登録番号", Align::Left, 150);
    title(r, "Title1Panel2", "登録年月日", Align::Left, 150);
    title(r, "Title1Panel3", "初度登録年月", Align::Left, 120);
    title(r, "Title1Panel4", "自動車の種別", Align::Left, 80);
    title(r, "Title1Panel5", "用　途", Align::Left, 60);
    twoLineTitle(r, "Title1Panel6", Align::Left, 80, "Title1Panel8", "自家用", "Title1Panel9", "事業用の別");
    title(r, "Title1Panel7", "車体の形状", Align::Client, 10);
    r = row(c, "EditPanel1", kEditRow);
    int x = 0;
    const std::pair<const char*, const char*> row1[] = {
        {"DBComboBox1", "自動車登録番号"}, {"DBComboBox2", "登録年月日"}, {"DBComboBox3", "初度登録年月"},
        {"DBComboBox4", "自動車の種別"},   {"DBComboBox5", "用途"},       {"DBComboBox6", "自家用事業用の別"},
        {"DBComboBox7", "車体の形状"},
    };
    const int row1Widths[] = {150, 150, 120, 80, 60, 80, 100};
    for (std::size_t i = 0; i < std::size(row1); ++i) {
        auto* box = bound<DBComboBox>(r, row1[i].first, Align::None, row1Widths[i], t, row1[i].second);
        box->move(x, 0);
        x += row1Widths[i];
    }

    // Make row.
    r = row(c, "TitlePanel2", kTitleLine);
    title(r, "Title2Panel6", "車両総重量", Align::Right, 90);
    title(r, "Title2Panel5", "車両重量", Align::Right, 64);
    title(r, "Title2Panel4", "最大積載量", Align::Right, 90);
    title(r, "Title2Panel3", "乗車定員", Align::Right, 64);
    title(r, "Title2Panel2", "型　式", Align::Right, 110);
    title(r, "Title2Panel1", "車　　名", Align::Client, 10);
    r = row(c, "EditPanel2", kEditRow);
    pairOf(r, "GrossWeightPanel", Align::Right, 90, t, "DBMemo12", "車両総重量", "DBMemo13", "総重量");
    bound<DBMemo>(r, "DBMemo9", Align::Right, 64, t, "車両重量");
    pairOf(r, "LoadPanel", Align::Right, 90, t, "DBMemo10", "最大積載量", "DBMemo11", "積載量");
    pairOf(r, "CapacityPanel", Align::Right, 64, t, "DBMemo7", "乗車定員", "DBMemo8", "定員");
    bound<DBMemo>(r, "DBMemo6", Align::Right, 110, t, "型式");
    bound<DBComboBox>(r, "DBComboBox8", Align::None, 100, t, "車名");

    // Specification row.
    r = row(c, "TitlePanel3", kTitleRow);
    auto* group = new Panel(r, Align::Right, QStringLiteral("Title3Panel"));
    title(group, "Title3Panel2", "原動機の型式", Align::Left, 90);
    title(group, "Title3Panel3", "長さ", Align::Left, 50);
    title(group, "Title3Panel4", "幅", Align::Left, 50);
    title(group, "Title3Panel5", "高さ", Align::Left, 50);
    twoLineTitle(group, "Title3Panel6", Align::Left, 80, "Title3Panel10", "総排気量又", "Title3Panel11", "は定格出力");
    title(group, "Title3Panel7", "燃料の種類", Align::Left, 130);
    twoLineTitle(group, "Title3Panel8", Align::Left, 80, "Title3Panel12", "型式指定", "Title3Panel13", "番号");
    twoLineTitle(group, "Title3Panel9", Align::Client, 80, "Title3Panel14", "類別区分", "Title3Panel15", "番号");
    title(r, "Title3Panel1", "車　台　番　号", Align::Client, 10);
    r = row(c, "EditPanel3", kEditRow);
    auto* edit3 = new Panel(r, Align::Right, QStringLiteral("Edit3Panel"));
    bound<DBMemo>(edit3, "DBMemo15", Align::Left, 90, t, "原動機の型式");
    bound<DBMemo>(edit3, "DBMemo16", Align::Left, 50, t, "長さ");
    bound<DBMemo>(edit3, "DBMemo17", Align::Left, 50, t, "幅");
    bound<DBMemo>(edit3, "DBMemo18", Align::Left, 50, t, "高さ");
    pairOf(edit3, "OutputPanel", Align::Left, 80, t, "DBMemo19", "総排気量又は定格出力", "DBMemo20", "定格出力");
    pairOf(edit3, "FuelPanel", Align::Left, 130, t, "DBComboBox10", "燃料の種類", "DBComboBox9", "燃料", true);
    bound<DBMemo>(edit3, "DBMemo21", Align::Left, 80, t, "自動車型式指定番号");
    bound<DBMemo>(edit3, "DBMemo22", Align::Client, 80, t, "類別区分番号");
    bound<DBMemo>(r, "DBMemo14", Align::Client, 10, t, "車台番号");
    const int groupWidth = 90 + 50 + 50 + 50 + 80 + 130 + 80 + 80;
    group->resize(groupWidth, kTitleRow);
    edit3->resize(groupWidth, kEditRow);

    // Extension rows (layout modes 1 and 2); bound when the mode asks.
    r = row(c, "TitlePanel14", kTitleLine);
    const char* upTitles[] = {"エンジンＮＯ．", "色", "年式", "販売年月日", "販売形態", "カテゴリ", "お買い上げ金額"};
    const int upWidths[] = {100, 60, 80, 150, 80, 80, 90};
    for (int i = 0; i < 7; ++i)
        title(r, QStringLiteral("Title14Panel%1").arg(i + 1).toLatin1().constData(), upTitles[i], Align::Left,
              upWidths[i]);
    title(r, "Title14Panel8", "盗難保険", Align::Client, 10);
    r = row(c, "EditPanel15", kEditRow);
    const char* upNames[] = {"UpMemo1", "UpMemo2", "UpComboBox1", "UpComboBox2", "UpMemo3", "UpComboBox4",
                             "UpMemo5", "UpComboBox3"};
    x = 0;
    for (int i = 0; i < 8; ++i) {
        QWidget* w = QByteArray(upNames[i]).startsWith("UpMemo") ? static_cast<QWidget*>(new DBMemo(r))
                                                                 : static_cast<QWidget*>(new DBComboBox(r));
        w->setObjectName(QString::fromLatin1(upNames[i]));
        w->setGeometry(x, 0, i < 7 ? upWidths[i] : 100, kEditRow);
        x += i < 7 ? upWidths[i] : 0;
    }
    r = row(c, "EditPanel16", 20);
    title(r, "Title15Panel1", "メ　　　モ", Align::Left, kTitleColumn);
    auto* upMemo6 = new DBMemo(r);
    upMemo6->setObjectName(QStringLiteral("UpMemo6"));
    setAlign(upMemo6, Align::Client);
    for (const char* name : {"TitlePanel14", "EditPanel15", "EditPanel16"})
        findControl<QWidget>(c, name)->hide();

    // Owner.
    r = row(c, "EditPanel4", 26);
    title(r, "Title4Panel1", "所有者の氏名又は名称", Align::Left, kTitleColumn);
    bound<DBMemo>(r, "DBMemo24", Align::Right, 60, t, "前前軸重");
    title(r, "Title4Panel2", "前前軸重", Align::Right, 60);
    bound<DBMemo>(r, "DBMemo23", Align::Client, 10, t, "所有者");
    r = row(c, "EditPanel5", 26);
    title(r, "Title5Panel1", "所　有　者　の　住　所", Align::Left, kTitleColumn);
    bound<DBMemo>(r, "DBMemo26", Align::Right, 60, t, "前後軸重");
    title(r, "Title5Panel2", "前後軸重", Align::Right, 60);
    bound<DBMemo>(r, "DBMemo25", Align::Client, 10, t, "所有者住所");

    // User: reading and telephone line, then the name.
    r = row(c, "EditPanel6", 50);
    auto* userTitles = new Panel(r, Align::Left, QStringLiteral("UserTitlePanel"));
    userTitles->resize(kTitleColumn, 50);
    title(userTitles, "Title6Panel1", "ふりがな・電話", Align::Top, kTitleColumn)->resize(kTitleColumn, 20);
    title(userTitles, "Title6Panel2", "使用者の氏名又は名称", Align::Client, kTitleColumn);
    bound<DBMemo>(r, "DBMemo27", Align::Right, 60, t, "後前軸重");
    title(r, "Title6Panel3", "後前軸重", Align::Right, 60);
    auto* user = new Panel(r, Align::Client, QStringLiteral("UserPanel"));
    auto* sub = new Panel(user, Align::Top, QStringLiteral("subPanel14"));
    sub->resize(100, 20);
    bound<DBMemo>(sub, "DBMemo42", Align::Right, 125, t, "電話番号");
    bound<DBMemo>(sub, "DBMemo1", Align::Client, 10, t, "使用者ふりがな");
    bound<TYomiDBMemo>(user, "YomiDBMemo1", Align::Client, 10, t, "使用者");

    r = row(c, "EditPanel7", 26);
    title(r, "Title7Panel1", "使　用　者　の　住　所", Align::Left, kTitleColumn);
    bound<DBMemo>(r, "DBMemo30", Align::Right, 60, t, "後後軸重");
    title(r, "Title7Panel2", "後後軸重", Align::Right, 60);
    bound<DBMemo>(r, "DBMemo29", Align::Client, 10, t, "使用者住所");
    r = row(c, "EditPanel8", 26);
    title(r, "Title8Panel1", "使用の本拠の位置", Align::Left, kTitleColumn);
    bound<DBMemo>(r, "DBMemo32", Align::Client, 10, t, "使用の本拠の位置");

    // Compulsory insurance: captions over the current pair, the period and the previous pair.
    r = row(c, "EditPanel10", kTitleLine + kEditRow);
    title(r, "Title9Panel2", "自動車損害賠償責任保険", Align::Left, kTitleColumn);
    auto* insurance = new Panel(r, Align::Client, QStringLiteral("InsurancePanel"));
    auto* captions = title(insurance, "Title10Panel1", "", Align::Top, 10);
    captions->resize(10, kTitleLine);
    auto* values = new Panel(insurance, Align::Client, QStringLiteral("InsuranceEditPanel"));
    const struct {
        const char* caption;
        const char* name;
        const char* field;
        int width;
        bool combo;
    } insuranceColumns[] = {
        {"保険会社", "DBComboBox15", "自賠責保険機関", 120, true},
        {"証明書番号", "DBMemo35", "自賠責証明番号", 100, false},
        {"期間（自）", "DBComboBox12", "自賠責期間自", 150, true},
        {"期間", "DBComboBox13", "自賠責期間", 70, true},
        {"期間（至）", "DBComboBox14", "自賠責期間至", 150, true},
        {"前回保険会社", "DBMemo43", "自賠責機関", 110, false},
        {"前回証明書番号", "DBMemo44", "証明番号", 110, false},
    };
    for (const auto& col : insuranceColumns) {
        // The last column takes what is left of the row.
        const Align align = &col == std::end(insuranceColumns) - 1 ? Align::Client : Align::Left;
        auto* label = new QLabel(QString::fromUtf8(col.caption), captions);
        label->setAlignment(Qt::AlignCenter);
        setAlign(label, align);
        label->resize(col.width, kTitleLine);
        if (col.combo)
            bound<DBComboBox>(values, col.name, align, col.width, t, col.field);
        else
            bound<DBMemo>(values, col.name, align, col.width, t, col.field);
    }

    // Validity date and remarks.
    r = row(c, "EditPanel9", 15 + 130 + 4);
    auto* validity = title(r, "Title9Panel1", "有効期間の満了する日", Align::None, 195);
    validity->setGeometry(0, 0, 195, kTitleLine + 3);
    bound<DBComboBox>(r, "DBComboBox11", Align::None, 195, t, "有効期間の満了する日")->move(0, kTitleLine + 5);
    auto* remarksTitle = title(r, "Title13Panel1", "備　　考", Align::None, 195);
    remarksTitle->setGeometry(0, 52, 195, kTitleLine + 3);
    auto* memoButton = new QPushButton(QStringLiteral("日付"), r);
    memoButton->setObjectName(QStringLiteral("MemoButton"));
    memoButton->setGeometry(0, 76, 60, 24);
    auto* memoSpeed = new QToolButton(r);
    memoSpeed->setObjectName(QStringLiteral("MemoSpeed"));
    memoSpeed->setText(QStringLiteral("定型"));
    memoSpeed->setGeometry(64, 76, 40, 24);
    auto* memoList = new QListWidget(r);
    memoList->setObjectName(QStringLiteral("MemoListBox"));
    memoList->addItems({QStringLiteral("車検"), QStringLiteral("修理")});
    memoList->setGeometry(0, 104, 195, 44);
    memoList->hide();
    auto* memoCancel = new QToolButton(r);
    memoCancel->setObjectName(QStringLiteral("MemoCancelSpeed"));
    memoCancel->setText(QStringLiteral("×"));
    memoCancel->setGeometry(108, 76, 24, 24);
    memoCancel->hide();
    auto* headers = new Panel(r, Align::None, QStringLiteral("EditPanel11"));
    headers->setGeometry(200, 0, 400, 15);
    auto* byDate = title(headers, "Title9Panel3", "年　月　日", Align::Left, 115);
    byDate->setCursor(Qt::PointingHandCursor);
    title(headers, "Title9Panel4", "内　　　　　　　　　　容", Align::Client, 10)->setCursor(Qt::PointingHandCursor);
    auto* remarks = bound<DBMemo>(r, "DBMemo34", Align::None, 400, t, "備考");
    remarks->setGeometry(200, 15, 400, 130);

    // Hidden holders the other commands use.
    PathLabel = new QLabel(r);
    PathLabel->setObjectName(QStringLiteral("PathLabel"));
    PathLabel->hide();
    T3Label = new QLabel(r);
    T3Label->setObjectName(QStringLiteral("T3Label"));
    T3Label->hide();
    ListBox1 = new QListWidget(r);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->hide();
    SpinEdit1 = new QSpinBox(r);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(-1000000, 1000000);
    SpinEdit1->hide();
}
