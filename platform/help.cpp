#include "platform/help.h"

#include "platform/message_box.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

std::function<bool(const QUrl&)>& opener()
{
    static std::function<bool(const QUrl&)> o;
    return o;
}

}  // namespace

QString helpFileMissingText(const QString& path)
{
    return QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(QDir::toNativeSeparators(path));
}

QString helpFileNotOpenedText(const QString& path)
{
    return QStringLiteral("ヘルプファイル %1 を開くことができません。").arg(QDir::toNativeSeparators(path));
}

bool openHelp(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        showMessage(helpFileMissingText(path), QCoreApplication::applicationName(), MessageIcon::Error);
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        showMessage(helpFileNotOpenedText(path), QCoreApplication::applicationName(), MessageIcon::Error);
    return opened;
}

ScriptedHelpViewer::ScriptedHelpViewer(bool opens) : opens_(opens), previous_(opener())
{
    opener() = [this](const QUrl& url) {
        opened_.push_back(url);
        return opens_;
    };
}

ScriptedHelpViewer::~ScriptedHelpViewer()
{
    opener() = previous_;
}
