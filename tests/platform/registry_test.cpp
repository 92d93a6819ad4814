#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Registry : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryFolderOverride folder{dir.path()};

    QString file(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    void writeFile(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QFile f(file(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(Registry, MissingKeyOpensOnlyWhenCreated)
{
    EXPECT_FALSE(RegistryKey::open(QStringLiteral("Dremlot"), false).has_value());
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("Software"))));

    auto key = RegistryKey::open(QStringLiteral("Dremlot"), true);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->filePath(), file(QStringLiteral("Software/Dremlot.ini")));
    // The key exists from now on, even with no value in it.
    EXPECT_TRUE(QFileInfo::exists(key->filePath()));
    EXPECT_TRUE(RegistryKey::open(QStringLiteral("Dremlot"), false).has_value());
    EXPECT_FALSE(RegistryKey::open(QStringLiteral("Brindel"), false).has_value());
}

TEST_F(Registry, IntegersAreKeptInTheFile)
{
    {
        auto key = RegistryKey::open(QStringLiteral("Dremlot"), true);
        key->writeInteger(QStringLiteral("CarData PosX"), -8);
        key->writeInteger(QStringLiteral("CarData Width"), 2147483647);
        key->writeInteger(QStringLiteral("CarData PosX"), -12);  // rewritten
    }
    auto key = RegistryKey::open(QStringLiteral("Dremlot"), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->readInteger(QStringLiteral("CarData PosX")), -12);
    EXPECT_EQ(key->readInteger(QStringLiteral("CarData Width")), 2147483647);
    EXPECT_EQ(key->readInteger(QStringLiteral("CarData Height")), std::nullopt);
    EXPECT_EQ(key->valueNames().size(), 2);

    EXPECT_TRUE(key->deleteValue(QStringLiteral("CarData Width")));
    EXPECT_FALSE(key->deleteValue(QStringLiteral("CarData Width")));
    auto again = RegistryKey::open(QStringLiteral("Dremlot"), false);
    EXPECT_FALSE(again->valueExists(QStringLiteral("CarData Width")));
    EXPECT_TRUE(again->valueExists(QStringLiteral("CarData PosX")));
}

TEST_F(Registry, ValuesThatAreNoIntegersReadAsMissing)
{
    writeFile(QStringLiteral("Software/Brindel.ini"),
              "[General]\nPosX=abc\nPosY=\nWidth=99999999999\nHeight= 480 \nLeft=1.5\n");
    auto key = RegistryKey::open(QStringLiteral("Brindel"), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->readInteger(QStringLiteral("PosX")), std::nullopt);
    EXPECT_EQ(key->readInteger(QStringLiteral("PosY")), std::nullopt);
    EXPECT_EQ(key->readInteger(QStringLiteral("Width")), std::nullopt);  // past 32 bits
    EXPECT_EQ(key->readInteger(QStringLiteral("Height")), 480);
    EXPECT_EQ(key->readInteger(QStringLiteral("Left")), std::nullopt);
}

TEST_F(Registry, NamesAreMatchedWhateverTheirCase)
{
    {
        auto key = RegistryKey::open(QStringLiteral("Dremlot"), true);
        key->writeInteger(QStringLiteral("CarData PosX"), 10);
    }
    auto key = RegistryKey::open(QStringLiteral("DREMLOT"), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->filePath(), file(QStringLiteral("Software/Dremlot.ini")));
    EXPECT_EQ(key->readInteger(QStringLiteral("cardata posx")), 10);

    // Writing under another case replaces the value, keeping its name.
    key->writeInteger(QStringLiteral("CARDATA POSX"), 20);
    EXPECT_EQ(key->valueNames(), QStringList{QStringLiteral("CarData PosX")});
    EXPECT_EQ(RegistryKey::open(QStringLiteral("Dremlot"), false)->readInteger(QStringLiteral("CarData PosX")), 20);

    // Nested keys are folders.
    auto sub = RegistryKey::open(QStringLiteral("Dremlot\\Forms"), true);
    EXPECT_EQ(sub->filePath(), file(QStringLiteral("Software/Dremlot/Forms.ini")));
    // A key that only holds sub-keys exists too.
    EXPECT_TRUE(RegistryKey::open(QStringLiteral("Dremlot"), false).has_value());
}

TEST_F(Registry, FailuresToCreateOrWriteAreErrors)
{
    // "Software" taken by a plain file: no key can be made under it.
    writeFile(QStringLiteral("Software"), "x");
    EXPECT_THROW(RegistryKey::open(QStringLiteral("Dremlot"), true), RegistryError);
    EXPECT_FALSE(RegistryKey::open(QStringLiteral("Dremlot"), false).has_value());

    // A key whose file cannot be replaced.
    RegistryFolderOverride other(file(QStringLiteral("other")));
    auto key = RegistryKey::open(QStringLiteral("Brindel"), true);
    ASSERT_TRUE(QFile::remove(key->filePath()));
    ASSERT_TRUE(QDir().mkpath(key->filePath()));
    EXPECT_THROW(key->writeInteger(QStringLiteral("PosX"), 1), RegistryError);
}

TEST(RegistryFolder, UserConfigFolderUnlessOverridden)
{
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    EXPECT_EQ(registryFolder(), config.path());
    {
        RegistryFolderOverride over(QStringLiteral("/somewhere"));
        EXPECT_EQ(registryFolder(), QStringLiteral("/somewhere"));
    }
    EXPECT_EQ(registryFolder(), config.path());
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
