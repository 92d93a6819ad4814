#include "record_book/main_window.h"

#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/find_control.h"
#include "components/core/japanese_text.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/lookup_settings.h"
#include "components/formats/settings_file.h"
#include "components/formats/startup_settings.h"
#include "components/widgets/typed_text.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "platform/help.h"
#include "platform/keyboard_locks.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/model/choice_lists.h"
#include "record_book/model/record_rules.h"
#include "record_book/print_dialogs.h"
#include "record_book/small_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

TCarDataForm* CarDataForm = nullptr;

namespace {

const char* const kTabCaptions[] = {"あ行", "か行", "さ行", "た行", "な行", "は行",
                                    "ま行", "や行", "ら行", "わ行", "追加"};

constexpr int kMinimumWidth = 650;
constexpr int kRemarksLeft = 200;

const char* const kDateBoxes[] = {"DBComboBox2", "DBComboBox3", "DBComboBox11", "DBComboBox12",
                                  "DBComboBox14", "UpComboBox1", "UpComboBox2", "UpComboBox3"};

}  // namespace

TCarDataForm::TCarDataForm(RecordBook& book, QWidget* parent) : QMainWindow(parent), book_(book)
{
    CarDataForm = this;
    setObjectName(QStringLiteral("CarDataForm"));
    setWindowTitle(QStringLiteral("Sorvani For Win32"));

    Table1 = &book_.records();
    Table5 = &book_.specifications();
    Table3 = &book_.widthSets();
    Table3->AfterScroll = [this](Table&) { Table3AfterScroll(); };
    book_.AfterScroll = [this] { Table1AfterScroll(); };
    book_.SavingKanaRow = [this](int kanaRow) { selectTab(kanaRow); };
    connect(Table1, &Table::recordChanged, this, &TCarDataForm::scheduleCounters);
    connect(Table1, &Table::dataSetChanged, this, &TCarDataForm::scheduleCounters);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TabPage = new QWidget(central);
    TabPage->setObjectName(QStringLiteral("TabControl1"));
    auto* pageLayout = new QVBoxLayout(TabPage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    ScrollBox1 = new QScrollArea(TabPage);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    TabControl1 = new QTabBar(TabPage);
    TabControl1->setObjectName(QStringLiteral("TabBar1"));
    TabControl1->setShape(QTabBar::RoundedSouth);
    TabControl1->setExpanding(false);
    for (const char* caption : kTabCaptions)
        TabControl1->addTab(QString::fromUtf8(caption));
    pageLayout->addWidget(ScrollBox1, 1);
    pageLayout->addWidget(TabControl1);
    layout->addWidget(TabPage);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setFixedWidth(500);
    StatusBar1->addWidget(StatusPanel0);
    setStatusBar(StatusBar1);

    buildMenus();
    buildToolbar();
    buildCard();
    wireyomi();
    wirelookup();
    wiredates();
    wirefind();
    wireview();
    wireprint();
    for (QObject* o : CardPanel->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isHidden() && alignOf(w) == Align::Top)
            cardBaseHeight_ += w->height();
    for (const ChoiceList& l : choiceLists())
        for (const char* box : l.boxes)
            setListEntries(control<QWidget>(box), l.builtIn);
    setListEntries(control<QWidget>("UpComboBox1"), {sj("群"), sj("群馬")});

    connectGuarded(TabControl1, &QTabBar::currentChanged, this, [this] {
        if (!tabChanging_)
            TabControl1Change();
    });
    for (const char* name : kDateBoxes) {
        QWidget* box = control<QWidget>(name);
        const QString hint = QStringLiteral(" ダブルクリックでカレンダー表示で入力出来ます。");
        onClick(box, [this, hint] { setStatusHint(hint); });
        onKeyDown(box, [this, hint](QKeyEvent*) { setStatusHint(hint); });
    }
    onClick(control<QWidget>("DBMemo34"),
            [this] { setStatusHint(QStringLiteral(" 左の日付をクリックするとカレンダー表示で入力出来ます。")); });
    for (const char* name : {"DBMemo25", "DBMemo29"})
        onClick(control<QWidget>(name),
                [this] { setStatusHint(QStringLiteral(" ダブルクリックで郵便番号７桁検索で入力出来ます。")); });
    for (const char* name : {"DBMemo21", "DBMemo22"})
        onClick(control<QWidget>(name), [this] { setStatusHint(QStringLiteral(" ダブルクリックで諸元表入力が出来ます。")); });
    for (const char* name : {"DBMemo23", "DBMemo32", "UpMemo6"})
        onClick(control<QWidget>(name), [this] {
            setStatusHint(QStringLiteral(" 左のタイトルをクリックすると”使用者に同じ”が入力されます。"));
        });
    for (const char* name : {"DBMemo23", "DBMemo25", "DBMemo29", "DBMemo32", "DBMemo21", "DBMemo22", "UpMemo6"})
        connect(control<DBMemo>(name), &DBMemo::exited, this, [this] { setStatusHint({}); });
    qApp->installEventFilter(this);

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("CarData "));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    resize(980, 700);
    book_.load(currentDataDirectory());
    FormCreate();
    RestorePos1->restore();
    if (Table1->IsEmpty())
        book_.Table1AfterScroll();
}

