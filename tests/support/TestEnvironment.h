// A test's own program directory, clock and unattended message boxes.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

/// While it lives, the program directory is a fresh temporary directory, the
/// clock stands at the given moment, and message boxes are answered unseen.
class TestEnvironment final
{
public:
    explicit TestEnvironment(const QDateTime &now = QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString dir() const; // with a trailing "/"
    QString path(const QString &name) const { return dir() + name; }

    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

    /// Writes the settings file from text with "\n" line ends, as Windows-1252 with CR LF.
    void writeSettings(const QString &text) const;
    /// The settings file decoded, with CR LF turned into "\n".
    QString settingsText() const;

    /// Directory of the helper programs built with the tests.
    static QString helperDir();

private:
    QTemporaryDir m_dir;
};
