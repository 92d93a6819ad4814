#include "platform/modal.h"

#include <QDialog>
#include <QPointer>

namespace {

std::function<int(QDialog&)>& handler()
{
    static std::function<int(QDialog&)> h;
    return h;
}

QString describe(const QDialog& dialog)
{
    const QString name = dialog.objectName();
    return name.isEmpty() ? QStringLiteral("(unnamed %1)").arg(QLatin1String(dialog.metaObject()->className())) : name;
}

std::function<void(const std::string&)>& unscriptedReport()
{
    static std::function<void(const std::string&)> report;
    return report;
}

}  // namespace

int showModal(QDialog& dialog)
{
    if (handler())
        return handler()(dialog);
    failUnscripted("unanswered dialog: " + describe(dialog).toStdString() + " \"" + dialog.windowTitle().toStdString()
                   + "\"");
    return dialog.exec();
}

void setUnscriptedReport(std::function<void(const std::string& what)> report)
{
    unscriptedReport() = std::move(report);
}

void failUnscripted(const std::string& what)
{
    if (!unscriptedReport())
        return;
    unscriptedReport()(what);
    throw ScriptError(what);
}

ScriptedDialogs::ScriptedDialogs() : previous_(handler())
{
    handler() = [this](QDialog& dialog) { return run(dialog); };
}

ScriptedDialogs::~ScriptedDialogs()
{
    handler() = previous_;
}

ScriptedDialogs& ScriptedDialogs::answer(const QString& objectName, Answer answer)
{
    answers_.push_back({objectName, std::move(answer)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answer(const QString& objectName, int result)
{
    return answer(objectName, [result](QDialog&) { return result; });
}

int ScriptedDialogs::run(QDialog& dialog)
{
    const QString name = describe(dialog);
    shown_.push_back(name);
    if (answers_.empty())
        throw ScriptError("unexpected dialog: " + name.toStdString());
    if (answers_.front().objectName != dialog.objectName())
        throw ScriptError("unexpected dialog: " + name.toStdString() + " (the script expects "
                          + answers_.front().objectName.toStdString() + ")");
    // Taken off before it runs, so that a dialog it opens takes the next one.
    Entry entry = std::move(answers_.front());
    answers_.pop_front();

    QPointer<QDialog> alive(&dialog);
    int finishedWith = QDialog::Rejected;
    QObject guard;  // ends the connection below when run() returns
    QObject::connect(&dialog, &QDialog::finished, &guard, [&finishedWith](int r) { finishedWith = r; });

    const bool wasShowModal = dialog.testAttribute(Qt::WA_ShowModal);
    dialog.setAttribute(Qt::WA_ShowModal, true);
    dialog.setResult(0);
    dialog.show();
    int code;
    try {
        code = entry.answer(dialog);
    } catch (...) {
        // A failing answer leaves no modal window behind for the next test.
        if (alive) {
            dialog.hide();
            dialog.setAttribute(Qt::WA_ShowModal, wasShowModal);
        }
        throw;
    }
    if (!alive)
        return finishedWith;
    if (dialog.isVisible())
        dialog.done(code);
    if (!alive)
        return finishedWith;
    dialog.setAttribute(Qt::WA_ShowModal, wasShowModal);
    return dialog.result();
}
