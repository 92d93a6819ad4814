// The user's part of the registry (HKEY_CURRENT_USER\Software\<key>), kept
// as INI files: key "Dremlot" is <config folder>/Software/Dremlot.ini, and a
// key name with backslashes ("Dremlot\Forms") makes nested folders
// (Software/Dremlot/Forms.ini). Key and value names are matched whatever
// their case, as registry names are; a value written under a name that
// exists in another case replaces that value.
//
// The config folder is the user's (XDG_CONFIG_HOME, normally ~/.config);
// tests put it elsewhere with RegistryFolderOverride.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

// A key that cannot be created or written; the message is shown as is.
class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    QString message() const { return message_; }

private:
    QString message_;
};

class RegistryKey {
public:
    // Opens Software\<keyName>. Without `create`, a key that does not exist
    // gives nothing; with it, the key (its file and folders) is made when
    // missing, and RegistryError is thrown when that fails.
    static std::optional<RegistryKey> open(const QString& keyName, bool create);

    RegistryKey(RegistryKey&&) noexcept;
    RegistryKey& operator=(RegistryKey&&) noexcept;
    ~RegistryKey();

    // The value as a 32-bit integer; nothing when the value is missing or
    // is not a whole number in range (a missing value is the caller's
    // error to handle).
    std::optional<int> readInteger(const QString& valueName) const;

    // Writes the value and the file at once (the file is replaced whole).
    // Throws RegistryError when the file cannot be written.
    void writeInteger(const QString& valueName, int value);

    bool valueExists(const QString& valueName) const;
    // True when there was such a value.
    bool deleteValue(const QString& valueName);
    QStringList valueNames() const;

    QString filePath() const { return path_; }

private:
    explicit RegistryKey(const QString& path);
    QString storedName(const QString& valueName) const;  // the name as written in the file, or empty
    void flush();

    QString path_;
    std::unique_ptr<QSettings> settings_;
};

// The folder that holds "Software": the user's config folder unless
// overridden.
QString registryFolder();

// Puts the registry in another folder while it lives (for tests).
class RegistryFolderOverride {
public:
    explicit RegistryFolderOverride(const QString& folder);
    ~RegistryFolderOverride();
    RegistryFolderOverride(const RegistryFolderOverride&) = delete;
    RegistryFolderOverride& operator=(const RegistryFolderOverride&) = delete;

private:
    QString previous_;
};
