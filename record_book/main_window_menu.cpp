// The main window's menu bar and tool bar.
#include "components/widgets/db_controls.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "platform/error_guard.h"
#include "record_book/main_window.h"

#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QAction* item(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {})
{
    auto* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

QMenu* submenu(QMenu* parent, const char* name, const char* caption)
{
    QMenu* m = parent->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

}  // namespace

void TCarDataForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("CarMainMenu"));
    auto top = [&](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = top("File1", "ﾌｧｲﾙ(&F)");
    item(file, "N28", "郵便番号表示", Qt::Key_F5);
    connectGuarded(item(file, "Expense2", "費用出力(&E)", Qt::Key_F7), &QAction::triggered, this,
                   &TCarDataForm::Expense2Click);
    file->addSeparator();
    connectGuarded(item(file, "Exp1", "ﾊﾞｯｸｱｯﾌﾟ(&B)", Qt::CTRL | Qt::Key_B), &QAction::triggered, this,
                   &TCarDataForm::Exp1Click);
    connectGuarded(item(file, "Inp1", "ﾘｽﾄｱ(&R)", Qt::CTRL | Qt::Key_R), &QAction::triggered, this,
                   &TCarDataForm::Inp1Click);
    file->addSeparator();
    connectGuarded(item(file, "PrintB", "一覧印刷(&P)", Qt::CTRL | Qt::Key_P), &QAction::triggered, this,
                   &TCarDataForm::PrintBClick);
    item(file, "Print1", "車検証印刷(&C)", Qt::Key_F12);
    item(file, "Print2", "　　（手入力ﾓｰﾄﾞ）");
    for (int i = 3; i <= 23; ++i)
        item(file, QStringLiteral("Print%1").arg(i).toLatin1().constData(), "費用印刷");
    file->addSeparator();
    connectGuarded(item(file, "Exit1", "終了(&X)"), &QAction::triggered, this, &TCarDataForm::Exit1Click);

    QMenu* edit = top("Edit1", "編集(&E)");
    item(edit, "Copy1", "現在のデータを複写", Qt::Key_F9);
    edit->addSeparator();
    QMenu* rename = submenu(edit, "N16", "名称変更");
    item(rename, "N17", "自動車損害賠償責任保険");
    item(rename, "N19", "メモ");
    const char* renames[] = {"エンジンＮＯ．", "色", "年式", "販売年月日", "販売形態", "カテゴリ", "お買い上げ金額",
                             "盗難保険"};
    for (int i = 0; i < 8; ++i)
        item(rename, QStringLiteral("N%1").arg(20 + i).toLatin1().constData(), renames[i]);
    QMenu* lists = submenu(edit, "E1", "ﾘｽﾄ修正(&E)");
    const std::pair<const char*, const char*> listItems[] = {
        {"CarNo", "自動車登録番号"}, {"CarDate1", "日付関係"},     {"CarType1", "自動車種別"},
        {"CarUse1", "用途"},         {"CarOther1", "自家用事業用の別"}, {"CarType2", "車体の形状"},
        {"CarName1", "車名"},        {"FuelType", "燃料の種類"},   {"CarIns1", "自賠責保険機関"},
        {"CarTerm1", "自賠責保険期間"}, {"Memo1", "備考"},          {"K4", "カテゴリ"},
    };
    for (auto [name, caption] : listItems)
        item(lists, name, caption);
    findControl<QAction>(this, "K4")->setVisible(false);
    item(lists, "N15", "リスト表示");
    QMenu* items = submenu(edit, "N10", "項目の修正(&K)");
    item(items, "N11", "項目の幅");
    item(items, "N12", "項目の行");
    QAction* up1 = item(items, "Up1", "二輪車用");
    up1->setCheckable(true);
    connectGuarded(up1, &QAction::triggered, this, &TCarDataForm::Up1Click);
    item(edit, "N13", "諸元表の修正(&F)");
    connectGuarded(item(edit, "Expense1", "費用の設定(&H)"), &QAction::triggered, this, &TCarDataForm::Expense1Click);
    connectGuarded(item(edit, "S1", "印刷等桁数設定(&S)"), &QAction::triggered, this, &TCarDataForm::S1Click);
    item(edit, "N7", "ﾀｲﾄﾙ色変更(&T)");
    item(edit, "User1", "自社情報設定");
    connectGuarded(item(edit, "N18", "パスワードの設定"), &QAction::triggered, this, &TCarDataForm::N18Click);
    edit->addSeparator();
    connectGuarded(item(edit, "PrintSB", "一覧印刷設定"), &QAction::triggered, this, &TCarDataForm::PrintSBClick);
    item(edit, "PrintS1", "車検証印刷設定");
    item(edit, "PrintS2", "印刷設定");
    item(edit, "PrintS3", "印刷順序変更");

    QMenu* find = top("Find1", "検索(&S)");
    item(find, "Find2", "検索(&F)", Qt::CTRL | Qt::Key_F);
    item(find, "FindNext1", "次を検索(&S)", Qt::Key_F3);
    item(find, "FindBack1", "前を検索(&B)", Qt::SHIFT | Qt::Key_F3);

    QMenu* show = top("Show1", "表示(&V)");
    item(show, "List1", "リスト表示", Qt::CTRL | Qt::Key_L);
    item(show, "List2", "リスト消去", Qt::CTRL | Qt::Key_H)->setEnabled(false);
    show->addSeparator();
    item(show, "Sort1", "ソート", Qt::CTRL | Qt::Key_S);
    item(show, "SortN", "ソート解除", Qt::CTRL | Qt::Key_U)->setEnabled(false);
    show->addSeparator();
    item(show, "SortFilter1", "ソート＆フィルタ", Qt::Key_F6);
    show->addSeparator();
    item(show, "Filter1", "フィルタ", Qt::CTRL | Qt::Key_G);
    item(show, "FilterN", "フィルタ解除", Qt::CTRL | Qt::Key_N)->setEnabled(false);

    QMenu* help = top("Help1", "ﾍﾙﾌﾟ(&H)");
    connectGuarded(item(help, "Contents1", "目次(&C)"), &QAction::triggered, this, &TCarDataForm::Contents1Click);
    help->addSeparator();
    connectGuarded(item(help, "Ver1", "ﾊﾞｰｼﾞｮﾝ情報（&A)"), &QAction::triggered, this, &TCarDataForm::Ver1Click);
}

