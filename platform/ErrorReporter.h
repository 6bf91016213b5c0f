// The one place where a failed operation is shown to the pupil before the program goes on.
#pragma once

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace ErrorReporter {

/// The title of the program's message boxes.
QString applicationTitle();

/// Shows the failure in a message box with the error icon.
void report(const std::exception &error);

/// Runs an operation; a failure stops it and is reported, and the program goes on.
template <typename F>
void guarded(F &&operation)
{
    try {
        std::forward<F>(operation)();
    } catch (const std::exception &error) {
        report(error);
    }
}

/// Wraps a handler of `receiver` for a signal connection, so that every
/// failure inside it is reported the same way.
template <typename Receiver, typename Method>
auto handler(Receiver *receiver, Method method)
{
    return [receiver, method] { guarded([&] { (receiver->*method)(); }); };
}

}
