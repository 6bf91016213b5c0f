// Downloading the research catalogue and its banner pictures.
#include "ResearchDownload.h"

#include "model/ResearchCatalogue.h"
#include "ResearchServer.h"
#include "WebClient/EWebClientError.h"
#include "WebClient/TWebClient.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramDirectory.h"

#include <QBuffer>
#include <QScopeGuard>

#include <exception>

ResearchDownload::ResearchDownload(QObject *parent)
    : QObject(parent)
    , m_client(new TWebClient(this))
{
    m_client->setObjectName(QStringLiteral("WebClient1"));
}

bool ResearchDownload::DownloadCatalogue()
{
    if (refusedAsBusy())
        return false;
    const ResearchServer::Proxy proxy = ResearchServer::ProxySettings();
    m_client->setProxy(proxy.host);
    m_client->setProxyPort(proxy.enabled() ? proxy.port : QString());
    m_client->setProxyUsername(proxy.user);
    m_client->setProxyPassword(proxy.password);

    Q_EMIT catalogueBusyChanged(true);
    const auto enable = qScopeGuard([this] { Q_EMIT catalogueBusyChanged(false); });
    return fetch(ResearchServer::ResearchBaseUrl() + ResearchServer::CatalogueName(),
                 DataFilePath(ResearchCatalogue::FileName()));
}

bool ResearchDownload::DownloadBanner(const QString &fileName)
{
    const QString target = ResearchServer::BannerPath(fileName);
    if (target.isEmpty())
        return false;
    return fetch(ResearchServer::ResearchBaseUrl() + fileName, target);
}

void ResearchDownload::Refresh(ResearchCatalogue &catalogue)
{
    DownloadCatalogue();
    std::exception_ptr failure;
    try {
        catalogue.load();
    } catch (...) {
        failure = std::current_exception();
    }
    for (const ResearchCatalogue::Banner &banner : catalogue.banners())
        DownloadBanner(banner.fileName);
    if (failure)
        std::rethrow_exception(failure);
}

// The body goes into a buffer of its own; the file is written only when the
// request has ended without a failure, so a broken download never reaches it.
bool ResearchDownload::fetch(const QString &address, const QString &target)
{
    if (refusedAsBusy())
        return false;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    m_client->setURL(address);
    m_client->setRcvdStream(&buffer);
    const auto detach = qScopeGuard([this] { m_client->setRcvdStream(nullptr); });

    Q_EMIT infoChanged(QStringLiteral("Lade neue Daten aus dem Internet..."));
    try {
        m_client->Get();
    } catch (const EWebClientError &error) {
        reportFailure(error);
        return false;
    }
    Q_EMIT infoChanged(QStringLiteral("Empfangen wurden ") + QString::number(buffer.size()) + QStringLiteral(" Bytes"));
    AtomicFile::write(target, buffer.data());
    return true;
}

// A refresh started while a banner still downloads must not touch the running
// request: its stream and proxy stay, and the second request fails as busy.
bool ResearchDownload::refusedAsBusy()
{
    if (m_client->state() == TWebClient::State::Ready)
        return false;
    reportFailure(EWebClientError(QStringLiteral("HTTP component is busy"), 1));
    return true;
}

void ResearchDownload::reportFailure(const EWebClientError &error)
{
    Q_EMIT infoChanged(QStringLiteral("ERROR : ") + QString::number(error.code()) + u' ' + error.message());
}
