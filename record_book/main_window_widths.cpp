// The width sets of INDTLEN: editing them, choosing one for a backup or a
// restore.
#include "components/widgets/width_set_dialog.h"
#include "record_book/main_window.h"

#include <QLabel>

TInDTLenForm* InDTLenForm = nullptr;

TInDTLenForm* TCarDataForm::createInDTLenForm()
{
    return new TInDTLenForm(*Table3, {.busyLabel = T3Label}, this);
}

void TCarDataForm::S1Click()
{
    InDTLenForm->showEdit();
}

// Once the dialog exists, its number box follows the current width set.
void TCarDataForm::Table3AfterScroll()
{
    if (!T3Label->text().isEmpty() && InDTLenForm)
        InDTLenForm->showCurrentRow();
}

// An empty INDTLEN offers no set to choose.
std::optional<WidthSet> TCarDataForm::chooseWidthSet(const QString& instruction)
{
    return InDTLenForm->chooseSet(instruction);
}
