// The kept state of the class list as a small JSON document, replaced atomically.
#include "ClassListState.h"

#include "ClassListSettings.h"

#include "platform/AtomicFile.h"
#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QStringList kKinds{QStringLiteral("taken"), QStringLiteral("dropped"), QStringLiteral("shared")};

bool sameHomework(const ClassListState::Entry &a, const ClassListState::Entry &b)
{
    return a.due == b.due && a.subject.compare(b.subject, Qt::CaseInsensitive) == 0;
}

}

QString ClassListState::path()
{
    return DataFilePath(fileName());
}

ClassListState ClassListState::load()
{
    ClassListState state;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return state;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    state.tasksUrl = root.value(u"tasks").toString();
    state.readOnly = root.value(u"read-only").toBool();
    state.readOnlyByRights = root.value(u"read-only-by-rights").toBool();
    for (const QJsonValue &value : root.value(u"entries").toArray()) {
        const QJsonObject o = value.toObject();
        const QDate due = QDate::fromString(o.value(u"due").toString(), Qt::ISODate);
        const qsizetype kind = kKinds.indexOf(o.value(u"kind").toString());
        if (!due.isValid() || kind < 0)
            continue;
        state.entries.append({o.value(u"href").toString(), o.value(u"etag").toString(), due, o.value(u"subject").toString(),
                              o.value(u"text").toString(), Kind(kind)});
    }
    const QJsonObject ignored = root.value(u"ignored").toObject();
    for (auto it = ignored.begin(); it != ignored.end(); ++it)
        state.ignoredEtags.insert(it.key(), it.value().toString());
    return state;
}

void ClassListState::save() const
{
    QJsonArray array;
    for (const Entry &e : entries) {
        array.append(QJsonObject{{QStringLiteral("href"), e.href}, {QStringLiteral("etag"), e.etag},
                                 {QStringLiteral("due"), e.due.toString(Qt::ISODate)}, {QStringLiteral("subject"), e.subject},
                                 {QStringLiteral("text"), e.text}, {QStringLiteral("kind"), kKinds.value(int(e.kind))}});
    }
    QJsonObject ignored;
    for (auto it = ignoredEtags.begin(); it != ignoredEtags.end(); ++it)
        ignored.insert(it.key(), it.value());
    const QJsonObject root{{QStringLiteral("tasks"), tasksUrl}, {QStringLiteral("read-only"), readOnly},
                           {QStringLiteral("read-only-by-rights"), readOnlyByRights},
                           {QStringLiteral("entries"), array}, {QStringLiteral("ignored"), ignored}};
    AtomicFile::write(path(), QJsonDocument(root).toJson(QJsonDocument::Compact));
}

namespace {
// The requests of the entry dialog; the sync renames the file before reading
// it, so that a request written meanwhile goes into a new one.
QString requestPath()
{
    return DataFilePath(QStringLiteral("KLASSE.NEU"));
}
QString takenPath()
{
    return requestPath() + QStringLiteral(".alt");
}
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

void ClassListState::requestShare(QDate due, const QString &subject)
{
    const QByteArray line = due.toString(Qt::ISODate).toUtf8() + '|' + subject.toUtf8() + '\n';
    AtomicFile::write(requestPath(), readAll(requestPath()) + line);
}

void ClassListState::takeRequests()
{
    // Requests taken by a sync that was cut off are read again.
    if (!QFile::exists(takenPath()) && QFile::exists(requestPath()))
        QFile::rename(requestPath(), takenPath());
    for (const QByteArray &line : readAll(takenPath()).split('\n')) {
        const qsizetype bar = line.indexOf('|');
        const QDate due = QDate::fromString(QString::fromUtf8(line.left(bar)), Qt::ISODate);
        const Entry asked{{}, {}, due, QString::fromUtf8(line.mid(bar + 1)).trimmed(), {}, Kind::Shared};
        if (bar < 0 || !due.isValid() || asked.subject.isEmpty()
            || std::any_of(entries.cbegin(), entries.cend(), [&](const Entry &e) { return e.kind == Kind::Shared && sameHomework(e, asked); }))
            continue;
        entries.append(asked);
    }
}

void ClassListState::finishRequests()
{
    QFile::remove(takenPath());
}

std::optional<bool> ClassListState::shareAvailable()
{
    const ClassListSettings::Options options = ClassListSettings::load();
    if (!options.inUse())
        return std::nullopt;
    const ClassListState state = load();
    return !(state.readOnly && state.tasksUrl == options.tasks);
}
