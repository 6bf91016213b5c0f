// The failure of an HTTP request, with the HTTP status or one of the client's own codes.
#pragma once

#include "platform/Errors.h"

/// Raised by `TWebClient::Get`: the message is the reason text, the code the
/// HTTP status (404 also for failed lookups, connections and the client's
/// own limits) or 1 for a request started while the client is busy.
class EWebClientError final : public KalmoraError
{
public:
    EWebClientError(QString message, int code);
    int code() const { return m_code; }

private:
    int m_code;
};
