// German texts for the faults of a server's certificate.
#include "CertificateFault.h"

QString CertificateFault(const QSslError &error)
{
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("das Zertifikat ist selbst ausgestellt");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
        return QStringLiteral("der Aussteller des Zertifikats ist nicht vertrauenswürdig");
    case QSslError::CertificateExpired:
        return QStringLiteral("das Zertifikat ist abgelaufen");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("das Zertifikat ist noch nicht gültig");
    case QSslError::HostNameMismatch:
        return QStringLiteral("das Zertifikat gilt nicht für diesen Rechnernamen");
    case QSslError::CertificateRevoked:
        return QStringLiteral("das Zertifikat wurde zurückgezogen");
    default:
        return error.errorString();
    }
}