TCarDataForm::~TCarDataForm()
{
    qApp->removeEventFilter(this);
    book_.AfterScroll = nullptr;
    book_.SavingKanaRow = nullptr;
    if (CarDataForm == this)
        CarDataForm = nullptr;
}

template <class T> T* TCarDataForm::control(const char* name) const
{
    return findControl<T>(this, name);
}

QWidget* TCarDataForm::card() const { return CardPanel; }

// The window's part of the start: the book is loaded already.
void TCarDataForm::FormCreate()
{
    ExpenseFormsCreated = ListFormsCreated = false;
    SortFilterCombined = 0;
    SortPanel->setCaption({});
    FilterPanel->setCaption({});
    Commant1Panel->setCaption(QStringLiteral("件中"));
    PathLabel->setText(dataDirectory());
    const RecordBookSettings& settings = book_.settings();
    for (const QString& failure : settings.ReadFailures)
        showErrorBox(failure);
    if (settings.PrintProgramPresent) {
        PrintSet();
    } else {
        QStringList hidden = {QStringLiteral("User1"), QStringLiteral("Print1"), QStringLiteral("PrintS1"),
                              QStringLiteral("PrintS2"), QStringLiteral("PrintS3")};
        for (int i = 2; i <= 23; ++i)
            hidden << QStringLiteral("Print%1").arg(i);
        for (const QString& name : hidden)
            findControl<QAction>(this, name)->setVisible(false);
    }
    loadLists();
    ResizeOffset = 0;
    if (fileExists(dataDirectory(), QStringLiteral("DataBase.INI")))
        applyLayoutMode(settings.RecordLayoutMode);
    if (!settings.StartupPassword.empty())
        lockForPassword(true);
    setCapsLock(true);
}

// A file that cannot be read is reported and keeps its controls' defaults;
// the other files still load.
void TCarDataForm::loadLists()
{
    const QString dir = dataDirectory();
    // The entries keep the files' bytes: codeFiles() reads them as paths.
    guarded([&] { setListEntries(ListBox1, readCodeFileList(dir).paths); });
    for (const ChoiceList& list : choiceLists())
        guarded([&] {
            if (const auto stored = readChoiceEntries(dir, list.file))
                for (const char* box : list.boxes)
                    setListEntries(control<QWidget>(box), stored->entries);
        });
    for (const SectionTitle& t : sectionTitles())
        guarded([&] {
            if (const auto stored = readSectionTitles(dir, t.file))
                setTitle(control<Panel>(t.panel), stored->title(std::size_t(t.line)));
        });
}

// Shows the extension rows for a layout mode and binds their controls.
void TCarDataForm::applyLayoutMode(int mode)
{
    auto* up1 = control<QAction>("Up1");
    if (mode == 1) {
        up1->setChecked(true);
        ResizeOffset = 59;
        for (const char* name : {"TitlePanel14", "EditPanel15", "EditPanel16"})
            setControlVisible(control<QWidget>(name), true);
        bindExtensionControls(true);
        control<QAction>("K4")->setVisible(true);
    } else if (mode == 2) {
        ResizeOffset = 20;
        setControlVisible(control<QWidget>("EditPanel16"), true);
        bindExtensionControls(false);
    }
    FormResize();
}

// Binds the memo row, and with `all` the whole extension row; false when
// the record table lacks one of the fields.
bool TCarDataForm::bindExtensionControls(bool all)
{
    const std::pair<const char*, const char*> bindings[] = {
        {"UpMemo6", "メモ"},          {"UpMemo1", "エンジンＮＯ．"}, {"UpMemo2", "色"},
        {"UpComboBox1", "年式"},      {"UpComboBox2", "販売年月日"}, {"UpMemo3", "販売形態"},
        {"UpComboBox4", "カテゴリ"},  {"UpMemo5", "お買い上げ金額"}, {"UpComboBox3", "盗難保険"},
    };
    for (auto [name, field] : bindings) {
        if (Table1->FieldIndex(field) < 0)
            return false;
        if (auto* memo = findChild<DBMemo*>(QString::fromLatin1(name)))
            memo->bind(*Table1, field);
        else
            control<DBComboBox>(name)->bind(*Table1, field);
        if (!all)
            break;
    }
    return true;
}

