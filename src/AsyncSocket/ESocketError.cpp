// A socket operation that could not even be started.
#include "ESocketError.h"

ESocketError::ESocketError(QString message, int errorNumber)
    : KalmoraError(std::move(message))
    , m_errorNumber(errorNumber)
{
}

ESocketError ESocketError::dnsLookupNotStarted(const QString &host, int errorNumber)
{
    return ESocketError(QStringLiteral("%1: can't start DNS lookup, error #%2").arg(host).arg(errorNumber), errorNumber);
}
