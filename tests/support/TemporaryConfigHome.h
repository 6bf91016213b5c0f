// A test's own configuration folder, so that the settings window's autostart box never reads or writes the real home.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

/// While it lives, XDG_CONFIG_HOME names an empty temporary directory; it is
/// restored afterwards. Kept as a member of the test object, it covers every
/// test function of the executable.
class TemporaryConfigHome final
{
public:
    TemporaryConfigHome()
        : m_hadBefore(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        , m_before(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    ~TemporaryConfigHome()
    {
        if (m_hadBefore)
            qputenv("XDG_CONFIG_HOME", m_before);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    TemporaryConfigHome(const TemporaryConfigHome &) = delete;
    TemporaryConfigHome &operator=(const TemporaryConfigHome &) = delete;

    QString path() const { return m_dir.path(); }

private:
    const bool m_hadBefore;
    const QByteArray m_before;
    QTemporaryDir m_dir;
};