void TCarDataForm::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (Timer1 && !Timer1->property("fired").toBool()) {
        Timer1->setProperty("fired", true);
        Timer1->start();
    }
}

void TCarDataForm::Timer1Timer()
{
    Timer1->stop();
    if (!book_.settings().StartupPassword.empty()) {
        showModal(*PassDlg);
        // A character no password file can hold makes the password wrong.
        const QString typed = PassDlg->MaskEdit1->text();
        const bool right = sjis::canEncode(typed) && sjis::encode(typed) == book_.settings().StartupPassword;
        if (!right) {
            // A wrong password ends the program at once: the record start-up
            // began on an empty table is dropped without the closing question.
            if (Table1->state() != Table::State::Browse)
                Table1->Cancel();
            close();
            return;
        }
        lockForPassword(false);
    }
    if (book_.settings().PrintProgramPresent && !fileExists(dataDirectory(), QStringLiteral("User.INI")))
        showModal(*UserSetForm);
}

void TCarDataForm::selectTab(int index)
{
    tabChanging_ = true;
    TabControl1->setCurrentIndex(index);
    tabChanging_ = false;
}

void TCarDataForm::TabControl1Change()
{
    const int index = TabControl1->currentIndex();
    if (index < 0)
        return;
    const QString caption = TabControl1->tabText(index);
    if (caption == QStringLiteral("追加")) {
        Table1->Append();
        return;
    }
    SjisString key = sjis::encode(caption).substr(0, 2);
    while (key.size() == 2) {
        if (Table1->Locate("使用者ふりがな", {key}, {true}))
            return;
        const int next = uint8_t(key[1]) + 1;
        if (next > 0xF1)
            break;
        key[1] = char(next);
    }
    showMessage(caption + QStringLiteral(" not found."));
}

void TCarDataForm::refreshCounters()
{
    TotalPanel->setCaption(QString::number(Table1->RecordCount()));
    CurrentPanel->setCaption(QString::number(Table1->RecNo()));
}

// The counters follow the table once control is back in the event loop, so
// a run of moves or a bulk restore updates them once.
void TCarDataForm::scheduleCounters()
{
    if (countersPending_)
        return;
    countersPending_ = true;
    QTimer::singleShot(0, this, [this] {
        countersPending_ = false;
        guarded([this] { refreshCounters(); });
    });
}

void TCarDataForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    guarded([this] { FormResize(); });
}

void TCarDataForm::FormResize()
{
    if (width() < kMinimumWidth)
        resize(kMinimumWidth, height());
    auto* remarks = control<QWidget>("DBMemo34");
    auto* headers = control<QWidget>("EditPanel11");
    auto* remarksRow = control<QWidget>("EditPanel9");
    const int viewportWidth = ScrollBox1->viewport()->width();
    CardPanel->resize(std::max(viewportWidth, 760), CardPanel->height());

    // The card's height without the remarks growing: every visible row.
    auto contentHeight = [&] {
        int h = 0;
        for (QObject* o : CardPanel->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isHidden() && alignOf(w) == Align::Top)
                h += w->height();
        return h;
    };
    int margin;
    const int available = ScrollBox1->viewport()->height();
    if (SpinEdit1->value() + ResizeOffset + cardBaseHeight() < available) {
        const int grow = available - contentHeight() - 4;
        remarks->resize(remarks->width(), std::max(130, remarks->height() + grow));
        margin = 20;
    } else {
        remarks->resize(remarks->width(), 130);
        margin = 36;
    }
    const int memoWidth = std::max(100, width() - margin - kRemarksLeft);
    remarks->resize(memoWidth, remarks->height());
    setControlWidth(headers, memoWidth);
    setControlHeight(remarksRow, remarks->y() + remarks->height() + 4);
    CardPanel->resize(CardPanel->width(), contentHeight());
    CardPanel->realign();
    setControlWidth(control<QWidget>("DBComboBox7"), control<QWidget>("Title1Panel7")->width());
    setControlWidth(control<QWidget>("DBComboBox8"), control<QWidget>("Title2Panel1")->width());
    setControlWidth(control<QWidget>("UpComboBox3"), control<QWidget>("Title14Panel8")->width());
}

int TCarDataForm::cardBaseHeight() const
{
    return cardBaseHeight_;
}

// Enter moves to the next field, except in the remarks memo where it breaks
// the line.
// While the start-up password is asked for, the card is hidden and no
// menu, shortcut or tool button works.
void TCarDataForm::lockForPassword(bool locked)
{
    lockedForPassword_ = locked;
    TabPage->setVisible(!locked);
    menuBar()->setEnabled(!locked);
    control<QWidget>("SpeedPanel1")->setEnabled(!locked);
}

