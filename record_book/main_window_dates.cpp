// The card's entry aids: era dates through the date dialog and "$DATE",
// the end of the compulsory insurance, the choice-list editors and the
// section-title renames, the weight completion, and the remarks memo's
// dated lines, standard words and sorting.
#include "components/core/check.h"
#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/find_control.h"
#include "components/core/era_date.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "components/formats/settings_file.h"
#include "components/widgets/typed_text.h"
#include "components/widgets/widget_events.h"
#include "platform/clock.h"
#include "platform/error_guard.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/model/choice_lists.h"
#include "record_book/date_dialog.h"
#include "record_book/model/date_fields.h"
#include "record_book/list_edit.h"
#include "record_book/main_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTextOption>
#include <QToolButton>

#include <algorithm>
#include <map>

namespace {

using Handler = void (TCarDataForm::*)();

struct DateBox {
    const char* box;
    const EraDateField& field;
    Handler dblClick;
    Handler exit;
};

const DateBox kEraDateBoxes[] = {
    {"DBComboBox2", *findEraDateField("登録年月日"), &TCarDataForm::DBComboBox2DblClick,
     &TCarDataForm::DBComboBox2Exit},
    {"DBComboBox3", *findEraDateField("初度登録年月"), &TCarDataForm::DBComboBox3DblClick,
     &TCarDataForm::DBComboBox3Exit},
    {"DBComboBox11", *findEraDateField("有効期間の満了する日"), &TCarDataForm::DBComboBox11DblClick,
     &TCarDataForm::DBComboBox11Exit},
    {"DBComboBox12", *findEraDateField("自賠責期間自"), &TCarDataForm::DBComboBox12DblClick,
     &TCarDataForm::DBComboBox12Exit},
    {"DBComboBox14", *findEraDateField("自賠責期間至"), &TCarDataForm::DBComboBox14DblClick,
     &TCarDataForm::DBComboBox14Exit},
    {"UpComboBox2", *findEraDateField("販売年月日"), &TCarDataForm::UpComboBox2DblClick,
     &TCarDataForm::UpComboBox2Exit},
    {"UpComboBox3", *findEraDateField("盗難保険"), &TCarDataForm::UpComboBox3DblClick,
     &TCarDataForm::UpComboBox3Exit},
    {"UpComboBox1", *findEraDateField("年式"), &TCarDataForm::UpComboBox1DblClick, &TCarDataForm::UpComboBox1Exit},
};

const DateBox& dateBox(const char* name)
{
    return *std::find_if(std::begin(kEraDateBoxes), std::end(kEraDateBoxes),
                         [name](const DateBox& b) { return std::string_view(b.box) == name; });
}

// The boxes of the book's two weight groups.
struct WeightGroup {
    const char* question;
    std::vector<const char*> boxes;
    Handler enter;
    Handler dblClick;
};

const WeightGroup kWeightGroups[] = {
    {"乗車定員、最大積載量、車両重量、車両総重量を消去します！", {"DBMemo7", "DBMemo10", "DBMemo9", "DBMemo12"},
     &TCarDataForm::DBMemo7Enter, &TCarDataForm::DBMemo7DblClick},
    {"定員、積載量、車両重量、総重量を消去します！", {"DBMemo8", "DBMemo11", "DBMemo13"}, &TCarDataForm::DBMemo8Enter,
     &TCarDataForm::DBMemo8DblClick},
};

QString fullWidthSpaces(int n)
{
    return QString(n, QChar(0x3000));
}

// Captions of the remarks headers: unsorted, ascending, descending.
QString dateHeader(int order)
{
    const QString words = QStringLiteral("年　月　日");
    return order == 0 ? words : fullWidthSpaces(4) + words + fullWidthSpaces(3) + (order > 0 ? u'△' : u'▽');
}

QString contentHeader(int order)
{
    const QString words = QStringLiteral("内") + fullWidthSpaces(10) + QStringLiteral("容");
    return order == 0 ? words : fullWidthSpaces(10) + words + fullWidthSpaces(9) + (order > 0 ? u'△' : u'▽');
}

bool blankAfterFullWidthSpaces(std::string_view part)
{
    const SjisString space = sj("　");
    while (part.substr(0, 2) == space)
        part.remove_prefix(2);
    return part.empty();
}

// The choice list or section title that a menu item edits.
template <class T> const T& byMenuItem(const std::vector<T>& entries, const char* menuItem)
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           [menuItem](const T& e) { return std::string_view(e.menuItem) == menuItem; });
    SORVANI_CHECK(it != entries.end(), std::string("no entry for the menu item ") + menuItem);
    return *it;
}

