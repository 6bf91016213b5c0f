// Private-profile (INI) files: parsing, lookups, edits and the atomic write back.
#include "ProfileFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Win1252.h"

#include <QFile>

namespace {

QString foldName(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A written text never holds a line break, so it cannot add lines to the file.
QString oneLine(QStringView text)
{
    QString s = text.toString();
    for (QChar &c : s) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return s;
}

// Offsets of the trimmed part of text[begin, end).
void trimRange(QStringView text, qsizetype &begin, qsizetype &end)
{
    while (begin < end && text[begin].isSpace())
        ++begin;
    while (end > begin && text[end - 1].isSpace())
        --end;
}

bool parseInteger(QStringView text, int &result)
{
    QStringView t = text.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t[0] == u'-' || t[0] == u'+')) {
        negative = t[0] == u'-';
        t = t.mid(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty() || !t[0].isLetterOrNumber())
        return false;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong s = negative ? -v : v;
    if (base == 10 && (s < INT_MIN || s > INT_MAX))
        return false;
    if (base == 16 && v > 0xFFFFFFFFLL)
        return false;
    result = static_cast<int>(static_cast<qint32>(s)); // "0xFFFFFFFF" reads as -1
    return true;
}

}

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (file.exists()) {
        if (file.open(QIODevice::ReadOnly))
            m_original = file.readAll();
        else
            m_readFailed = true; // reads give defaults, but nothing may overwrite the file
    }
    parse(m_original);
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes)
{
    ProfileFile profile;
    profile.m_original = bytes.toByteArray();
    profile.parse(bytes);
    return profile;
}

ProfileFile::Line ProfileFile::makeLine(QString text)
{
    Line line;
    line.text = std::move(text);
    const qsizetype eq = line.text.indexOf(u'=');
    if (eq > 0) {
        qsizetype kb = 0, ke = eq, vb = eq + 1, ve = line.text.size();
        trimRange(line.text, kb, ke);
        trimRange(line.text, vb, ve);
        if (ke > kb) {
            line.keyBegin = kb;
            line.keyLength = ke - kb;
            line.valueBegin = vb;
            line.valueLength = ve - vb;
        }
    }
    return line;
}

ProfileFile::Line ProfileFile::makeEntry(QStringView key, QStringView value)
{
    return makeLine(oneLine(key) + u'=' + oneLine(value));
}