bool TCarDataForm::eventFilter(QObject* watched, QEvent* e)
{
    if (lockedForPassword_ && e->type() == QEvent::Shortcut)
        return true;
    if (watched == ScrollBox1->viewport() && e->type() == QEvent::Resize)
        QTimer::singleShot(0, this, [this] { guarded([this] { FormResize(); }); });
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        // The Enter of the number pad and Shift+Enter type the same carriage
        // return; with Ctrl or Alt the key is no Enter for the form.
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && plain)
            return handleEnterKey(watched);
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TCarDataForm::handleEnterKey(QObject* target)
{
    auto* w = qobject_cast<QWidget*>(target);
    if (!w || w->window() != this || !isAncestorOf(w))
        return false;
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !CardPanel->isAncestorOf(focused))
        return false;
    for (QWidget* p = focused; p; p = p->parentWidget())
        if (p->objectName() == QLatin1String("DBMemo34"))
            return false;
    focusNextChild();
    return true;
}

bool TCarDataForm::FormCloseQuery()
{
    if (Table1->state() != Table::State::Browse) {
        switch (showMessage(QStringLiteral("登録していません！\r登録してよろしいですか？"), QStringLiteral("確認"),
                            MessageIcon::Question, MessageButtons::YesNoCancel, this)) {
        case MessageAnswer::Yes:
            try {
                Table1->Next();
            } catch (const std::exception& e) {
                showMessage(QString::fromUtf8(e.what()), {}, MessageIcon::Error);
                return false;  // Caps Lock stays as it was
            }
            break;
        case MessageAnswer::No:
            Table1->Cancel();
            break;
        default:
            setCapsLock(false);
            return false;
        }
    }
    setCapsLock(false);
    return true;
}

void TCarDataForm::closeEvent(QCloseEvent* e)
{
    bool close = false;
    guarded([&] { close = FormCloseQuery(); });
    if (close)
        e->accept();
    else
        e->ignore();
}

// ---- the record hooks ------------------------------------------------------------

// The window's part of the book's after-scroll: an empty book starts a new
// record.
void TCarDataForm::Table1AfterScroll()
{
    control<Panel>("Title9Panel3")->setCaption(QStringLiteral("年　月　日"));
    control<Panel>("Title9Panel4")->setCaption(QStringLiteral("内　　　　　　　　　　容"));
    refreshCounters();
    if (Table1->RecNo() != -1 && Table1->RecordCount() == 0)
        Table1->Append();
    selectTab(book_.KanaRowIndex());
}

// ---- commands of the window ---------------------------------------------------------

void TCarDataForm::setStatusHint(const QString& text)
{
    StatusPanel0->setText(text);
}

void TCarDataForm::N18Click()
{
    PassDlg->setWindowTitle(QStringLiteral("パスワードの設定"));
    PassDlg->MaskEdit1->clear();
    if (showModal(*PassDlg) != QDialog::Accepted)
        return;
    const std::optional<SjisString> password = encodeOrWarn(PassDlg->MaskEdit1->text(), this);
    if (!password)
        return;
    writeStartupPassword(dataDirectory(), *password);
}

void TCarDataForm::Ver1Click()
{
    showModal(*VersionDlg);
}

// The help page: a Dremlot.html of the data directory, else the one that
// comes with the program.
QString TCarDataForm::helpPagePath() const
{
    const QString name = QStringLiteral("Dremlot.html");
    if (fileExists(dataDirectory(), name))
        return resolveFile(dataDirectory(), name);
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help/") + name);
}

void TCarDataForm::Contents1Click()
{
    openHelp(helpPagePath());
}

void TCarDataForm::Exit1Click()
{
    close();
}

void TCarDataForm::Up1Click()
{
    auto* up1 = control<QAction>("Up1");
    // The action toggled itself already; the switch goes by the state before.
    const bool wasChecked = !up1->isChecked();
    if (Table1->FieldIndex("メモ") < 0) {
        up1->setChecked(false);
        return;
    }
    if (wasChecked) {
        up1->setChecked(false);
        ResizeOffset = 20;
        setControlVisible(control<QWidget>("TitlePanel14"), false);
        setControlVisible(control<QWidget>("EditPanel15"), false);
        setControlVisible(control<QWidget>("EditPanel16"), true);
        bindExtensionControls(false);
    } else {
        up1->setChecked(true);
        ResizeOffset = 59;
        for (const char* name : {"TitlePanel14", "EditPanel15", "EditPanel16"})
            setControlVisible(control<QWidget>(name), true);
        if (!bindExtensionControls(true)) {
            up1->setChecked(false);
            return;
        }
        control<QAction>("K4")->setVisible(true);
    }
    FormResize();
    try {
        writeRecordLayoutMode(dataDirectory(), wasChecked ? 2 : 1);
    } catch (const FileError&) {
        up1->setChecked(false);
    }
}