template <class T> T* child(const QObject* form, const char* name)
{
    return findControl<T>(form, name);
}

}  // namespace

void TCarDataForm::wiredates()
{
    auto call = [this](Handler h) { return [this, h] { guarded([this, h] { (this->*h)(); }); }; };
    for (const DateBox& b : kEraDateBoxes) {
        auto* box = child<DBComboBox>(this, b.box);
        onDoubleClick(box, call(b.dblClick));
        connectGuarded(box, &DBComboBox::exited, this, b.exit);
    }
    connectGuarded(child<DBComboBox>(this, "DBComboBox12"), &DBComboBox::entered, this,
                   &TCarDataForm::DBComboBox12Enter);
    auto* term = child<DBComboBox>(this, "DBComboBox13");
    connectGuarded(term, &DBComboBox::entered, this, &TCarDataForm::DBComboBox12Enter);
    connectGuarded(term, &DBComboBox::exited, this, &TCarDataForm::DBComboBox12Enter);

    const std::pair<const char*, Handler> menuItems[] = {
        {"CarNo", &TCarDataForm::CarNoClick},       {"CarDate1", &TCarDataForm::CarDate1Click},
        {"CarType1", &TCarDataForm::CarType1Click}, {"CarUse1", &TCarDataForm::CarUse1Click},
        {"CarOther1", &TCarDataForm::CarOther1Click}, {"CarType2", &TCarDataForm::CarType2Click},
        {"CarName1", &TCarDataForm::CarName1Click}, {"FuelType", &TCarDataForm::FuelTypeClick},
        {"CarIns1", &TCarDataForm::CarIns1Click},   {"CarTerm1", &TCarDataForm::CarTerm1Click},
        {"Memo1", &TCarDataForm::Memo1Click},       {"K4", &TCarDataForm::K4Click},
        {"N17", &TCarDataForm::N17Click},           {"N19", &TCarDataForm::N19Click},
        {"N20", &TCarDataForm::N20Click},           {"N21", &TCarDataForm::N21Click},
        {"N22", &TCarDataForm::N22Click},           {"N23", &TCarDataForm::N23Click},
        {"N24", &TCarDataForm::N24Click},           {"N25", &TCarDataForm::N25Click},
        {"N26", &TCarDataForm::N26Click},           {"N27", &TCarDataForm::N27Click},
    };
    for (auto [name, handler] : menuItems)
        connectGuarded(child<QAction>(this, name), &QAction::triggered, this, handler);

    for (const WeightGroup& g : kWeightGroups) {
        for (const char* name : g.boxes) {
            auto* box = child<DBMemo>(this, name);
            QTextOption option = box->document()->defaultTextOption();
            option.setAlignment(Qt::AlignRight);
            box->document()->setDefaultTextOption(option);
            box->setAttribute(Qt::WA_InputMethodEnabled, false);
            connectGuarded(box, &DBMemo::entered, this, g.enter);
            onDoubleClick(box, call(g.dblClick));
        }
    }

    connectGuarded(child<QPushButton>(this, "MemoButton"), &QPushButton::clicked, this, &TCarDataForm::MemoButtonClick);
    connectGuarded(child<QToolButton>(this, "MemoSpeed"), &QToolButton::clicked, this, &TCarDataForm::MemoSpeedClick);
    connectGuarded(child<QToolButton>(this, "MemoCancelSpeed"), &QToolButton::clicked, this,
                   &TCarDataForm::MemoCancelSpeedClick);
    auto* words = child<QListWidget>(this, "MemoListBox");
    connectGuarded(words, &QListWidget::itemClicked, this, &TCarDataForm::MemoListBoxClick);
    onKeyDown(words, [this, call](QKeyEvent* e) {
        if (e->key() == Qt::Key_Space)
            call(&TCarDataForm::MemoListBoxClick)();
    });
    connectGuarded(child<Panel>(this, "Title9Panel3"), &Panel::clicked, this, &TCarDataForm::Title9Panel3Click);
    connectGuarded(child<Panel>(this, "Title9Panel4"), &Panel::clicked, this, &TCarDataForm::Title9Panel4Click);
    connectGuarded(child<DBNavigator>(this, "DBNavigator3"), &DBNavigator::clicked, this,
                   &TCarDataForm::DBNavigator3Click);
}