void ProfileFile::parse(QByteArrayView bytes)
{
    // Every byte-order mark goes: one left behind would be written out as the
    // start of the first line and read back as a mark, changing that line.
    while (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    std::vector<Line> *target = &m_preamble;
    const char *pos = bytes.data();
    const char *const end = pos + bytes.size();
    while (pos < end) {
        const char *lineEnd = pos;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        QString lineText = Win1252::decode(QByteArrayView(pos, lineEnd));
        pos = lineEnd + 1;
        if (lineEnd + 1 < end && lineEnd[0] == '\r' && lineEnd[1] == '\n')
            ++pos;

        const QStringView trimmed = QStringView(lineText).trimmed();
        const qsizetype close = trimmed.startsWith(u'[') ? trimmed.indexOf(u']') : -1;
        if (close > 0) {
            Section section;
            section.name = trimmed.mid(1, close - 1).trimmed().toString();
            section.header = std::move(lineText);
            const QString folded = section.name.toCaseFolded();
            if (!m_index.contains(folded))
                m_index.insert(folded, qsizetype(m_sections.size()));
            m_sections.push_back(std::move(section));
            target = &m_sections.back().lines;
        } else {
            target->push_back(makeLine(std::move(lineText)));
        }
    }
}

const ProfileFile::Section *ProfileFile::findSection(QStringView name) const
{
    const auto it = m_index.constFind(foldName(name));
    return it == m_index.constEnd() ? nullptr : &m_sections[*it];
}

ProfileFile::Section *ProfileFile::findSection(QStringView name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

const ProfileFile::Line *ProfileFile::findEntry(const Section &section, QStringView key)
{
    const QStringView k = key.trimmed();
    for (const Line &line : section.lines) {
        if (line.isEntry() && sameName(line.key(), k))
            return &line;
    }
    return nullptr;
}

QString ProfileFile::readString(QStringView section, QStringView key, const QString &defaultValue) const
{
    const Section *s = findSection(section);
    const Line *line = s ? findEntry(*s, key) : nullptr;
    return line ? line->value().toString() : defaultValue;
}

int ProfileFile::readInteger(QStringView section, QStringView key, int defaultValue) const
{
    const Section *s = findSection(section);
    const Line *line = s ? findEntry(*s, key) : nullptr;
    int value = defaultValue;
    if (line && parseInteger(line->value(), value))
        return value;
    return defaultValue;
}

bool ProfileFile::readBool(QStringView section, QStringView key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

ProfileFile::Section &ProfileFile::sectionForWriting(QStringView name)
{
    if (Section *s = findSection(name))
        return *s;
    Section section;
    section.name = oneLine(name.trimmed());
    section.header = u'[' + section.name + u']';
    m_index.insert(section.name.toCaseFolded(), qsizetype(m_sections.size()));
    m_sections.push_back(std::move(section));
    return m_sections.back();
}

void ProfileFile::writeString(QStringView section, QStringView key, QStringView value)
{
    Section &s = sectionForWriting(section);
    if (auto *line = const_cast<Line *>(findEntry(s, key))) {
        // Keep the key as it was spelt in the file; only the value changes.
        *line = makeEntry(line->key(), value);
        return;
    }
    auto lastEntry = s.lines.end();
    for (auto it = s.lines.begin(); it != s.lines.end(); ++it) {
        if (it->isEntry())
            lastEntry = it;
    }
    const auto where = lastEntry == s.lines.end() ? s.lines.begin() : lastEntry + 1;
    s.lines.insert(where, makeEntry(key.trimmed(), value));
}

void ProfileFile::writeInteger(QStringView section, QStringView key, int value)
{
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? u"1" : u"0");
}

QStringList ProfileFile::keys(QStringView section) const
{
    QStringList result;
    if (const Section *s = findSection(section)) {
        for (const Line &line : s->lines) {
            if (line.isEntry())
                result.append(line.key().toString());
        }
    }
    return result;
}

QStringList ProfileFile::entries(QStringView section) const
{
    QStringList result;
    if (const Section *s = findSection(section)) {
        for (const Line &line : s->lines) {
            if (line.isEntry() && line.valueLength > 0)
                result.append(line.key() + u'=' + line.value());
        }
    }
    return result;
}

QStringList ProfileFile::sections() const
{
    QStringList result;
    for (const Section &s : m_sections) {
        if (!s.erased)
            result.append(s.name);
    }
    return result;
}

bool ProfileFile::hasSection(QStringView section) const
{
    return findSection(section) != nullptr;
}

void ProfileFile::eraseSection(QStringView section)
{
    const QString folded = foldName(section);
    const auto it = m_index.find(folded);
    if (it == m_index.end())
        return;
    const qsizetype first = *it;
    m_sections[first].erased = true;
    m_sections[first].lines.clear();
    m_index.erase(it);
    // A later section of the same name (a hand-edited file) now answers for it.
    for (qsizetype i = first + 1; i < qsizetype(m_sections.size()); ++i) {
        if (!m_sections[i].erased && sameName(m_sections[i].name, section.trimmed())) {
            m_index.insert(folded, i);
            break;
        }
    }
}

QByteArray ProfileFile::toBytes() const
{
    QString text;
    qsizetype size = 0;
    for (const Line &line : m_preamble)
        size += line.text.size() + 2;
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        size += s.header.size() + 2;
        for (const Line &line : s.lines)
            size += line.text.size() + 2;
    }
    text.reserve(size);
    for (const Line &line : m_preamble)
        text += line.text + u"\r\n";
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        text += s.header + u"\r\n";
        for (const Line &line : s.lines)
            text += line.text + u"\r\n";
    }
    return Win1252::encode(text);
}

void ProfileFile::save()
{
    if (m_path.isEmpty())
        return;
    const QByteArray bytes = toBytes();
    const bool unchanged = bytes == m_original && (bytes.isEmpty() || QFile::exists(m_path));
    if (unchanged)
        return;
    if (m_readFailed) // never replace a file whose content could not be read
        throw EWriteError(m_path);
    AtomicFile::write(m_path, bytes);
    m_original = bytes;
}
