// Reading the research catalogue from its tagged text blocks.
#include "ResearchCatalogue.h"

#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/Win1252.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray kUtf8Mark = "\xEF\xBB\xBF";

// Hands out the lines of a text one by one; past the end every line is empty,
// as a block cut short by the end of the file reads.
class LineReader final
{
public:
    explicit LineReader(QStringView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_at >= m_text.size(); }

    QString next()
    {
        if (atEnd())
            return QString();
        qsizetype end = m_at;
        while (end < m_text.size() && m_text[end] != u'\r' && m_text[end] != u'\n')
            ++end;
        const QString line = m_text.sliced(m_at, end - m_at).toString();
        if (end + 1 < m_text.size() && m_text[end] == u'\r' && m_text[end + 1] == u'\n')
            ++end;
        m_at = end + 1;
        return line;
    }

private:
    QStringView m_text;
    qsizetype m_at = 0;
};

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith(kUtf8Mark))
        return QString::fromUtf8(bytes.sliced(kUtf8Mark.size()));
    return Win1252::decode(bytes);
}

int imageNumber(const QString &line)
{
    bool ok = false;
    const int number = line.toInt(&ok, 10);
    if (!ok)
        throw EConvertError::invalidInteger(line);
    return number;
}

}

const QString &ResearchCatalogue::FileName()
{
    static const QString name = QStringLiteral("inet.txt");
    return name;
}

void ResearchCatalogue::clear()
{
    m_nodes.clear();
    m_banners.clear();
}

void ResearchCatalogue::load()
{
    clear();
    const QString path = DataFilePath(FileName());
    if (!QFileInfo::exists(path))
        throw EInOutError(QStringLiteral("Die Datei %1 fehlt.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
    read(file.readAll());
}

void ResearchCatalogue::read(QByteArrayView bytes)
{
    using Kind = Node::Kind;
    const QString text = decode(bytes);
    LineReader lines(text);
    int parent = -1;
    while (!lines.atEnd()) {
        const QString tag = lines.next();
        if (tag == u"<DATA>") {
            const QString title = lines.next();
            parent = add({Kind::Title, -1, title, TitleImage, TitleImage, {}, {}});
        } else if (tag == u"<SUBJECT>") {
            const QString title = lines.next();
            const int image = imageNumber(lines.next());
            parent = add({Kind::Subject, -1, title, image, SubjectSelectedImage, {}, {}});
        } else if (tag == u"<TOPIC>") {
            const QString title = lines.next();
            const QString address = lines.next();
            const QString description = lines.next();
            const int image = imageNumber(lines.next());
            add({Kind::Topic, parent, title, image, image, address, description});
        } else if (tag == u"<BITMAP>") {
            Banner banner;
            banner.fileName = lines.next();
            banner.homepageUrl = lines.next();
            banner.hint = lines.next();
            m_banners.append(banner);
        }
    }
}

int ResearchCatalogue::add(Node node)
{
    m_nodes.append(std::move(node));
    return int(m_nodes.size() - 1);
}
