// The account's password: in the desktop's secret service, else in memory for this program run.
#pragma once

#include <QString>

#include <optional>

class SyncPassword final
{
public:
    /// KALMORA_CALDAV_PASSWORD when set, else the password kept for this run,
    /// else the one in the secret service; none when nowhere.
    static std::optional<QString> read(const QString &server, const QString &user);
    /// Keeps the password for this run and, where there is one, in the secret
    /// service. False when only the memory holds it.
    static bool store(const QString &server, const QString &user, const QString &password);
};
