#include "record_book/query_boxes.h"

#include "components/core/data_directory.h"
#include "components/core/era_date.h"
#include "components/widgets/list_entries.h"
#include "components/core/record_fields.h"
#include "components/widgets/typed_text.h"
#include "platform/clock.h"
#include "record_book/model/choice_lists.h"
#include "record_book/date_dialog.h"
#include "record_book/model/date_fields.h"
#include "record_book/main_window.h"
#include "record_book/model/record_query.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>

#include <string_view>

namespace {

struct ChoiceSource {
    const char* field;
    const char* control;
};

const ChoiceSource kChoiceSources[] = {
    {"自動車登録番号", "DBComboBox1"}, {"登録年月日", "DBComboBox2"},     {"初度登録年月", "DBComboBox3"},
    {"自動車の種別", "DBComboBox4"},   {"用途", "DBComboBox5"},           {"自家用事業用の別", "DBComboBox6"},
    {"車体の形状", "DBComboBox7"},     {"車名", "DBComboBox8"},           {"燃料の種類", "DBComboBox9"},
    {"燃料", "DBComboBox10"},          {"有効期間の満了する日", "DBComboBox11"},
    {"自賠責期間自", "DBComboBox12"},  {"自賠責期間", "DBComboBox13"},     {"自賠責期間至", "DBComboBox14"},
    {"自賠責保険機関", "DBComboBox15"}, {"自賠責機関", "DBComboBox15"},     {"備考", "MemoListBox"},
};

constexpr std::string_view kRemarks = "備考";
constexpr std::string_view kFirstRegistration = "初度登録年月";

bool isField(const SjisString& field, std::string_view utf8) { return field == sj(utf8); }

// The era-date fields of the standard layout, and 備考 where included.
bool isDateField(const SjisString& field, RemarksRow remarks)
{
    for (const EraDateField& f : kEraDateFields)
        if (recordFieldNumber(f.name) <= kStandardFieldCount && isField(field, f.name))
            return true;
    return remarks == RemarksRow::Included && isField(field, kRemarks);
}

// A date as the field holds it: 初度登録年月 keeps era, year and month.
SjisString asFieldDate(const SjisString& field, const SjisString& date)
{
    return isField(field, kFirstRegistration) ? sjis::cutBytes(date, kEraMonthBytes) : date;
}

}  // namespace

QComboBox* makeFieldBox(QWidget* parent, const char* objectName)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // The whole list drops down while typing; the text is never completed.
    auto* completer = new QCompleter(box->model(), box);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    box->setCompleter(completer);
    return box;
}

QComboBox* makeValueBox(QWidget* parent, const char* objectName)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, true);
    return box;
}

void showFieldList(const std::vector<SjisString>& names, std::initializer_list<QComboBox*> boxes)
{
    for (QComboBox* box : boxes) {
        QSignalBlocker block(box);
        setListEntries(box, names);
        box->setCurrentIndex(names.empty() ? -1 : 0);
        box->setEditText(names.empty() ? QString() : box->itemText(0));
    }
}

bool acceptBoxTexts(std::initializer_list<QComboBox*> boxes, QWidget* parent)
{
    for (QComboBox* box : boxes) {
        if (!encodingOrWarn([box] { return comboText(box); }, parent)) {
            box->setFocus();
            return false;
        }
    }
    return true;
}

void copyFieldChoices(QComboBox* valueBox, const SjisString& field, RemarksRow remarks)
{
    std::vector<SjisString> entries;
    if (CarDataForm && (remarks == RemarksRow::Included || !isField(field, kRemarks)))
        for (const ChoiceSource& s : kChoiceSources)
            if (isField(field, s.field))
                if (auto* control = CarDataForm->findChild<QWidget*>(QString::fromLatin1(s.control)))
                    entries = listEntries(control);
    setListEntries(valueBox, entries);
}

void pickValueDate(QComboBox* valueBox, const SjisString& field, RemarksRow remarks)
{
    if (!isDateField(field, remarks) || !DateSDlg)
        return;
    if (auto picked = DateSDlg->pickDate(comboText(valueBox)))
        setComboText(valueBox, asFieldDate(field, *picked));
}

void expandDateKeyword(QComboBox* valueBox, const SjisString& field)
{
    if (valueBox->currentText() == QLatin1String("$DATE"))
        setComboText(valueBox, asFieldDate(field, eraDateText(today(), kEraDatePattern)));
}
