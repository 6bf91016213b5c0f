// Failure types of the program and their texts.
#include "Errors.h"

KalmoraError::KalmoraError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}

EConvertError EConvertError::invalidDate(const QString &text)
{
    return EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
}

EConvertError EConvertError::invalidInteger(const QString &text)
{
    return EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

EWriteError::EWriteError(const QString &path)
    : KalmoraError(QStringLiteral("Unable to write to %1").arg(path))
    , m_path(path)
{
}

ERegistryError::ERegistryError(const QString &valueName)
    : KalmoraError(QStringLiteral("Failed to set data for '%1'").arg(valueName))
{
}
