// Private-profile (INI) files: parsing, lookups, edits and the atomic write back.
#include "ProfileFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "SaveObservers.h"
#include "Win1252.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

QString foldName(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}

// A hash of the name as it compares without regard to case, made without
// building the folded text.
size_t foldedHash(QStringView name)
{
    size_t hash = 14695981039346656037u;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]); // folded as one letter, as the comparison does
            ++i;
        }
        if (c < 0x80) // the common case, folded here without the table
            c = c >= u'A' && c <= u'Z' ? c + 32 : c;
        else
            c = QChar::toCaseFolded(c);
        hash ^= c;
        hash *= 1099511628211u;
    }
    return hash;
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

// A key as a line of the file can hold it: without "=", which would end the
// key there, and not starting with "[", which would make the line a section
// header. Lookups map a key the same way, so that a subject such as
// "Bio=Chemie" or "[AG]" is found again under the key it was written with.
QString storedKey(QStringView key)
{
    QString k = oneLine(key).trimmed();
    k.replace(u'=', u'-');
    if (k.startsWith(u'['))
        k[0] = u'(';
    return k;
}

// Offsets of the trimmed part of text[begin, end).
void trimRange(QStringView text, qsizetype &begin, qsizetype &end)
{
    while (begin < end && text[begin].isSpace())
        ++begin;
    while (end > begin && text[end - 1].isSpace())
        --end;
}

// Calls f(line, next) for every line of bytes; a line ends at CR LF, CR or LF,
// `next` points behind the line end.
template<class F>
void forEachLine(QByteArrayView bytes, F &&f)
{
    const char *pos = bytes.data();
    const char *const end = pos + bytes.size();
    // The next CR and the next LF, each found with memchr and looked for again
    // only once passed: a file of either line end is scanned in one pass.
    const auto find = [end](const char *from, char c) {
        const void *hit = std::memchr(from, c, size_t(end - from));
        return hit ? static_cast<const char *>(hit) : end;
    };
    const char *cr = pos < end ? find(pos, '\r') : end;
    const char *lf = pos < end ? find(pos, '\n') : end;
    while (pos < end) {
        if (cr < pos)
            cr = find(pos, '\r');
        if (lf < pos)
            lf = find(pos, '\n');
        const char *lineEnd = qMin(cr, lf);
        const char *next = lineEnd == end ? end : lineEnd + 1;
        if (next < end && lineEnd[0] == '\r' && *next == '\n')
            ++next;
        f(QByteArrayView(pos, lineEnd), next);
        pos = next;
    }
}

// The bytes that decode to blanks: the controls 9..13, the space and the no-break space.
bool isBlankByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0xA0;
}

// A section header: "[", after blanks, and a "]" later on the line.
bool isHeaderLine(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && isBlankByte(line[i]))
        ++i;
    return i < line.size() && line[i] == '[' && line.sliced(i + 1).contains(']');
}

constexpr size_t kIndexedFrom = 16; // shorter sections are searched line by line
constexpr int kProbesBeforeDecoding = 16; // lookups in the raw lines of a section before it is decoded

quint64 parses = 0; // files and byte strings parsed in this process

