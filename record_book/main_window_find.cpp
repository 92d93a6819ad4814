// Finding, filtering and sorting the records, and copying the shown record
// into a new one.
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/core/record_fields.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/copy_pattern_dialog.h"
#include "record_book/filter_dialog.h"
#include "record_book/find_dialog.h"
#include "record_book/main_window.h"
#include "record_book/model/record_query.h"
#include "record_book/sort_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QToolButton>

#include <utility>

namespace {

const QString kSorted = QStringLiteral("ソート");
const QString kFiltered = QStringLiteral("フィルタ");

}  // namespace

void TCarDataForm::wirefind()
{
    using Handler = void (TCarDataForm::*)();
    const std::pair<const char*, Handler> commands[] = {
        {"Copy1", &TCarDataForm::CopySpeedClick},     {"Find2", &TCarDataForm::FindSpeedClick},
        {"FindNext1", &TCarDataForm::FindNextSpeedClick}, {"FindBack1", &TCarDataForm::FindBackSpeedClick},
        {"Sort1", &TCarDataForm::Sort1Click},         {"SortN", &TCarDataForm::SortNClick},
        {"SortFilter1", &TCarDataForm::SortFilter1Click}, {"Filter1", &TCarDataForm::Filter1Click},
        {"FilterN", &TCarDataForm::FilterNClick},
    };
    for (auto [name, handler] : commands)
        connectGuarded(findControl<QAction>(this, name), &QAction::triggered, this, handler);
    const std::pair<const char*, Handler> speeds[] = {
        {"CopySpeed", &TCarDataForm::CopySpeedClick},         {"FindSpeed", &TCarDataForm::FindSpeedClick},
        {"FindNextSpeed", &TCarDataForm::FindNextSpeedClick}, {"FindBackSpeed", &TCarDataForm::FindBackSpeedClick},
        {"SortSpeed", &TCarDataForm::Sort1Click},             {"SortFilterSpeed", &TCarDataForm::SortFilter1Click},
        {"FilterSpeed", &TCarDataForm::Filter1Click},
    };
    for (auto [name, handler] : speeds)
        connectGuarded(findControl<QToolButton>(this, name), &QToolButton::clicked, this, handler);
    connectGuarded(CurrentPanel, &Panel::clicked, this, &TCarDataForm::FindSpeedClick);
    connectGuarded(Commant2Panel, &Panel::clicked, this, &TCarDataForm::FindSpeedClick);
    connectGuarded(SortPanel, &Panel::clicked, this, &TCarDataForm::SortNClick);
    connectGuarded(FilterPanel, &Panel::clicked, this, &TCarDataForm::FilterNClick);
}

// ---- copying ---------------------------------------------------------------------------

// The chosen fields of the record as the screen shows it (typed text not
// yet saved included) go into a new record, which stays unsaved for the
// user to complete. A chosen name that is no field stops the copy before
// anything changes.
void TCarDataForm::CopySpeedClick()
{
    if (showModal(*CopyPatDlg) != QDialog::Accepted)
        return;
    const std::vector<SjisString> entries = CopyPatDlg->copiedFields();
    if (entries.empty())
        return;
    if (Table1->state() == Table::State::Edit || Table1->state() == Table::State::Insert)
        emit Table1->updateRecord();
    std::vector<std::pair<int, SjisString>> values;
    for (const SjisString& entry : entries) {
        if (copiesNothing(entry))
            continue;
        Field f = Table1->FieldByName(sjis::toUtf8(entry));
        values.emplace_back(f.Index(), f.AsString());
    }
    Table1->Append();
    for (const auto& [index, value] : values)
        Table1->Fields(index).SetAsString(value);
}

// ---- find --------------------------------------------------------------------------------

void TCarDataForm::FindSpeedClick()
{
    if (showModal(*FindDlg) != QDialog::Accepted || !FindDlg->answered())
        return;
    Table1->CheckBrowseMode();
    findFrom(0, false);
}

// Next (or Prior) first, so the search goes on after the current record;
// at the last (first) record it looks at that record again.
void TCarDataForm::FindNextSpeedClick()
{
    if (!FindDlg->answered())
        return;
    Table1->CheckBrowseMode();
    findFrom(Table1->currentPosition() + 1, false);
}

