#include "platform/error_guard.h"

#include "platform/message_box.h"

#include <QCoreApplication>
#include <exception>

QString unknownErrorText()
{
    return QStringLiteral("不明なエラーが発生しました。");
}

void showErrorBox(const QString& text)
{
    showMessage(text, QCoreApplication::applicationName(), MessageIcon::Error, MessageButtons::Ok);
}

bool guarded(const std::function<void()>& handler)
{
    QString text;
    try {
        handler();
        return true;
    } catch (const ScriptError&) {
        throw;
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
        if (text.isEmpty())
            text = unknownErrorText();
    } catch (...) {
        text = unknownErrorText();
    }
    // Outside the catch blocks: the handler's exception is over before the
    // box opens (and before its own event loop runs).
    showErrorBox(text);
    return false;
}
