// The password through QtKeychain; nothing of it enters a data file.
#include "SyncPassword.h"

#include <QEventLoop>
#include <QHash>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Kalmora CalDAV");

QHash<QString, QString> &memory()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QString keyOf(const QString &server, const QString &user)
{
    return user.trimmed() + u'@' + server.trimmed();
}

// Waits for a keychain job in a local event loop; a secret service that
// does not answer within a few seconds counts as none.
bool finish(QKeychain::Job &job)
{
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return finished && job.error() == QKeychain::NoError;
}

}

std::optional<QString> SyncPassword::read(const QString &server, const QString &user)
{
    const QByteArray fromEnvironment = qgetenv("KALMORA_CALDAV_PASSWORD");
    if (!fromEnvironment.isEmpty())
        return QString::fromUtf8(fromEnvironment);
    const QString key = keyOf(server, user);
    if (memory().contains(key))
        return memory().value(key);
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (!finish(job))
        return std::nullopt;
    memory().insert(key, job.textData());
    return job.textData();
}

bool SyncPassword::store(const QString &server, const QString &user, const QString &password)
{
    const QString key = keyOf(server, user);
    memory().insert(key, password);
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    return finish(job);
}