SaveObservers<const QString &> &saveObservers()
{
    static SaveObservers<const QString &> observers;
    return observers;
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

namespace {
// The profile readShared handed out last.
std::shared_ptr<const ProfileFile> &lastShared()
{
    static std::shared_ptr<const ProfileFile> last;
    return last;
}
}

namespace {
// The files' bytes kept while a ReadOnceScope lives.
struct ReadOnce
{
    int scopes = 0;
    QHash<QString, QByteArray> bytes;
};

ReadOnce &readOnce()
{
    static ReadOnce state;
    return state;
}
}

ProfileFile::ReadOnceScope::ReadOnceScope()
{
    ++readOnce().scopes;
}

ProfileFile::ReadOnceScope::~ReadOnceScope()
{
    // The bytes kept and the last shared profile go with the last scope: the
    // start ends with them, and its memory is better spent on the windows.
    if (--readOnce().scopes == 0) {
        readOnce().bytes.clear();
        lastShared().reset();
    }
}

ProfileFile::FileBytes ProfileFile::readBytes(const QString &path)
{
    ReadOnce &once = readOnce();
    if (once.scopes > 0) {
        const auto kept = once.bytes.constFind(path);
        if (kept != once.bytes.constEnd())
            return {*kept, false};
    }
    QFile file(path);
    if (!file.exists()) {
        if (once.scopes > 0)
            once.bytes.insert(path, QByteArray());
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return {{}, true}; // reads give defaults, but nothing may overwrite the file
    FileBytes read{file.readAll(), false};
    if (once.scopes > 0)
        once.bytes.insert(path, read.bytes);
    return read;
}

ProfileFile::ProfileFile(QString path, FileBytes source)
    : m_path(std::move(path))
    , m_source(std::move(source.bytes))
    , m_original(m_source)
    , m_readFailed(source.failed)
{
    parse();
}

ProfileFile::ProfileFile(QString path)
    : ProfileFile(path, readBytes(path))
{
}

std::shared_ptr<const ProfileFile> ProfileFile::readShared(const QString &path)
{
    std::shared_ptr<const ProfileFile> &last = lastShared();
    FileBytes read = readBytes(path);
    if (read.failed)
        return std::shared_ptr<const ProfileFile>(new ProfileFile(path, std::move(read)));
    if (!last || last->m_path != path || last->m_original != read.bytes)
        last.reset(new ProfileFile(path, std::move(read)));
    return last;
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes)
{
    return ProfileFile(QString(), {bytes.toByteArray(), false});
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

quint64 ProfileFile::parseCount()
{
    return parses;
}

void ProfileFile::parse()
{
    ++parses;
    QByteArrayView bytes = m_source;
    // Every byte-order mark goes: one left behind would be written out as the
    // start of the first line and read back as a mark, changing that line.
    while (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const char *bodyBegin = nullptr; // of the last section, null in the preamble
    forEachLine(bytes, [&](QByteArrayView line, const char *next) {
        if (!isHeaderLine(line)) {
            if (!bodyBegin)
                m_preamble.push_back(makeLine(Win1252::decode(line)));
            return;
        }
        if (bodyBegin)
            m_sections.back().raw = QByteArrayView(bodyBegin, line.data());
        Section section;
        section.header = Win1252::decode(line);
        const QStringView trimmed = QStringView(section.header).trimmed();
        section.name = trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed().toString();
        section.parsed = false;
        const QString folded = section.name.toCaseFolded();
        if (!m_index.contains(folded))
            m_index.insert(folded, qsizetype(m_sections.size()));
        m_sections.push_back(std::move(section));
        bodyBegin = next;
    });
    if (bodyBegin)
        m_sections.back().raw = QByteArrayView(bodyBegin, bytes.data() + bytes.size());
}

const std::vector<ProfileFile::Line> &ProfileFile::linesOf(const Section &section)
{
    if (!section.parsed) {
        forEachLine(section.raw, [&](QByteArrayView line, const char *) {
            section.lines.push_back(makeLine(Win1252::decode(line)));
        });
        section.parsed = true;
    }
    return section.lines;
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
    QStringView k = key.trimmed();
    // A parsed key never holds "=" or a line break: only its stored form can match.
    QString mapped;
    if (k.contains(u'=') || k.contains(u'\r') || k.contains(u'\n')) {
        mapped = storedKey(k);
        k = mapped;
    }
    if (const Line *line = findLine(section, k))
        return line;
    // A key with a leading "[" is found as it stands in a hand-edited file,
    // else under the stored form our own writes give it.
    return k.startsWith(u'[') ? findLine(section, storedKey(k)) : nullptr;
}

const ProfileFile::Line *ProfileFile::probeRaw(const Section &section, QStringView k)
{
    ++section.probes;
    section.probe.reset();
    // An ASCII key is compared with a line's key bytes as they stand, as long
    // as they are ASCII too: Windows-1252 has no other letter that matches an
    // ASCII one without regard to case. Any other line is decoded first.
    const bool asciiKey = std::all_of(k.begin(), k.end(), [](QChar c) { return c.unicode() < 0x80; });
    const QByteArray wanted = asciiKey ? k.toLatin1() : QByteArray();
    forEachLine(section.raw, [&](QByteArrayView bytes, const char *) {
        if (section.probe)
            return;
        const qsizetype eq = bytes.indexOf('=');
        if (eq <= 0)
            return;
        if (asciiKey) {
            qsizetype begin = 0, end = eq;
            while (begin < end && QChar(uchar(bytes[begin])).isSpace())
                ++begin;
            while (end > begin && QChar(uchar(bytes[end - 1])).isSpace())
                --end;
            const QByteArrayView key = bytes.sliced(begin, end - begin);
            if (std::all_of(key.begin(), key.end(), [](char c) { return uchar(c) < 0x80; })
                && (key.size() != wanted.size() || qstrnicmp(key.data(), key.size(), wanted.data(), wanted.size()) != 0))
                return;
        }
        Line line = makeLine(Win1252::decode(bytes));
        if (line.isEntry() && sameName(line.key(), k))
            section.probe = std::move(line);
    });
    return section.probe ? &*section.probe : nullptr;
}

const ProfileFile::Line *ProfileFile::findLine(const Section &section, QStringView k)
{
    // Decoding and indexing a long section pays only after a few lookups.
    if (!section.parsed && section.probes < kProbesBeforeDecoding)
        return probeRaw(section, k);
    const std::vector<Line> &lines = linesOf(section);
    if (lines.size() < kIndexedFrom) {
        for (const Line &line : lines) {
            if (line.isEntry() && sameName(line.key(), k))
                return &line;
        }
        return nullptr;
    }
    if (!section.indexed) {
        section.keyIndex.reserve(qsizetype(lines.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].isEntry())
                section.keyIndex.insert(foldedHash(lines[i].key()), qsizetype(i));
        }
        section.indexed = true;
    }
    // Equal hashes need not be equal names; of the equal names the first line wins.
    const size_t hash = foldedHash(k);
    const Line *found = nullptr;
    for (auto it = section.keyIndex.constFind(hash); it != section.keyIndex.constEnd() && it.key() == hash; ++it) {
        const Line &line = lines[size_t(*it)];
        if (sameName(line.key(), k) && (!found || &line < found))
            found = &line;
    }
    return found;
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
    m_changed = true;
    if (Section *s = findSection(name)) {
        linesOf(*s);
        return *s;
    }
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
        // Keep the key as it was spelt in the file; only the value changes,
        // unless a "]" in the value would make a "[key" line a section header.
        Line replaced = makeEntry(line->key(), value);
        if (line->key().startsWith(u'[') && replaced.text.contains(u']')) {
            replaced = makeEntry(storedKey(line->key()), value);
            s.dropIndex(); // the line is found under another name now
        }
        *line = std::move(replaced);
        return;
    }
    // Behind the section's last entry, before the blank or comment lines that end it.
    auto where = s.lines.end();
    while (where != s.lines.begin() && !(where - 1)->isEntry())
        --where;
    if (s.indexed && where != s.lines.end())
        s.dropIndex(); // the lines behind the new one move
    const auto inserted = s.lines.insert(where, makeEntry(storedKey(key), value));
    if (s.indexed)
        s.keyIndex.insert(foldedHash(inserted->key()), qsizetype(inserted - s.lines.begin()));
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
        for (const Line &line : linesOf(*s)) {
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
        for (const Line &line : linesOf(*s)) {
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
    Section &erased = m_sections[first];
    erased.erased = true;
    erased.parsed = true;
    erased.lines.clear();
    erased.dropIndex();
    m_index.erase(it);
    m_changed = true;
    // A later section of the same name (a hand-edited file) now answers for it.
    for (qsizetype i = first + 1; i < qsizetype(m_sections.size()); ++i) {
        if (!m_sections[i].erased && sameName(m_sections[i].name, section.trimmed())) {
            m_index.insert(folded, i);
            break;
        }
    }
}

void ProfileFile::eraseKeys(QStringView section, const QStringList &keys)
{
    if (keys.isEmpty() || !findSection(section))
        return;
    QSet<QString> folded;
    for (const QString &key : keys)
        folded.insert(foldName(key));
    Section &s = sectionForWriting(section);
    const auto gone = std::remove_if(s.lines.begin(), s.lines.end(),
                                     [&](const Line &line) { return line.isEntry() && folded.contains(foldName(line.key())); });
    if (gone != s.lines.end()) {
        s.lines.erase(gone, s.lines.end());
        s.dropIndex();
    }
}

QByteArray ProfileFile::toBytes() const
{
    // Windows-1252 maps every byte to its own character and back, so the
    // lines of an unparsed section are copied as they are, with CR LF.
    QByteArray out;
    out.reserve(m_source.size() + m_source.size() / 16 + 64);
    const auto appendLines = [&out](const std::vector<Line> &lines) {
        for (const Line &line : lines)
            out += Win1252::encode(line.text) + "\r\n";
    };
    appendLines(m_preamble);
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        out += Win1252::encode(s.header) + "\r\n";
        if (s.parsed) {
            appendLines(s.lines);
        } else {
            // Runs of lines that end in CR LF already are copied in one piece.
            const char *run = s.raw.data();
            forEachLine(s.raw, [&](QByteArrayView line, const char *next) {
                const char *lineEnd = line.data() + line.size();
                if (next - lineEnd == 2 && lineEnd[0] == '\r')
                    return;
                out += QByteArrayView(run, lineEnd);
                out += "\r\n";
                run = next;
            });
            out += QByteArrayView(run, s.raw.data() + s.raw.size());
        }
    }
    return out;
}

void ProfileFile::save()
{
    if (m_path.isEmpty() || !m_changed)
        return;
    const QByteArray bytes = toBytes();
    const bool unchanged = bytes == m_original && (bytes.isEmpty() || QFile::exists(m_path));
    if (!unchanged) {
        if (m_readFailed) // never replace a file whose content could not be read
            throw EWriteError(m_path);
        AtomicFile::write(m_path, bytes);
        m_original = bytes;
    }
    m_changed = false;
    if (!unchanged && readOnce().scopes > 0) {
        // Later reads in the scope get these bytes, and the profile as it
        // stands now instead of a parse of them.
        readOnce().bytes.insert(m_path, bytes);
        lastShared() = std::make_shared<const ProfileFile>(*this);
    }
    if (!unchanged)
        saveObservers().notify(m_path);
}

int ProfileFile::addSaveObserver(SaveObserver observer)
{
    return saveObservers().add(std::move(observer));
}

void ProfileFile::removeSaveObserver(int id)
{
    saveObservers().remove(id);
}

void ProfileFile::announceReplaced(const QString &path)
{
    saveObservers().notify(path);
}
