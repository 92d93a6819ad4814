// The one guard around every handler: an exception that escapes a handler
// is shown in the standard error box (the application's name as caption, the
// error icon, an OK button) and goes no further, so no exception ever
// travels through Qt's event loop. The handler's remaining work is skipped,
// as the exception left it.
//
// Exceptions carry their message as UTF-8 in what(). ScriptError, a test
// script's failure (an unexpected dialog or message box, see
// platform/modal.h), passes through the guard instead of being shown: it
// means a failing test, never a user's error.
#pragma once

#include "platform/modal.h"

#include <QObject>
#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

// Runs the handler under the guard. True when it ran to its end.
bool guarded(const std::function<void()>& handler);

// The standard error box.
void showErrorBox(const QString& text);

// The text shown for an exception that carries no message.
QString unknownErrorText();

namespace guard_detail {

template <class Handler, class Context, class... Args>
concept CallableWith =
    (std::is_member_function_pointer_v<Handler> && std::invocable<Handler&, Context*, Args...>)
    || (!std::is_member_function_pointer_v<Handler> && std::invocable<Handler&, Args...>);

// A slot that calls the handler under the guard. Its call operator takes
// exactly the signal arguments the handler accepts, so Qt drops the rest
// as it does for a plain slot (clicked(bool) into a handler without
// arguments).
template <class Context, class Handler>
struct GuardedSlot {
    Context* context;
    Handler handler;

    template <class... Args>
        requires CallableWith<Handler, Context, Args...>
    void operator()(Args&&... args)
    {
        guarded([&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                std::invoke(handler, context, std::forward<Args>(args)...);
            else
                std::invoke(handler, std::forward<Args>(args)...);
        });
    }
};

}  // namespace guard_detail

// Connects `signal` of `sender` to `handler` under the guard. The handler
// is a member function of `context` (connectGuarded(OKBtn,
// &QPushButton::clicked, this, &TFindDlg::OKBtnClick)) or any callable; the
// connection ends when `context` is destroyed.
template <class Sender, class Signal, class Context, class Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Context* context, Handler handler,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(sender, signal, context,
                            guard_detail::GuardedSlot<Context, Handler>{context, std::move(handler)}, type);
}