// ---- era dates ----------------------------------------------------------------------

void TCarDataForm::dateBoxDblClick(const char* name)
{
    const DateBox& b = dateBox(name);
    if (Table1->FieldIndex(b.field.name) < 0)
        return;
    child<DBComboBox>(this, name)->updateRecord();
    const std::optional<SjisString> picked = DateSDlg->pickDate(Table1->FieldByName(b.field.name).AsString());
    if (!picked)
        return;
    book_.editRecord();
    Table1->FieldByName(b.field.name).SetAsString(sjis::cutBytes(*picked, b.field.bytes));
}

void TCarDataForm::dateBoxExit(const char* name)
{
    setStatusHint({});
    const DateBox& b = dateBox(name);
    if (Table1->FieldIndex(b.field.name) < 0 || Table1->FieldByName(b.field.name).AsString() != "$DATE")
        return;
    book_.editRecord();
    Table1->FieldByName(b.field.name).SetAsString(eraDateText(today(), b.field.pattern));
}

void TCarDataForm::DBComboBox2DblClick() { dateBoxDblClick("DBComboBox2"); }
void TCarDataForm::DBComboBox3DblClick() { dateBoxDblClick("DBComboBox3"); }
void TCarDataForm::DBComboBox11DblClick() { dateBoxDblClick("DBComboBox11"); }
void TCarDataForm::DBComboBox12DblClick() { dateBoxDblClick("DBComboBox12"); }
void TCarDataForm::DBComboBox14DblClick() { dateBoxDblClick("DBComboBox14"); }
void TCarDataForm::UpComboBox1DblClick() { dateBoxDblClick("UpComboBox1"); }
void TCarDataForm::UpComboBox2DblClick() { dateBoxDblClick("UpComboBox2"); }
void TCarDataForm::UpComboBox3DblClick() { dateBoxDblClick("UpComboBox3"); }
void TCarDataForm::DBComboBox2Exit() { dateBoxExit("DBComboBox2"); }
void TCarDataForm::DBComboBox3Exit() { dateBoxExit("DBComboBox3"); }
void TCarDataForm::DBComboBox11Exit() { dateBoxExit("DBComboBox11"); }
void TCarDataForm::DBComboBox12Exit() { dateBoxExit("DBComboBox12"); }
void TCarDataForm::DBComboBox14Exit() { dateBoxExit("DBComboBox14"); }
void TCarDataForm::UpComboBox1Exit() { dateBoxExit("UpComboBox1"); }
void TCarDataForm::UpComboBox2Exit() { dateBoxExit("UpComboBox2"); }
void TCarDataForm::UpComboBox3Exit() { dateBoxExit("UpComboBox3"); }

// The end of the compulsory insurance from its start and term; the record
// is touched only when the end changes.
void TCarDataForm::DBComboBox12Enter()
{
    const std::optional<SjisString> end = insuranceEndText(Table1->FieldByName("自賠責期間").AsString(),
                                                           Table1->FieldByName("自賠責期間自").AsString());
    if (!end || *end == Table1->FieldByName("自賠責期間至").AsString())
        return;
    book_.editRecord();
    Table1->FieldByName("自賠責期間至").SetAsString(*end);
}

