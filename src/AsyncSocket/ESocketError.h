// A socket operation that could not even be started.
#pragma once

#include "platform/Errors.h"

/// Raised by the socket layer when an operation fails before any
/// notification could report it; carries the Windows Sockets error number.
class ESocketError final : public KalmoraError
{
public:
    ESocketError(QString message, int errorNumber);
    int errorNumber() const { return m_errorNumber; }

    /// "%s: can't start DNS lookup, error #%d" with the host and the error number.
    static ESocketError dnsLookupNotStarted(const QString &host, int errorNumber);

private:
    int m_errorNumber;
};
