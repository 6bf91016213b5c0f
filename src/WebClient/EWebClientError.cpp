// The failure of an HTTP request.
#include "EWebClientError.h"

EWebClientError::EWebClientError(QString message, int code)
    : KalmoraError(std::move(message))
    , m_code(code)
{
}
