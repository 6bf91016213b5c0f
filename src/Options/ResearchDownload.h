// The refresh of the research catalogue: "_kli.cfg" from the research server into "inet.txt", then the banner pictures.
#pragma once

#include <QObject>
#include <QString>

class EWebClientError;
class ResearchCatalogue;
class TWebClient;

/// Downloads with `WebClient1`, reporting its progress as the texts of the
/// tab's status line. A file is replaced, atomically, only after a complete
/// and successful download; a failed download leaves it as it was.
class ResearchDownload final : public QObject
{
    Q_OBJECT

public:
    explicit ResearchDownload(QObject *parent = nullptr);

    TWebClient *WebClient1() const { return m_client; }

    /// Fetches the research base address followed by "_kli.cfg", through the
    /// proxy of the environment, and writes it to "inet.txt". Announces
    /// "Lade neue Daten aus dem Internet...", then "Empfangen wurden N Bytes"
    /// or, for a failed request, "ERROR : " with the code and the reason.
    /// `catalogueBusyChanged` brackets the download. Returns true when the
    /// file was replaced; throws what is not a failed request (EWriteError,
    /// ESocketError) after the clean-up.
    bool DownloadCatalogue();

    /// Fetches a banner picture from the research directory into the program
    /// directory, with the same texts. A name that is not a bare picture file
    /// name is skipped: nothing is fetched or written, and false is returned.
    bool DownloadBanner(const QString &fileName);

    /// The whole refresh: `DownloadCatalogue`, then "inet.txt" read into
    /// `catalogue` (the old one when the download failed), then the banner
    /// of every "<BITMAP>" block read. A failure to read the catalogue is
    /// thrown after the banners read before it were fetched.
    void Refresh(ResearchCatalogue &catalogue);

Q_SIGNALS:
    void infoChanged(const QString &text);
    /// True while the catalogue itself downloads.
    void catalogueBusyChanged(bool busy);

private:
    bool fetch(const QString &address, const QString &target);
    bool refusedAsBusy();
    void reportFailure(const EWebClientError &error);

    TWebClient *m_client;
};
