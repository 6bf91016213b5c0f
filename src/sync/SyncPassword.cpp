// The password through QtKeychain's jobs, which answer by signal; nothing of it enters a data file.
#include "SyncPassword.h"

#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Kalmora CalDAV");
constexpr int AnswerTime = 5000; // ms: a secret service slower than this counts as none

QHash<QString, QString> &memory()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QString keyOf(const QString &server, const QString &user)
{
    return user.trimmed() + u'@' + server.trimmed();
}

}

void SyncPassword::fetch(const QString &server, const QString &user, QObject *context, Answer answer)
{
    const QByteArray fromEnvironment = qgetenv("KALMORA_CALDAV_PASSWORD");
    if (!fromEnvironment.isEmpty())
        return answer(QString::fromUtf8(fromEnvironment));
    const QString key = keyOf(server, user);
    if (memory().contains(key))
        return answer(memory().value(key));
    auto *job = new QKeychain::ReadPasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    // One answer only: the job's or the time's, whichever comes first.
    auto once = std::make_shared<Answer>(std::move(answer));
    QObject::connect(job, &QKeychain::Job::finished, context, [once, key](QKeychain::Job *finished) {
        if (!*once)
            return;
        std::optional<QString> password;
        if (finished->error() == QKeychain::NoError) {
            password = static_cast<QKeychain::ReadPasswordJob *>(finished)->textData();
            memory().insert(key, *password);
        }
        std::exchange(*once, nullptr)(password);
    });
    QTimer::singleShot(AnswerTime, context, [once] {
        if (*once)
            std::exchange(*once, nullptr)(std::nullopt);
    });
    job->start();
}

std::optional<QString> SyncPassword::read(const QString &server, const QString &user)
{
    QEventLoop loop;
    std::optional<std::optional<QString>> answered;
    fetch(server, user, &loop, [&](const std::optional<QString> &password) {
        answered = password;
        loop.quit();
    });
    if (!answered)
        loop.exec();
    return answered.value_or(std::nullopt);
}

void SyncPassword::store(const QString &server, const QString &user, const QString &password, QObject *context,
                         std::function<void(bool stored)> stored)
{
    const QString key = keyOf(server, user);
    memory().insert(key, password);
    auto *job = new QKeychain::WritePasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    job->setTextData(password);
    if (context && stored) {
        QObject::connect(job, &QKeychain::Job::finished, context,
                         [stored](QKeychain::Job *finished) { stored(finished->error() == QKeychain::NoError); });
    }
    job->start();
}

void SyncPassword::forgetKept()
{
    memory().clear();
}
