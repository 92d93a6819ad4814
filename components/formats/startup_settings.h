// The settings files Dremlot reads at start-up, one typed read/write pair
// each. Every file is LineListFile text in the data directory (CP932, CR LF
// written, any line end read). A missing file or line gives the default;
// numbers are read by readNumber. Writers rewrite the whole file atomically,
// or write the same bytes to a device; they throw FileError.
//
// DataBase.INI
//   line | content                                             | default
//   1    | record-layout mode: 0 standard 47 fields, 1 the     | 0
//        | extension's 56, 2 the 47 and メモ; other numbers    |
//        | read like 0                                         |
//
// CarSearch.INI
//   line | content                                             | default
//   1    | 1: a specification search by designation number     | 0
//        | alone when the full search finds nothing            |
//
// CarSave.INI
//   line | content                                             | default
//   1    | text put before the backup file's name              | empty
//   2    | text put after it                                   | empty
//
// Pass.INI
//   line | content                                             | default
//   1    | start-up password; empty asks none                  | empty
//
// INIDIR.INI
//   line | content                                             | default
//   1    | folder the restore's file dialog opens in (a        | empty
//        | backslash reads as a folder separator)              |
#pragma once

#include "components/core/cp932.h"

#include <QString>

class QIODevice;

int readRecordLayoutMode(const QString& dataDir);
void writeRecordLayoutMode(const QString& dataDir, int mode);
void writeRecordLayoutMode(QIODevice& sink, int mode);

int readDesignationOnlySearch(const QString& dataDir);
void writeDesignationOnlySearch(const QString& dataDir, int search);
void writeDesignationOnlySearch(QIODevice& sink, int search);

struct BackupName {
    SjisString prefix, suffix;
    bool operator==(const BackupName&) const = default;
};
BackupName readBackupName(const QString& dataDir);
void writeBackupName(const QString& dataDir, const BackupName& name);
void writeBackupName(QIODevice& sink, const BackupName& name);

SjisString readStartupPassword(const QString& dataDir);
void writeStartupPassword(const QString& dataDir, const SjisString& password);
void writeStartupPassword(QIODevice& sink, const SjisString& password);

QString readRestoreInitialFolder(const QString& dataDir);
void writeRestoreInitialFolder(const QString& dataDir, const QString& folder);
void writeRestoreInitialFolder(QIODevice& sink, const QString& folder);
