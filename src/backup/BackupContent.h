// The data files of one backup, as they were when it was made.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct BackupFile
{
    QString name;     // the data file's usual name ("DEZUVEDIRED.INI", "NOTEN.DAT", ...)
    QByteArray bytes; // its content, byte for byte
};

struct BackupContent
{
    QDateTime created;      // local time the backup was made
    QString programVersion; // the version of the program that made it
    QList<BackupFile> files; // in the order of DataFiles::names(); only files that existed

    /// The file of that name, or null.
    const BackupFile *find(const QString &name) const;
};