// ---- choice lists and section titles -------------------------------------------------

void TCarDataForm::editChoiceList(const char* menuItem)
{
    const ChoiceList& list = byMenuItem(choiceLists(), menuItem);
    ListEditForm->Panel1->setCaption(QString::fromUtf8(list.heading));
    ListEditForm->setLines(listEntries(child<QWidget>(this, list.boxes.front())));
    if (showModal(*ListEditForm) != QDialog::Accepted)
        return;
    const std::vector<SjisString> entries = ListEditForm->lines();
    for (const char* box : list.boxes)
        setListEntries(child<QWidget>(this, box), entries);
    writeChoiceEntries(dataDirectory(), list.file, {entries});
}

void TCarDataForm::CarNoClick() { editChoiceList("CarNo"); }
void TCarDataForm::CarDate1Click() { editChoiceList("CarDate1"); }
void TCarDataForm::CarType1Click() { editChoiceList("CarType1"); }
void TCarDataForm::CarUse1Click() { editChoiceList("CarUse1"); }
void TCarDataForm::CarOther1Click() { editChoiceList("CarOther1"); }
void TCarDataForm::CarType2Click() { editChoiceList("CarType2"); }
void TCarDataForm::CarName1Click() { editChoiceList("CarName1"); }
void TCarDataForm::FuelTypeClick() { editChoiceList("FuelType"); }
void TCarDataForm::CarIns1Click() { editChoiceList("CarIns1"); }
void TCarDataForm::CarTerm1Click() { editChoiceList("CarTerm1"); }
void TCarDataForm::Memo1Click() { editChoiceList("Memo1"); }
void TCarDataForm::K4Click() { editChoiceList("K4"); }

// Asks for a new title; its file is rewritten with the captions of every
// title it holds.
void TCarDataForm::renameTitle(const char* menuItem)
{
    const SectionTitle& title = byMenuItem(sectionTitles(), menuItem);
    const QString item = child<QAction>(this, menuItem)->text();
    QString name;
    if (!inputQuery(QStringLiteral("名称の変更（") + item + QStringLiteral("）"),
                    item + QStringLiteral("の代わりの名称を入力してください。"), name, this))
        return;
    // The new title is encoded before any caption changes; the other
    // titles of its file keep their bytes.
    const std::optional<SjisString> bytes = encodeOrWarn(name, this);
    if (!bytes)
        return;
    std::map<int, SjisString> lines;
    for (const SectionTitle& t : sectionTitles())
        if (std::string_view(t.file) == title.file)
            lines[t.line] = &t == &title ? *bytes : titleBytes(child<Panel>(this, t.panel));
    setTitle(child<Panel>(this, title.panel), *bytes);
    SectionTitles titles;
    for (const auto& [line, caption] : lines)
        titles.titles.push_back(caption);
    writeSectionTitles(dataDirectory(), title.file, titles);
}

void TCarDataForm::N17Click() { renameTitle("N17"); }
void TCarDataForm::N19Click() { renameTitle("N19"); }
void TCarDataForm::N20Click() { renameTitle("N20"); }
void TCarDataForm::N21Click() { renameTitle("N21"); }
void TCarDataForm::N22Click() { renameTitle("N22"); }
void TCarDataForm::N23Click() { renameTitle("N23"); }
void TCarDataForm::N24Click() { renameTitle("N24"); }
void TCarDataForm::N25Click() { renameTitle("N25"); }
void TCarDataForm::N26Click() { renameTitle("N26"); }
void TCarDataForm::N27Click() { renameTitle("N27"); }

// ---- weights --------------------------------------------------------------------------

void TCarDataForm::clearWeights(int group)
{
    const WeightGroup& g = kWeightGroups[group];
    if (showMessage(QString::fromUtf8(g.question) + QStringLiteral("\r消去してよろしいですか？"), QStringLiteral("確認"),
                    MessageIcon::Question, MessageButtons::YesNo, this)
        != MessageAnswer::Yes)
        return;
    book_.clearWeights(group);
}

