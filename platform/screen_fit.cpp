#include "platform/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// A title bar and a thin border, for a window not yet decorated.
constexpr QMargins kUsualFrame(4, 28, 4, 4);

class ScreenFit : public QObject {
public:
    explicit ScreenFit(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent())
            fitToScreen(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QRect fitOnScreen(const QRect& window, const QMargins& frame, const QRect& available)
{
    const QRect outer = window.marginsAdded(frame);
    const QSize size = outer.size().boundedTo(available.size());
    const int x = std::clamp(outer.x(), available.x(), available.x() + available.width() - size.width());
    const int y = std::clamp(outer.y(), available.y(), available.y() + available.height() - size.height());
    return QRect(QPoint(x, y), size).marginsRemoved(frame);
}

void fitToScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect client = window->geometry(), outer = window->frameGeometry();
    QMargins frame(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                   outer.bottom() - client.bottom());
    if (frame.isNull() && QGuiApplication::platformName() != QLatin1String("offscreen")
        && !window->windowFlags().testFlag(Qt::FramelessWindowHint))
        frame = kUsualFrame;
    const QRect fitted = fitOnScreen(client, frame, screen->availableGeometry());
    if (fitted.size() != client.size())
        window->resize(fitted.size());
    if (fitted.topLeft() != client.topLeft())
        window->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));
}

void keepOnScreen(QWidget* window)
{
    new ScreenFit(window);
}
