// Printing through the print program: its menus captioned from
// PrintName.INI, the hand-off of each print command, the print settings of
// a free layout, the order of the patterns and the own company's lines.
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "platform/error_guard.h"
#include "output/print_handoff.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/main_window.h"
#include "record_book/print_dialogs.h"

#include <QAction>
#include <QLabel>

namespace {

constexpr int kFirstNamedItem = 2;
constexpr int kLastNamedItem = 23;

}  // namespace

QAction* TCarDataForm::printItem(int n) const
{
    return findControl<QAction>(this, QStringLiteral("Print%1").arg(n));
}

void TCarDataForm::wireprint()
{
    auto wire = [this](const char* name, void (TCarDataForm::*handler)()) {
        connectGuarded(findControl<QAction>(this, name), &QAction::triggered, this, handler);
    };
    wire("Print1", &TCarDataForm::Print1Click);
    wire("PrintS1", &TCarDataForm::PrintS1Click);
    wire("PrintS2", &TCarDataForm::PrintS2Click);
    wire("PrintS3", &TCarDataForm::PrintS3Click);
    wire("User1", &TCarDataForm::User1Click);
    using Handler = void (TCarDataForm::*)();
    const Handler printClicks[] = {
        &TCarDataForm::Print2Click,  &TCarDataForm::Print3Click,  &TCarDataForm::Print4Click,
        &TCarDataForm::Print5Click,  &TCarDataForm::Print6Click,  &TCarDataForm::Print7Click,
        &TCarDataForm::Print8Click,  &TCarDataForm::Print9Click,  &TCarDataForm::Print10Click,
        &TCarDataForm::Print11Click, &TCarDataForm::Print12Click, &TCarDataForm::Print13Click,
        &TCarDataForm::Print14Click, &TCarDataForm::Print15Click, &TCarDataForm::Print16Click,
        &TCarDataForm::Print17Click, &TCarDataForm::Print18Click, &TCarDataForm::Print19Click,
        &TCarDataForm::Print20Click, &TCarDataForm::Print21Click, &TCarDataForm::Print22Click,
        &TCarDataForm::Print23Click,
    };
    for (int n = kFirstNamedItem; n <= kLastNamedItem; ++n)
        connectGuarded(printItem(n), &QAction::triggered, this, printClicks[n - kFirstNamedItem]);
}

void TCarDataForm::PrintSet()
{
    for (const char* name : {"User1", "Print1", "PrintS1", "Print2", "PrintS2", "PrintS3"})
        findControl<QAction>(this, name)->setVisible(true);
    for (int n = kFirstNamedItem + 1; n <= kLastNamedItem; ++n)
        printItem(n)->setVisible(false);
    // A file that cannot be read is reported; the menus keep the names read before.
    guarded([this] {
        if (auto read = readPrintNames(dataDirectory()))
            PrintNames = std::move(*read);
    });
    for (int n = kFirstNamedItem; n <= kLastNamedItem; ++n) {
        if (const auto name = PrintNames.itemName(n)) {
            printItem(n)->setText(sjis::decode(*name + sj("印刷")));
            printItem(n)->setVisible(true);
        }
    }
}

// The counter is brought up to date first: it may wait for the event loop.
void TCarDataForm::handOff(int pattern, PrintMode mode)
{
    refreshCounters();
    handOffToPrintProgram(book(), CurrentPanel->caption(), pattern, mode);
}

void TCarDataForm::CallPrint(int PrintNo) { handOff(PrintNames.patternOfItem(PrintNo), PrintMode::Print); }

void TCarDataForm::Print1Click() { handOff(1, PrintMode::Print); }
void TCarDataForm::PrintS1Click() { handOff(1, PrintMode::Settings); }
void TCarDataForm::Print2Click() { CallPrint(2); }
void TCarDataForm::Print3Click() { CallPrint(3); }
void TCarDataForm::Print4Click() { CallPrint(4); }
void TCarDataForm::Print5Click() { CallPrint(5); }
void TCarDataForm::Print6Click() { CallPrint(6); }
void TCarDataForm::Print7Click() { CallPrint(7); }
void TCarDataForm::Print8Click() { CallPrint(8); }
void TCarDataForm::Print9Click() { CallPrint(9); }
void TCarDataForm::Print10Click() { CallPrint(10); }
void TCarDataForm::Print11Click() { CallPrint(11); }
void TCarDataForm::Print12Click() { CallPrint(12); }
void TCarDataForm::Print13Click() { CallPrint(13); }
void TCarDataForm::Print14Click() { CallPrint(14); }
void TCarDataForm::Print15Click() { CallPrint(15); }
void TCarDataForm::Print16Click() { CallPrint(16); }
void TCarDataForm::Print17Click() { CallPrint(17); }
void TCarDataForm::Print18Click() { CallPrint(18); }
void TCarDataForm::Print19Click() { CallPrint(19); }
void TCarDataForm::Print20Click() { CallPrint(20); }
void TCarDataForm::Print21Click() { CallPrint(21); }
void TCarDataForm::Print22Click() { CallPrint(22); }
void TCarDataForm::Print23Click() { CallPrint(23); }

// The pattern comes from the names the chooser itself read: the print
// program may have changed the file since the menus were captioned.
void TCarDataForm::PrintS2Click()
{
    if (showModal(*SelectDlg) != QDialog::Accepted)
        return;
    const int pattern = SelectDlg->chosenPattern();
    if (pattern < 1) {
        showMessage(QStringLiteral("この印刷名には印刷パターンの番号がありません。\r"
                                   "印刷プログラムで印刷名を登録して下さい。"),
                    {}, MessageIcon::Warning);
        return;
    }
    FreeEditForm->openTables();
    const int missing = patternRowsMissing(*FreeEditForm->Table1, *FreeEditForm->Table2, pattern);
    if (missing > kMaxPatternRowsAdded) {
        showMessage(QStringLiteral("この印刷名の印刷パターンの番号 %1 は大きすぎます。\r"
                                   "印刷設定の表に %2 行を追加することになるため、設定できません（%3 行まで）。\r"
                                   "PrintName.INI の番号を確かめて下さい。")
                        .arg(pattern)
                        .arg(missing)
                        .arg(kMaxPatternRowsAdded),
                    {}, MessageIcon::Warning);
        return;
    }
    preparePattern(*FreeEditForm->Table1, *FreeEditForm->Table2, pattern);
    showModal(*FreeEditForm);
    if (FreeEditForm->EndLabel->text() != QStringLiteral("mrOK"))
        return;
    handOff(pattern, PrintMode::Settings);
    PrintSet();
}

void TCarDataForm::PrintS3Click()
{
    showModal(*PrintSlctDlg);
    PrintSet();
}

void TCarDataForm::User1Click() { showModal(*UserSetForm); }
