// Where the research catalogue comes from: the server's address, the proxy, and where a banner may be written.
#pragma once

#include <QString>

class ResearchServer final
{
public:
    /// The proxy of the downloads; an empty host means a direct connection.
    struct Proxy
    {
        QString host;
        QString port;
        QString user;
        QString password;
        bool enabled() const { return !host.isEmpty(); }
    };

    /// The built-in address of the server's research directory, ending in "/".
    static const QString &DefaultBaseUrl();
    /// "_kli.cfg": the catalogue's name on the server.
    static const QString &CatalogueName();

    /// The research directory: the environment variable KALMORA_RESEARCH_URL
    /// when it is set, or `DefaultBaseUrl`; always ending in "/".
    static QString ResearchBaseUrl();

    /// The proxy named by http_proxy (or else HTTP_PROXY): [protocol "://"]
    /// [user[":"password]"@"]host[":"port][path]. The host is the text before
    /// the first ":", the port the whole text after it ("80" when it names
    /// none). Unset or empty: a direct connection.
    static Proxy ProxySettings();

    /// True for a bare picture file name: no "/", "\\", "..", drive or
    /// absolute path, no wildcard or control character, and one of the
    /// picture endings .bmp, .png, .jpg, .jpeg, .gif, so that a catalogue can
    /// never name a data file or the program itself.
    static bool IsBannerName(const QString &name);
    /// Where the banner picture of that name is kept: in the program
    /// directory. Empty when the name is not a bare picture file name.
    static QString BannerPath(const QString &name);
};
