// Windows Sockets error numbers and their English texts, and how Qt's socket errors map to them.
#pragma once

#include <QAbstractSocket>
#include <QHostInfo>
#include <QString>

namespace WinsockError {

constexpr int NoError = 0;
constexpr int InvalidArgument = 10022; // WSAEINVAL
constexpr int AddressNotAvailable = 10049; // WSAEADDRNOTAVAIL
constexpr int AlreadyConnected = 10056; // WSAEISCONN
constexpr int NotConnected = 10057; // WSAENOTCONN
constexpr int TimedOut = 10060; // WSAETIMEDOUT
constexpr int ConnectionRefused = 10061; // WSAECONNREFUSED
constexpr int ProtocolNotSupported = 10043; // WSAEPROTONOSUPPORT
constexpr int HostNotFound = 11001; // WSAHOST_NOT_FOUND

/// The English description of an error number ("Connection refused" for
/// 10061); "Unknown Error" for a number the table does not hold.
QString text(int errorNumber);

/// The error number that stands for a Qt socket error. Qt folds several
/// system errors into NetworkError; its text tells them apart.
int fromSocketError(QAbstractSocket::SocketError error, const QString &errorString);

/// The error number of a failed name lookup.
int fromLookupError(QHostInfo::HostInfoError error);

}
