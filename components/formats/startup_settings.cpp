#include "components/formats/startup_settings.h"

#include "components/core/data_directory.h"
#include "components/formats/settings_file.h"

namespace {

const QString kDataBaseIni = QStringLiteral("DataBase.INI");
const QString kCarSearchIni = QStringLiteral("CarSearch.INI");
const QString kCarSaveIni = QStringLiteral("CarSave.INI");
const QString kPassIni = QStringLiteral("Pass.INI");
const QString kIniDirIni = QStringLiteral("INIDIR.INI");

// The file's lines; an empty list when it does not exist.
LineListFile readFile(const QString& dataDir, const QString& name)
{
    return readSettingsFile(dataDir, name).value_or(LineListFile());
}

LineListFile numberLine(int number)
{
    LineListFile file;
    file.append(number);
    return file;
}

LineListFile folderLine(QString folder)
{
    return LineListFile({sjis::encode(folder.replace(QLatin1Char('/'), QLatin1Char('\\')))});
}

}  // namespace

int readRecordLayoutMode(const QString& dataDir) { return readFile(dataDir, kDataBaseIni).number(0); }
void writeRecordLayoutMode(const QString& dataDir, int mode) { writeSettingsFile(dataDir, kDataBaseIni, numberLine(mode)); }
void writeRecordLayoutMode(QIODevice& sink, int mode) { numberLine(mode).write(sink); }

int readDesignationOnlySearch(const QString& dataDir) { return readFile(dataDir, kCarSearchIni).number(0); }
void writeDesignationOnlySearch(const QString& dataDir, int search)
{
    writeSettingsFile(dataDir, kCarSearchIni, numberLine(search));
}
void writeDesignationOnlySearch(QIODevice& sink, int search) { numberLine(search).write(sink); }

BackupName readBackupName(const QString& dataDir)
{
    const LineListFile file = readFile(dataDir, kCarSaveIni);
    return {file.line(0), file.line(1)};
}
void writeBackupName(const QString& dataDir, const BackupName& name)
{
    writeSettingsFile(dataDir, kCarSaveIni, LineListFile({name.prefix, name.suffix}));
}
void writeBackupName(QIODevice& sink, const BackupName& name) { LineListFile({name.prefix, name.suffix}).write(sink); }

SjisString readStartupPassword(const QString& dataDir) { return readFile(dataDir, kPassIni).line(0); }
void writeStartupPassword(const QString& dataDir, const SjisString& password)
{
    writeSettingsFile(dataDir, kPassIni, LineListFile({password}));
}
void writeStartupPassword(QIODevice& sink, const SjisString& password) { LineListFile({password}).write(sink); }

QString readRestoreInitialFolder(const QString& dataDir)
{
    return pathFromSettings(readFile(dataDir, kIniDirIni).line(0));
}
void writeRestoreInitialFolder(const QString& dataDir, const QString& folder)
{
    writeSettingsFile(dataDir, kIniDirIni, folderLine(folder));
}
void writeRestoreInitialFolder(QIODevice& sink, const QString& folder) { folderLine(folder).write(sink); }
