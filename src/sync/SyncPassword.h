// The account's password: in the desktop's secret service, else in memory for this program run.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;

class SyncPassword final
{
public:
    using Answer = std::function<void(const std::optional<QString> &password)>;

    /// KALMORA_CALDAV_PASSWORD when set, else the password kept for this run,
    /// else the one in the secret service; none when nowhere. Nothing waits:
    /// `answer` is called in `context`'s thread once the secret service has
    /// answered (or after five seconds without an answer, with none), and not
    /// at all when `context` is gone by then.
    static void fetch(const QString &server, const QString &user, QObject *context, Answer answer);
    /// The same, waiting in a local event loop: for the tool and the tests.
    static std::optional<QString> read(const QString &server, const QString &user);
    /// Keeps the password for this run and, where there is one, hands it to
    /// the secret service without waiting; `stored` (optional) hears in
    /// `context`'s thread whether the secret service took it.
    static void store(const QString &server, const QString &user, const QString &password, QObject *context = nullptr,
                      std::function<void(bool stored)> stored = {});
    /// Forgets the passwords kept for this run (the secret service keeps its own).
    static void forgetKept();
};