void TCarDataForm::DBMemo7Enter() { book_.completeWeights(0); }
void TCarDataForm::DBMemo8Enter() { book_.completeWeights(1); }
void TCarDataForm::DBMemo7DblClick() { clearWeights(0); }
void TCarDataForm::DBMemo8DblClick() { clearWeights(1); }

// ---- remarks ------------------------------------------------------------------------

// 備考 with what is typed into the memo handed over.
SjisString TCarDataForm::remarks()
{
    child<DBMemo>(this, "DBMemo34")->updateRecord();
    return Table1->FieldByName("備考").AsString();
}

void TCarDataForm::setRemarks(const SjisString& text)
{
    book_.editRecord();
    Table1->FieldByName("備考").SetAsString(text);
}

void TCarDataForm::MemoButtonClick()
{
    const std::optional<SjisString> picked = DateSDlg->pickDate({});
    if (!picked)
        return;
    setRemarks(remarks() + "\r\n" + *picked + sj("　"));
}

void TCarDataForm::showRemarkWords(bool show)
{
    child<QWidget>(this, "MemoListBox")->setVisible(show);
    child<QWidget>(this, "MemoCancelSpeed")->setVisible(show);
}

void TCarDataForm::MemoSpeedClick() { showRemarkWords(true); }
void TCarDataForm::MemoCancelSpeedClick() { showRemarkWords(false); }

void TCarDataForm::MemoListBoxClick()
{
    QListWidgetItem* item = child<QListWidget>(this, "MemoListBox")->currentItem();
    if (!item)
        return;
    setRemarks(remarks() + listEntry(item) + sj("　"));
    showRemarkWords(false);
}

// Sorts the remarks lines through the Sort table by their date part (the
// first 22 bytes) or their content part (the rest); blank lines drop out.
// The header clicked shows the direction, and a second click reverses it.
void TCarDataForm::sortRemarks(bool byContent)
{
    const SjisString current = remarks();
    const std::vector<std::string_view> lines = splitLines(current);
    if (lines.size() <= 1)
        return;
    Table4 = &book_.remarksSort();
    Table4->EmptyTable();
    constexpr std::size_t kDatePart = kEraDateBytes;  // a dated line begins with an era date
    for (std::string_view line : lines) {
        const SjisString date(line.substr(0, kDatePart));
        const SjisString content(line.size() > kDatePart ? line.substr(kDatePart) : std::string_view());
        if (blankAfterFullWidthSpaces(date) && blankAfterFullWidthSpaces(content))
            continue;
        if (byContent)
            Table4->AppendRecord({content, date});
        else
            Table4->AppendRecord({date, content});
    }

    Panel* clicked = child<Panel>(this, byContent ? "Title9Panel4" : "Title9Panel3");
    Panel* other = child<Panel>(this, byContent ? "Title9Panel3" : "Title9Panel4");
    auto header = byContent ? contentHeader : dateHeader;
    other->setCaption(byContent ? dateHeader(0) : contentHeader(0));
    const bool ascending = clicked->caption() != header(1);
    clicked->setCaption(header(ascending ? 1 : -1));

    std::vector<SjisString> sorted;
    for (ascending ? Table4->First() : Table4->Last(); !(ascending ? Table4->Eof() : Table4->Bof());
         ascending ? Table4->Next() : Table4->Prior()) {
        const SjisString key = Table4->FieldByName("項目1").AsString();
        const SjisString rest = Table4->FieldByName("項目2").AsString();
        sorted.push_back(byContent ? rest + key : key + rest);
    }
    SjisString text;
    for (std::size_t i = 0; i < sorted.size(); ++i)
        text += (i ? "\r\n" : "") + sorted[i];
    setRemarks(text);
}

void TCarDataForm::Title9Panel3Click() { sortRemarks(false); }
void TCarDataForm::Title9Panel4Click() { sortRemarks(true); }

void TCarDataForm::DBNavigator3Click()
{
    child<Panel>(this, "Title9Panel3")->setCaption(dateHeader(0));
    child<Panel>(this, "Title9Panel4")->setCaption(contentHeader(0));
}
