// A test's own program directory, clock and unattended message boxes.
#include "support/TestEnvironment.h"

#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "platform/Win1252.h"

#include <QFile>

TestEnvironment::TestEnvironment(const QDateTime &now)
{
    setProgramDirectory(m_dir.path());
    Clock::setNow(now);
    Prompt::setUnattended(true);
    Prompt::takeAsked();
}

TestEnvironment::~TestEnvironment()
{
    setProgramDirectory(QString());
    Clock::reset();
}

QString TestEnvironment::dir() const
{
    return m_dir.path() + u'/';
}

void TestEnvironment::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path(name)));
}

QByteArray TestEnvironment::readFile(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEnvironment::writeSettings(const QString &text) const
{
    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    writeFile(QStringLiteral("DEZUVEDIRED.INI"), Win1252::encode(crlf));
}

QString TestEnvironment::settingsText() const
{
    QString text = Win1252::decode(readFile(QStringLiteral("DEZUVEDIRED.INI")));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString TestEnvironment::helperDir()
{
    return qEnvironmentVariable("KALMORA_TEST_HELPER_DIR") + u'/';
}
