// The subscriptions' addresses, their last good copies beside the data files, and the dates they give.
#pragma once

#include "SchoolCalendarSettings.h"
#include "SchoolDate.h"

#include <QByteArray>
#include <QDateTime>
#include <QUrl>

namespace SchoolCalendar {

/// The largest answer taken from a server.
constexpr qint64 MostBytes = 10 * 1024 * 1024;

/// The address to fetch for what the pupil entered: https as it is,
/// "webcal://" as https, plain http only for the own computer (loopback).
/// Throws SchoolCalendarError (German) for anything else.
QUrl fetchAddress(const QString &entered);
/// True when `url` may be fetched, the target of a redirection included.
bool isFetchable(const QUrl &url);

/// What is kept of a subscription's last good answer.
struct Copy
{
    QByteArray feed;       // empty when there is none
    QString etag;          // for If-None-Match
    QString lastModified;  // for If-Modified-Since, as the server sent it
    QDateTime fetchedAt;   // when the server last confirmed it
    bool exists() const { return !feed.isEmpty(); }
};

/// The file of the last good copy of the subscription with that address, in
/// the program directory ("Schulkalender-<hash>.ics", its headers in ".info").
QString copyPath(const QString &address);
Copy readCopy(const QString &address);
/// Replaces the copy (the feed first, each file whole). Throws EWriteError.
void writeCopy(const QString &address, const Copy &copy);
/// Removes the files of a subscription that was ended.
void removeCopy(const QString &address);

/// The first and last day whose dates are read: yesterday to 8 weeks ahead.
QDate firstDay();
QDate lastDay();

struct Dates
{
    QList<SchoolDate> dates; // sorted, from every subscription with a copy
    QStringList problems;    // German, one for each copy that cannot be read or was cut off
};
/// The dates of every subscription's last good copy touching `from`..`to`.
Dates read(const QList<SchoolCalendarSettings::Subscription> &subscriptions, QDate from, QDate to);
/// The same for the stored subscriptions and the days `firstDay`..`lastDay`.
Dates readStored();

}
