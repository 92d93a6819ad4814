#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString& overriddenFolder()
{
    static QString folder;
    return folder;
}

// `name` in `dir`: the exact entry when it exists, else one whose name
// differs only in case, else the exact name (for a new entry).
QString findEntry(const QString& dir, const QString& name)
{
    const QDir d(dir);
    if (d.exists(name))
        return d.filePath(name);
    const QStringList entries = d.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(entry);
    return d.filePath(name);
}

// The file of key `keyName`, its folders matched whatever their case.
QString keyFilePath(const QString& keyName)
{
    QStringList parts = QString(keyName).replace(QLatin1Char('\\'), QLatin1Char('/'))
                            .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = findEntry(registryFolder(), QStringLiteral("Software"));
    if (parts.isEmpty())
        return path + QStringLiteral(".ini");  // the Software key itself
    const QString last = parts.takeLast();
    for (const QString& part : parts)
        path = findEntry(path, part);
    return findEntry(path, last + QStringLiteral(".ini"));
}

}  // namespace

QString registryFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

RegistryFolderOverride::RegistryFolderOverride(const QString& folder) : previous_(overriddenFolder())
{
    overriddenFolder() = folder;
}

RegistryFolderOverride::~RegistryFolderOverride()
{
    overriddenFolder() = previous_;
}

RegistryKey::RegistryKey(const QString& path)
    : path_(path), settings_(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryKey> RegistryKey::open(const QString& keyName, bool create)
{
    const QString path = keyFilePath(keyName);
    const QFileInfo info(path);
    // A key exists when its file does, or when it only holds sub-keys (its
    // folder exists).
    const QString folderOfSubkeys = info.dir().filePath(info.completeBaseName());
    if (info.isFile() || QFileInfo(folderOfSubkeys).isDir())
        return RegistryKey(path);
    if (!create)
        return std::nullopt;
    if (!QDir().mkpath(info.absolutePath()))
        throw RegistryError(QStringLiteral("レジストリキー %1 を作成できません。").arg(keyName));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw RegistryError(QStringLiteral("レジストリキー %1 を作成できません。").arg(keyName));
    file.close();
    return RegistryKey(path);
}

QString RegistryKey::storedName(const QString& valueName) const
{
    const QString wanted = QString(valueName).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (settings_->contains(wanted))
        return wanted;
    const QStringList keys = settings_->allKeys();
    for (const QString& key : keys)
        if (key.compare(wanted, Qt::CaseInsensitive) == 0)
            return key;
    return {};
}

std::optional<int> RegistryKey::readInteger(const QString& valueName) const
{
    const QString name = storedName(valueName);
    if (name.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = settings_->value(name).toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void RegistryKey::writeInteger(const QString& valueName, int value)
{
    QString name = storedName(valueName);
    if (name.isEmpty())
        name = valueName;
    settings_->setValue(name, value);
    flush();
}

bool RegistryKey::valueExists(const QString& valueName) const
{
    return !storedName(valueName).isEmpty();
}

bool RegistryKey::deleteValue(const QString& valueName)
{
    const QString name = storedName(valueName);
    if (name.isEmpty())
        return false;
    settings_->remove(name);
    flush();
    return true;
}

QStringList RegistryKey::valueNames() const
{
    return settings_->allKeys();
}

void RegistryKey::flush()
{
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw RegistryError(QStringLiteral("レジストリ %1 に書き込めません。").arg(QDir::toNativeSeparators(path_)));
}
