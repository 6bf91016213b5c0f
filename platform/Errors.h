// Failure types of the program, each carrying the text that the message box shows.
#pragma once

#include <QString>
#include <exception>

/// Base of every failure the program reports to the pupil and then goes on.
class KalmoraError : public std::exception
{
public:
    explicit KalmoraError(QString message);
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

/// A text that is not a valid date or integer ("'%s' is not a valid date").
class EConvertError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
    static EConvertError invalidDate(const QString &text);
    static EConvertError invalidInteger(const QString &text);
};

/// A data file that could not be written ("Unable to write to %s").
class EWriteError final : public KalmoraError
{
public:
    explicit EWriteError(const QString &path);
    /// The file that could not be written.
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

/// A file that could not be read or was shorter than expected.
class EInOutError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
};

/// The autostart entry could not be written ("Failed to set data for '%s'").
class ERegistryError final : public KalmoraError
{
public:
    explicit ERegistryError(const QString &valueName);
};
