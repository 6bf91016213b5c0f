// Private-profile (INI) files: one parse when opened, changes written back atomically.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

/// One operation on an INI file. The file is read and parsed once when the
/// object is made; reads see the object's own writes; `save()` writes the
/// changes back atomically. Section and key names match without regard to
/// case; values are read back trimmed. Lines the object does not change are
/// written back as they were (line ends become CR LF).
class ProfileFile final
{
public:
    /// Reads `path`; a missing file is an empty profile.
    explicit ProfileFile(QString path);
    /// Parses bytes as a file's content (no file behind it; `save()` is not possible).
    static ProfileFile fromBytes(QByteArrayView bytes);
    /// Reads `path` for reading only. While the file holds the same bytes as
    /// at the last such read, the profile parsed then is handed out again, so
    /// that many short reads of a large file cost one parse; the bytes are
    /// compared in full, so any change by anyone is seen.
    static std::shared_ptr<const ProfileFile> readShared(const QString &path);

    const QString &path() const { return m_path; }

    /// While one lives, each file is read from the disk once: later reads of
    /// it get the bytes read then, or those the program saved since. For a run
    /// of operations during which nobody else writes the files (the start,
    /// which holds the data folder's lock); once the last one ends, every read
    /// goes to the disk again, and the next `readShared` parses anew.
    class ReadOnceScope final
    {
    public:
        ReadOnceScope();
        ~ReadOnceScope();
        ReadOnceScope(const ReadOnceScope &) = delete;
        ReadOnceScope &operator=(const ReadOnceScope &) = delete;
    };

    /// How many files and byte strings have been parsed in this process, for
    /// measuring how often an operation parses.
    static quint64 parseCount();

    QString readString(QStringView section, QStringView key, const QString &defaultValue) const;
    /// Decimal, or hexadecimal after "0x"; anything else gives the default.
    int readInteger(QStringView section, QStringView key, int defaultValue) const;
    /// An integer other than 0 is true; a missing or non-numeric value gives the default.
    bool readBool(QStringView section, QStringView key, bool defaultValue) const;

    /// Creates the section (at the end of the file) and the key (at the end of
    /// its section) as needed; an existing key is replaced where it stands.
    /// Line breaks in the key or value are written as blanks.
    void writeString(QStringView section, QStringView key, QStringView value);
    void writeInteger(QStringView section, QStringView key, int value);
    void writeBool(QStringView section, QStringView key, bool value);

    /// Key names of a section in file order, also those with an empty value.
    QStringList keys(QStringView section) const;
    /// "key=value" texts of a section in file order, leaving out empty values.
    QStringList entries(QStringView section) const;
    /// Section names in file order.
    QStringList sections() const;
    bool hasSection(QStringView section) const;
    void eraseSection(QStringView section);
    /// Removes every entry of each of `keys` from the section; the other lines stay as they are.
    void eraseKeys(QStringView section, const QStringList &keys);

    /// The file content as it would be written: Windows-1252, CR LF.
    QByteArray toBytes() const;
    /// Writes the content back when something was written or erased and the
    /// result differs from the file.
    /// Throws EWriteError with the full path when that fails.
    void save();

    /// Called after each save that wrote a file, with the file's path, so that
    /// others can follow the program's changes. An observer must not throw
    /// and should only note the change; with none registered a save costs
    /// nothing more. Returns an id for `removeSaveObserver`.
    using SaveObserver = std::function<void(const QString &path)>;
    static int addSaveObserver(SaveObserver observer);
    static void removeSaveObserver(int id);
    /// Tells the observers that the file at `path` was replaced by other
    /// means than a save (a restore of a backup), as a save would.
    static void announceReplaced(const QString &path);

private:

    struct Line
    {
        QString text; // the line as written, without its line end
        qsizetype keyBegin = -1; // -1: not an entry
        qsizetype keyLength = 0;
        qsizetype valueBegin = 0;
        qsizetype valueLength = 0;
        bool isEntry() const { return keyBegin >= 0; }
        QStringView key() const { return QStringView(text).mid(keyBegin, keyLength); }
        QStringView value() const { return QStringView(text).mid(valueBegin, valueLength); }
    };
    // A section's lines are decoded the first time the section is used: most
    // operations touch a few of the file's sections, and the file is large.
    // Until then `raw` holds its lines as read (a view into m_source).
    struct Section
    {
        QString name;
        QString header;
        QByteArrayView raw;
        bool erased = false;
        mutable bool parsed = true;
        mutable std::vector<Line> lines;
        // Hash of the case-folded key -> its entry lines; built for long
        // sections on the first lookup, dropped when lines move.
        mutable QMultiHash<size_t, qsizetype> keyIndex;
        mutable bool indexed = false;
        // The first lookups in a section not yet decoded look through its raw
        // lines; the entry found last is kept here.
        mutable int probes = 0;
        mutable std::optional<Line> probe;
        void dropIndex()
        {
            indexed = false;
            keyIndex.clear();
        }
    };

    /// A file's bytes as read; `failed` tells a file that exists but cannot be read.
    struct FileBytes
    {
        QByteArray bytes;
        bool failed = false;
    };
    static FileBytes readBytes(const QString &path);
    ProfileFile(QString path, FileBytes source);
    void parse();
    static Line makeLine(QString text);
    static Line makeEntry(QStringView key, QStringView value);
    const Section *findSection(QStringView name) const;
    Section *findSection(QStringView name);
    static const std::vector<Line> &linesOf(const Section &section);
    /// The entry of `key`, mapped as the writes map it.
    static const Line *findEntry(const Section &section, QStringView key);
    /// The first entry whose key equals `key` without regard to case.
    static const Line *findLine(const Section &section, QStringView key);
    /// The same in a section not decoded, decoding only the lines that may hold the key.
    static const Line *probeRaw(const Section &section, QStringView key);
    Section &sectionForWriting(QStringView name);

    QString m_path;
    QByteArray m_source;   // the bytes read; the unparsed sections point into them
    QByteArray m_original; // what the file holds: the bytes read, then the bytes last saved
    bool m_readFailed = false;
    bool m_changed = false; // a write or erase since the last save
    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
    QHash<QString, qsizetype> m_index; // case-folded name -> first live section
};
