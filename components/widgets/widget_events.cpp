#include "components/widgets/widget_events.h"

#include "platform/error_guard.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>

namespace {

class EventHook : public QObject {
public:
    EventHook(QObject* parent, QEvent::Type type, std::function<bool(QEvent*)> handler)
        : QObject(parent), type_(type), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == type_)
            guarded([&] { handler_(e); });
        return QObject::eventFilter(watched, e);
    }

private:
    QEvent::Type type_;
    std::function<bool(QEvent*)> handler_;
};

void install(QWidget* w, QEvent::Type type, std::function<bool(QEvent*)> handler)
{
    auto* hook = new EventHook(w, type, std::move(handler));
    QWidget* target = w;
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        target = combo->lineEdit();
    else if (auto* area = qobject_cast<QAbstractScrollArea*>(w);
             area && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick))
        target = area->viewport();
    target->installEventFilter(hook);
}

}  // namespace

void onEvent(QWidget* w, QEvent::Type type, std::function<void()> handler)
{
    install(w, type, [handler = std::move(handler)](QEvent*) {
        handler();
        return false;
    });
}

void onClick(QWidget* w, std::function<void()> handler)
{
    onEvent(w, QEvent::MouseButtonPress, std::move(handler));
}

void onDoubleClick(QWidget* w, std::function<void()> handler)
{
    onEvent(w, QEvent::MouseButtonDblClick, std::move(handler));
}

void onEnter(QWidget* w, std::function<void()> handler)
{
    onEvent(w, QEvent::FocusIn, std::move(handler));
}

// The focus belongs to the widget itself, also for an editable combo box,
// which only forwards it to its editor.
void onExit(QWidget* w, std::function<void()> handler)
{
    w->installEventFilter(new EventHook(w, QEvent::FocusOut, [handler = std::move(handler)](QEvent* e) {
        if (leavesControl(static_cast<QFocusEvent*>(e)))
            handler();
        return false;
    }));
}

bool leavesControl(const QFocusEvent* event)
{
    return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
}

void onKeyDown(QWidget* w, std::function<void(QKeyEvent*)> handler)
{
    install(w, QEvent::KeyPress, [handler = std::move(handler)](QEvent* e) {
        handler(static_cast<QKeyEvent*>(e));
        return false;
    });
}