void TCarDataForm::buildToolbar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("SpeedPanel1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, bar);

    auto* nav1 = new DBNavigator(bar);
    nav1->setObjectName(QStringLiteral("DBNavigator1"));
    nav1->setTable(Table1);
    nav1->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last,
                             DBNavigator::Post});
    bar->addWidget(nav1);
    auto* nav2 = new DBNavigator(bar);
    nav2->setObjectName(QStringLiteral("DBNavigator2"));
    nav2->setTable(Table1);
    nav2->setVisibleButtons({DBNavigator::Delete});
    bar->addWidget(nav2);
    auto* nav3 = new DBNavigator(bar);
    nav3->setObjectName(QStringLiteral("DBNavigator3"));
    nav3->setTable(Table1);
    nav3->setVisibleButtons({DBNavigator::Cancel});
    bar->addWidget(nav3);
    bar->addSeparator();

    const struct {
        const char* name;
        const char* text;
        const char* hint;
    } speeds[] = {
        {"CopySpeed", "複写", "現在のデータを複写"}, {"FindSpeed", "検索", "検索"},
        {"FindNextSpeed", "次検", "次を検索"},        {"FindBackSpeed", "前検", "前を検索"},
        {"SortSpeed", "ソート", "ソート設定"},       {"SortFilterSpeed", "+", "ソート＆フィルタ設定"},
        {"FilterSpeed", "フィルタ", "フィルタ設定"}, {"ListSpeed", "リスト", "リスト表示及び消去"},
    };
    for (const auto& s : speeds) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setText(QString::fromUtf8(s.text));
        b->setToolTip(QString::fromUtf8(s.hint));
        b->setAutoRaise(true);
        bar->addWidget(b);
    }

    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto indicator = [&](Panel*& p, const char* name, const char* caption, int width, const char* hint) {
        p = new Panel(bar, Align::None, QString::fromLatin1(name));
        p->setCaption(QString::fromUtf8(caption));
        p->setFixedSize(width, 22);
        if (*hint)
            p->setToolTip(QString::fromUtf8(hint));
        bar->addWidget(p);
    };
    indicator(SortPanel, "SortPanel", "", 50, "ソート解除");
    SortPanel->setBevel(Panel::Bevel::Lowered);
    indicator(FilterPanel, "FilterPanel", "", 50, "フィルタ設定及び解除");
    FilterPanel->setBevel(Panel::Bevel::Lowered);
    indicator(CurrentPanel, "CurrentPanel", "", 56, "検索");
    CurrentPanel->setBevel(Panel::Bevel::Lowered);
    CurrentPanel->setCaptionAlignment(Qt::AlignRight | Qt::AlignVCenter);
    indicator(Commant2Panel, "Commant2Panel", "件目", 32, "検索");
    indicator(TotalPanel, "TotalPanel", "", 56, "");
    TotalPanel->setBevel(Panel::Bevel::Lowered);
    TotalPanel->setCaptionAlignment(Qt::AlignRight | Qt::AlignVCenter);
    indicator(Commant1Panel, "Commant1Panel", "件中", 36, "");
}
