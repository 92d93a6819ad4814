#include "platform/keyboard_locks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace {

bool capsOn = false;

bool isFileDialog(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->inherits("QFileDialog") || w->inherits("QAbstractPrintDialog") || w->inherits("QPageSetupDialog"))
            return true;
    return false;
}

// File and print dialogs take file names, and on Linux a name's case is
// part of the name: a path typed there must stay as typed. Their name
// completer's list is a window of its own, so the open modal dialog counts.
bool namesFiles(const QWidget* widget)
{
    return isFileDialog(widget) || isFileDialog(QApplication::activeModalWidget());
}
bool kanaOn = false;

// Key events carry their text in a read-only field, so the filter sends a
// copy with the case swapped to the same widget and swallows the original.
// The copy then travels the usual way (to the parents while ignored); the
// filter knows it by its address while it is on its way and lets it pass.
class CapsLockFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!capsOn || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
            return false;
        if (!watched->isWidgetType())
            return false;  // the window's copy; the widget gets it next
        if (namesFiles(static_cast<QWidget*>(watched)))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        for (const QEvent* sent : inFlight_)
            if (sent == event)
                return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        QString text = key->text();
        bool changed = false;
        for (QChar& c : text) {
            const char16_t u = c.unicode();
            if (u >= u'a' && u <= u'z') {
                c = QChar(char16_t(u - u'a' + u'A'));
                changed = true;
            } else if (u >= u'A' && u <= u'Z') {
                c = QChar(char16_t(u - u'A' + u'a'));
                changed = true;
            }
        }
        if (!changed)
            return false;

        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                       key->nativeModifiers(), text, key->isAutoRepeat(), quint16(key->count()), key->device());
        copy.setAccepted(key->isAccepted());
        inFlight_.push_back(&copy);
        QCoreApplication::sendEvent(watched, &copy);
        inFlight_.pop_back();
        // The copy has been through the widget and its parents already; the
        // original must not go on to them.
        key->accept();
        return true;
    }

private:
    std::vector<const QEvent*> inFlight_;
};

QPointer<CapsLockFilter>& filter()
{
    static QPointer<CapsLockFilter> f;
    return f;
}

void ensureFilter()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || filter())
        return;
    filter() = new CapsLockFilter(app);
    app->installEventFilter(filter());
}

}  // namespace

void setCapsLock(bool on)
{
    capsOn = on;
    if (on)
        ensureFilter();
}

bool capsLock()
{
    return capsOn;
}

void setKanaLock(bool on)
{
    kanaOn = on;
}

bool kanaLock()
{
    return kanaOn;
}
