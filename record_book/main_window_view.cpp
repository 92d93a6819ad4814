// The main window's commands for how the card and the list look: title
// colours, column widths, the reading line's line count, and the list
// window with its display settings.
#include "components/widgets/find_control.h"
#include "platform/error_guard.h"
#include "platform/modal.h"
#include "record_book/color_dlg.h"
#include "record_book/display_pattern_dlg.h"
#include "record_book/item_height_form.h"
#include "record_book/item_width_form.h"
#include "record_book/list_form.h"
#include "record_book/main_window.h"

#include <QAction>
#include <QToolButton>

void TCarDataForm::wireview()
{
    const std::pair<const char*, void (TCarDataForm::*)()> commands[] = {
        {"N7", &TCarDataForm::N7Click},       {"N11", &TCarDataForm::N11Click},
        {"N12", &TCarDataForm::N12Click},     {"List1", &TCarDataForm::List1Click},
        {"List2", &TCarDataForm::List2Click}, {"N15", &TCarDataForm::N15Click},
    };
    for (auto [name, handler] : commands)
        connectGuarded(findControl<QAction>(this, name), &QAction::triggered, this, handler);
    connectGuarded(findControl<QToolButton>(this, "ListSpeed"), &QToolButton::clicked, this,
                   &TCarDataForm::List1Click);
}

void TCarDataForm::N7Click()
{
    showModal(*ColorDlg);
}

void TCarDataForm::N11Click()
{
    showModal(*ItemWForm);
}

void TCarDataForm::N12Click()
{
    showModal(*ItemHForm);
}

namespace {

// The list window and its settings dialog come into being together, the
// window first: the dialog's creation arranges the window's grid.
void createListForms(TCarDataForm& form)
{
    if (form.ListFormsCreated)
        return;
    ListForm = new TListForm(form, &form);
    DspPatDlg = new TDspPatDlg(*ListForm, &form);
    form.ListFormsCreated = true;
}

}  // namespace

void TCarDataForm::List1Click()
{
    createListForms(*this);
    ListForm->show();
    ListForm->raise();
    findControl<QAction>(this, "List2")->setEnabled(true);
}

void TCarDataForm::List2Click()
{
    if (ListForm)
        ListForm->hide();
    findControl<QAction>(this, "List2")->setEnabled(false);
}

void TCarDataForm::N15Click()
{
    createListForms(*this);
    showModal(*DspPatDlg);
}
