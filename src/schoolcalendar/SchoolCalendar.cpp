// The subscriptions' addresses and last good copies, and reading the dates from the copies.
#include "SchoolCalendar.h"

#include "SchoolCalendarError.h"
#include "SchoolFeed.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHostAddress>

namespace {

QString baseName(const QString &address)
{
    const QByteArray hash = QCryptographicHash::hash(address.trimmed().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("Schulkalender-") + QString::fromLatin1(hash);
}

QString infoPath(const QString &address)
{
    return DataFilePath(baseName(address) + QStringLiteral(".info"));
}

bool isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QByteArray readWhole(const QString &path, qint64 most)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(most + 1);
}

} // namespace

bool SchoolCalendar::isFetchable(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("https") || (scheme == QLatin1String("http") && isLoopback(url.host()));
}

QUrl SchoolCalendar::fetchAddress(const QString &entered)
{
    QString text = entered.trimmed();
    if (text.startsWith(QLatin1String("webcal://"), Qt::CaseInsensitive))
        text.replace(0, 6, QStringLiteral("https"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        throw SchoolCalendarError(QStringLiteral("„%1“ ist keine Internetadresse.").arg(entered.trimmed()));
    if (!isFetchable(url))
        throw SchoolCalendarError(QStringLiteral("„%1“ wird nicht abonniert: nur https-Adressen (oder webcal://) "
                                                 "ohne Benutzername in der Adresse sind erlaubt.")
                                      .arg(entered.trimmed()));
    return url;
}

QString SchoolCalendar::copyPath(const QString &address)
{
    return DataFilePath(baseName(address) + QStringLiteral(".ics"));
}

SchoolCalendar::Copy SchoolCalendar::readCopy(const QString &address)
{
    Copy copy;
    copy.feed = readWhole(copyPath(address), MostBytes);
    if (copy.feed.size() > MostBytes)
        copy.feed.clear(); // not written by the planner
    const QList<QByteArray> lines = readWhole(infoPath(address), 64 * 1024).split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray name = line.left(colon).trimmed();
        const QString value = QString::fromUtf8(line.mid(colon + 1).trimmed());
        if (name == "ETag")
            copy.etag = value;
        else if (name == "Last-Modified")
            copy.lastModified = value;
        else if (name == "Abgerufen")
            copy.fetchedAt = QDateTime::fromString(value, Qt::ISODate);
    }
    return copy;
}

void SchoolCalendar::writeCopy(const QString &address, const Copy &copy)
{
    // Header values come from the server: no line break may add a line of its own.
    const auto clean = [](QString value) { return value.remove(u'\r').remove(u'\n').toUtf8(); };
    QByteArray info = "Adresse: " + clean(address) + "\nETag: " + clean(copy.etag) + "\nLast-Modified: "
                      + clean(copy.lastModified) + "\nAbgerufen: " + copy.fetchedAt.toString(Qt::ISODate).toUtf8() + '\n';
    AtomicFile::write(copyPath(address), copy.feed);
    AtomicFile::write(infoPath(address), info);
}

void SchoolCalendar::removeCopy(const QString &address)
{
    QFile::remove(copyPath(address));
    QFile::remove(infoPath(address));
}

QDate SchoolCalendar::firstDay()
{
    return Clock::today().addDays(-1);
}

QDate SchoolCalendar::lastDay()
{
    return Clock::today().addDays(7 * 8);
}

SchoolCalendar::Dates SchoolCalendar::read(const QList<SchoolCalendarSettings::Subscription> &subscriptions, QDate from, QDate to)
{
    Dates result;
    for (const SchoolCalendarSettings::Subscription &subscription : subscriptions) {
        const Copy copy = readCopy(subscription.address);
        if (!copy.exists())
            continue;
        try {
            SchoolFeed::Reading reading = SchoolFeed::read(copy.feed, from, to, subscription.name);
            result.dates.append(std::move(reading.dates));
            if (!reading.warning.isEmpty())
                result.problems.append(subscription.name + QStringLiteral(": ") + reading.warning);
        } catch (const SchoolCalendarError &error) {
            result.problems.append(subscription.name + QStringLiteral(": ") + error.message());
        }
    }
    SchoolDates::sort(result.dates);
    return result;
}

SchoolCalendar::Dates SchoolCalendar::readStored()
{
    return read(SchoolCalendarSettings::load(), firstDay(), lastDay());
}
