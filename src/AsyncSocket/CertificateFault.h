// German texts for the faults of a server's certificate.
#pragma once

#include <QSslError>
#include <QString>

/// Why a certificate is refused, in German ("das Zertifikat ist abgelaufen");
/// Qt's own text for faults a pupil hardly meets.
QString CertificateFault(const QSslError &error);
