// Backup of the record table to CSV, and its restore.
#include "record_book/main_window.h"

void TCarDataForm::Exp1Click() {}

void TCarDataForm::Inp1Click() {}
