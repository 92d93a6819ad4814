#include "components/core/data_directory.h"

#include <QDir>
#include <QFileInfo>

QString currentDataDirectory()
{
    return QDir::currentPath();
}

QString resolveFile(const QString& dir, const QString& name)
{
    QDir folder(dir);
    const QString exact = folder.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    return exact;
}

bool fileExists(const QString& dir, const QString& name)
{
    return QFileInfo::exists(resolveFile(dir, name));
}

QString pathFromSettings(std::string_view bytes)
{
    QString path = sjis::decode(bytes);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}
