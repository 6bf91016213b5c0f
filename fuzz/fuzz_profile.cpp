// Fuzzes the profile-file reader and writer: parse, write back and parse again must give the same entries.
//
// Input: the file's bytes, optionally followed by a NUL byte and edit lines
// (Windows-1252, one per line, fields split by TAB, byte 0x01 standing for a
// line break inside a field):
//   w <section> <key> <value>   writeString
//   i <section> <key> <number>  writeInteger
//   b <section> <key> <0|1>     writeBool
//   e <section>                 eraseSection
#include "FuzzCheck.h"

#include "platform/ProfileFile.h"
#include "platform/Win1252.h"

#include <QHash>

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kMaxEdits = 64;

QString withoutLineBreaks(QString text)
{
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

// Names that the file can hold and find again. A section name with "]" and
// names with line breaks are stored under another name. A key with "=" is
// stored with "-" and found again under either spelling. A key starting with
// "[" is found as it stands in the file first, which a model of the writes
// alone cannot follow.
bool storableSection(QStringView name)
{
    return !hasLineBreak(name) && !name.contains(u']');
}

bool storableKey(QStringView key)
{
    const QStringView k = key.trimmed();
    return !k.isEmpty() && !hasLineBreak(k) && !k.startsWith(u'[');
}

// The name a key is kept under: "a=b" and "a-b" are one key.
QString modelKey(const QString &key)
{
    return QString(key).replace(u'=', u'-').toCaseFolded();
}

// Everything a reader can see of a profile is the same in both.
void checkSameContent(const ProfileFile &a, const ProfileFile &b)
{
    const QStringList sections = a.sections();
    FUZZ_CHECK(sections == b.sections());
    for (const QString &section : sections) {
        FUZZ_CHECK(b.hasSection(section));
        const QStringList keys = a.keys(section);
        FUZZ_CHECK(keys == b.keys(section));
        FUZZ_CHECK(a.entries(section) == b.entries(section));
        for (const QString &key : keys) {
            FUZZ_CHECK(a.readString(section, key, QStringLiteral("\x01")) == b.readString(section, key, QStringLiteral("\x02")));
            FUZZ_CHECK(a.readInteger(section, key, 7) == b.readInteger(section, key, 7));
        }
    }
}

// Writing the bytes out and reading them in again changes nothing.
void checkRoundTrip(const ProfileFile &profile)
{
    const QByteArray bytes = profile.toBytes();
    const ProfileFile again = ProfileFile::fromBytes(bytes);
    checkSameContent(profile, again);
    FUZZ_CHECK(again.toBytes() == bytes);
}

using Expected = QHash<QString, QHash<QString, QString>>; // folded section -> folded key -> value

void checkExpected(const ProfileFile &profile, const Expected &expected, const QHash<QString, QString> &sectionNames,
                   const QHash<QString, QString> &keyNames)
{
    for (auto s = expected.begin(); s != expected.end(); ++s) {
        for (auto k = s->begin(); k != s->end(); ++k)
            FUZZ_CHECK(profile.readString(sectionNames[s.key()], keyNames[k.key()], QString()) == *k);
    }
}

QStringList fieldsOf(QStringView line)
{
    QStringList fields;
    for (QStringView field : line.split(u'\t')) {
        QString f = field.toString();
        f.replace(QChar(1), u'\n');
        fields.append(f);
    }
    return fields;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArrayView fileBytes = nul < 0 ? input : input.first(nul);

    ProfileFile profile = ProfileFile::fromBytes(fileBytes);
    checkRoundTrip(profile);
    if (nul < 0)
        return 0;

    Expected expected;
    QHash<QString, QString> sectionNames;
    QHash<QString, QString> keyNames;
    const QString script = Win1252::decode(input.sliced(nul + 1));
    int edits = 0;
    for (QStringView line : QStringView(script).split(u'\n')) {
        if (++edits > kMaxEdits)
            break;
        const QStringList f = fieldsOf(line);
        const QString &op = f[0];
        if (op == u"e" && f.size() >= 2) {
            profile.eraseSection(f[1]);
            expected.remove(f[1].trimmed().toCaseFolded());
            continue;
        }
        if (f.size() < 4 || !storableSection(f[1]) || !storableKey(f[2]))
            continue;
        const QString section = f[1].trimmed();
        const QString key = f[2].trimmed();
        QString value;
        if (op == u"w") {
            profile.writeString(section, key, f[3]);
            value = withoutLineBreaks(f[3]).trimmed();
        } else if (op == u"i") {
            bool ok = false;
            const int number = f[3].toInt(&ok);
            if (!ok)
                continue;
            profile.writeInteger(section, key, number);
            FUZZ_CHECK(profile.readInteger(section, key, number ^ 1) == number);
            value = QString::number(number);
        } else if (op == u"b") {
            const bool on = f[3] == u"1";
            profile.writeBool(section, key, on);
            FUZZ_CHECK(profile.readBool(section, key, !on) == on);
            value = on ? QStringLiteral("1") : QStringLiteral("0");
        } else {
            continue;
        }
        FUZZ_CHECK(profile.readString(section, key, QString()) == value);
        FUZZ_CHECK(profile.hasSection(section));
        const QString foldedSection = section.toCaseFolded();
        const QString foldedKey = modelKey(key);
        expected[foldedSection][foldedKey] = value;
        sectionNames[foldedSection] = section;
        keyNames[foldedKey] = key;
    }
    checkExpected(profile, expected, sectionNames, keyNames);
    checkRoundTrip(profile);
    checkExpected(ProfileFile::fromBytes(profile.toBytes()), expected, sectionNames, keyNames);
    return 0;
}
