// Windows Sockets error numbers and their English texts.
#include "WinsockError.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry
{
    int number;
    const char *text;
};

// Sorted by number.
constexpr Entry kTexts[] = {
    {0, "No Error"},
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Protocol not available"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Cannot assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection on reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disk quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unavailable"},
    {10092, "Winsock version out of range"},
    {10093, "Winsock not initialized"},
    {10101, "Graceful shutdown in progress"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found"},
    {11003, "Non-recoverable error"},
    {11004, "Valid name, no data record of requested type"},
};

}

QString WinsockError::text(int errorNumber)
{
    const auto found = std::lower_bound(std::begin(kTexts), std::end(kTexts), errorNumber,
                                        [](const Entry &entry, int number) { return entry.number < number; });
    if (found == std::end(kTexts) || found->number != errorNumber)
        return QStringLiteral("Unknown Error");
    return QString::fromLatin1(found->text);
}

int WinsockError::fromSocketError(QAbstractSocket::SocketError error, const QString &errorString)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return ConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return NoError;
    case QAbstractSocket::HostNotFoundError:
        return HostNotFound;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return TimedOut;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return AddressNotAvailable;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    case QAbstractSocket::UnfinishedSocketOperationError:
        return 10036;
    case QAbstractSocket::NetworkError:
        if (errorString.contains(QLatin1String("timed out"), Qt::CaseInsensitive))
            return TimedOut;
        if (errorString.contains(QLatin1String("host unreachable"), Qt::CaseInsensitive))
            return 10065;
        if (errorString.contains(QLatin1String("unreachable"), Qt::CaseInsensitive))
            return 10051;
        return 10050;
    default:
        // Proxy and TLS errors cannot occur (the socket connects directly);
        // anything else is an operation the socket refused.
        return InvalidArgument;
    }
}

int WinsockError::fromLookupError(QHostInfo::HostInfoError error)
{
    switch (error) {
    case QHostInfo::NoError:
        return NoError;
    case QHostInfo::HostNotFound:
        return HostNotFound;
    default:
        return 11002;
    }
}
