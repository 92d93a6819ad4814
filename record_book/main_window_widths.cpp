// The width sets of INDTLEN: editing them, choosing one for a backup or a
// restore.
#include "record_book/main_window.h"

void TCarDataForm::S1Click() {}

std::optional<WidthSet> TCarDataForm::chooseWidthSet(const QString&)
{
    return std::nullopt;
}