void TCarDataForm::FindBackSpeedClick()
{
    if (!FindDlg->answered())
        return;
    Table1->CheckBrowseMode();
    findFrom(Table1->currentPosition() - 1, true);
}

// The first record from `start` on in the active order (or back from it)
// whose field holds the text becomes current. Without one the search ends
// on the last (or first) record and says so.
void TCarDataForm::findFrom(int start, bool backwards)
{
    const Field field = Table1->FieldByName(sjis::toUtf8(FindDlg->fieldName()));
    const int found = Table1->findInField(field.Index(), FindDlg->findText(), start, backwards);
    if (found >= 0) {
        Table1->SetRecNo(found + 1);
        refreshCounters();
        return;
    }
    if (backwards)
        Table1->First();
    else
        Table1->Last();
    refreshCounters();
    showMessage(FindDlg->FindComboBox->currentText() + QStringLiteral(" の ") + FindDlg->FindEdit->currentText() +
                QStringLiteral("は、見つかりませんでした。"));
}

// ---- filter and sort ---------------------------------------------------------------------

void TCarDataForm::Filter1Click()
{
    if (showModal(*FilterDlg) != QDialog::Accepted || !FilterDlg->answered())
        return;
    applyFilter();
}

// A new filter replaces the one in force; the order stays.
void TCarDataForm::applyFilter()
{
    Table1->SetFilter(filterExpression(FilterDlg->firstRow(), FilterDlg->secondRow()));
    Table1->SetFiltered(true);
    FilterPanel->setCaption(kFiltered);
    Commant1Panel->setCaption(QStringLiteral("件"));
    findControl<QAction>(this, "FilterN")->setEnabled(true);
    refreshCounters();
}

void TCarDataForm::Sort1Click()
{
    const int result = showModal(*SortDlg);
    if (result != QDialog::Accepted || Table1->RecordCount() < 1)
        return;
    applySort(SortDlg->fieldName());
}

// The order of the field's secondary index; a field without one is
// refused by the table and leaves the sort state as it was.
void TCarDataForm::applySort(const SjisString& field)
{
    Table1->SetIndexName(sjis::toUtf8(indexNameOf(field)));
    SortPanel->setCaption(kSorted);
    findControl<QAction>(this, "SortN")->setEnabled(true);
    refreshCounters();
}

// The filter dialog under the caption "ソート&フィルタ"; the records the
// filter lets through are sorted by the first row's field, when there are
// any. Either clear command then clears both.
void TCarDataForm::SortFilter1Click()
{
    FilterDlg->setWindowTitle(QStringLiteral("ソート&フィルタ"));
    const int result = showModal(*FilterDlg);
    FilterDlg->setWindowTitle(kFiltered);
    if (result != QDialog::Accepted || !FilterDlg->answered())
        return;
    applyFilter();
    SortFilterCombined = 1;
    if (Table1->RecordCount() >= 1)
        applySort(FilterDlg->firstRow().field);
}

void TCarDataForm::FilterNClick()
{
    if (!findControl<QAction>(this, "FilterN")->isEnabled())
        return;
    clearFilterState();
    if (SortFilterCombined == 1) {
        SortFilterCombined = 0;
        clearSortState();
    }
    refreshCounters();
}

void TCarDataForm::SortNClick()
{
    if (!findControl<QAction>(this, "SortN")->isEnabled())
        return;
    clearSortState();
    if (SortFilterCombined == 1) {
        SortFilterCombined = 0;
        clearFilterState();
    }
    refreshCounters();
}

// The filter text stays in the table; the dialog starts afresh.
void TCarDataForm::clearFilterState()
{
    Table1->SetFiltered(false);
    FilterPanel->setCaption({});
    Commant1Panel->setCaption(QStringLiteral("件中"));
    findControl<QAction>(this, "FilterN")->setEnabled(false);
    FilterDlg->reset();
}

void TCarDataForm::clearSortState()
{
    Table1->SetIndexName({});
    SortPanel->setCaption({});
    findControl<QAction>(this, "SortN")->setEnabled(false);
    SortDlg->showFirstField();
}
