// The questions and messages of a backup or a restore, shown over a window.
#pragma once

#include "components/formats/backup_format.h"

class QWidget;

// Sets the ask (Yes/No, No by default), error and information steps.
void setBackupMessages(backup::BackupSteps& steps, QWidget* parent);
