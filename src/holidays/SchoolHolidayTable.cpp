// The school holidays of the German states by school year, read from the shipped table "schulferien.txt".
#include "SchoolHolidayTable.h"

#include "HolidayTableError.h"
#include "platform/DateText.h"
#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

/// One piece: "dd.mm.yyyy" or "dd.mm.yyyy-dd.mm.yyyy"; an error text when it is neither.
std::optional<SchoolHolidayTable::Piece> parsePiece(const QString &text, QString &problem)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d\d\.\d\d\.\d{4})(?:\s*-\s*(\d\d\.\d\d\.\d{4}))?$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        problem = QStringLiteral("„%1“ ist kein Datum und kein Zeitraum (TT.MM.JJJJ oder TT.MM.JJJJ-TT.MM.JJJJ).").arg(text);
        return std::nullopt;
    }
    const QDate first = QDate::fromString(match.captured(1), QStringLiteral("dd.MM.yyyy"));
    const QDate last = match.captured(2).isEmpty() ? first : QDate::fromString(match.captured(2), QStringLiteral("dd.MM.yyyy"));
    if (!first.isValid() || !last.isValid()) {
        problem = QStringLiteral("„%1“ enthält einen Tag, den es nicht gibt.").arg(text);
        return std::nullopt;
    }
    if (last < first) {
        problem = QStringLiteral("In „%1“ liegt der letzte Tag vor dem ersten.").arg(text);
        return std::nullopt;
    }
    return SchoolHolidayTable::Piece{first, last};
}

}

SchoolHolidayTable::Piece SchoolHolidayTable::Period::main() const
{
    Piece longest;
    for (const Piece &piece : pieces) {
        if (!longest.first.isValid() || piece.days() > longest.days())
            longest = piece;
    }
    return longest;
}

QList<SchoolHolidayTable::Piece> SchoolHolidayTable::Period::others() const
{
    QList<Piece> rest = pieces;
    rest.removeOne(main());
    return rest;
}

bool SchoolHolidayTable::SchoolYear::known() const
{
    return std::any_of(periods.begin(), periods.end(), [](const Period &p) { return p.kind == Kind::Dates; });
}

const std::array<QString, 6> &SchoolHolidayTable::periodNames()
{
    static const std::array<QString, 6> names = {
        QStringLiteral("Winter"), QStringLiteral("Ostern"), QStringLiteral("Pfingsten"),
        QStringLiteral("Sommer"), QStringLiteral("Herbst"), QStringLiteral("Weihnachten"),
    };
    return names;
}

QString SchoolHolidayTable::locate()
{
    const QString inProgramDirectory = DataFilePath(fileName());
    if (QFileInfo(inProgramDirectory).isFile())
        return inProgramDirectory;
    const QString executableDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {executableDir + u'/' + fileName(),
                                    executableDir + QStringLiteral("/../../share/kalmora/") + fileName()};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

SchoolHolidayTable SchoolHolidayTable::load()
{
    const QString path = locate();
    if (path.isEmpty())
        throw HolidayTableError(QStringLiteral("Die Ferientabelle „%1“ wurde weder im Programmordner noch bei den Daten des Programms gefunden.")
                                    .arg(fileName()));
    return read(path);
}

SchoolHolidayTable SchoolHolidayTable::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HolidayTableError(QStringLiteral("Die Ferientabelle %1 kann nicht gelesen werden.").arg(path));
    return parse(file.readAll(), path);
}

SchoolHolidayTable SchoolHolidayTable::parse(const QByteArray &text, const QString &path)
{
    static const QRegularExpression yearForm(QStringLiteral(R"(^\d{4}/\d\d$)"));
    SchoolHolidayTable table;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString &problem) { return HolidayTableError::atLine(path, n + 1, problem); };
        QStringList fields = line.split(u';');
        if (fields.size() != 4)
            throw fail(QStringLiteral("Erwartet werden vier Felder: Bundesland; Schuljahr; Ferien; Tage."));
        for (QString &field : fields)
            field = field.trimmed();
        const QString &state = fields[0];
        const QString &year = fields[1];
        if (state.isEmpty())
            throw fail(QStringLiteral("Das Bundesland fehlt."));
        if (!yearForm.match(year).hasMatch() || nextSchoolYear(year).isEmpty())
            throw fail(QStringLiteral("„%1“ ist kein Schuljahr wie 2025/26.").arg(year));
        const bool wholeYear = fields[2] == u'*';
        const auto *name = std::find(periodNames().begin(), periodNames().end(), fields[2]);
        if (!wholeYear && name == periodNames().end())
            throw fail(QStringLiteral("„%1“ ist keine der Ferien Herbst, Weihnachten, Winter, Ostern, Pfingsten, Sommer.").arg(fields[2]));

        Period period;
        if (fields[3] == u'-') {
            period.kind = Kind::None;
        } else if (fields[3] != u'?') {
            period.kind = Kind::Dates;
            for (const QString &pieceText : fields[3].split(u',')) {
                QString problem;
                const auto piece = parsePiece(pieceText.trimmed(), problem);
                if (!piece)
                    throw fail(problem);
                period.pieces.append(*piece);
            }
        }
        if (wholeYear && period.kind != Kind::Unknown)
            throw fail(QStringLiteral("„*“ steht nur für ein ganz unbekanntes Schuljahr („?“)."));

        auto entry = std::find_if(table.m_years.begin(), table.m_years.end(),
                                  [&](const SchoolYear &y) { return y.state == state && y.year == year; });
        if (entry == table.m_years.end())
            entry = table.m_years.insert(table.m_years.end(), SchoolYear{state, year, {}});
        else if (wholeYear)
            throw fail(QStringLiteral("%1 %2 steht schon weiter oben.").arg(state, year));
        if (!wholeYear) {
            Period &slot = entry->periods[size_t(name - periodNames().begin())];
            if (slot.kind != Kind::Unknown || !slot.pieces.isEmpty())
                throw fail(QStringLiteral("%1 %2 %3 steht schon weiter oben.").arg(state, year, fields[2]));
            slot = period;
        }
    }
    if (table.m_years.isEmpty())
        throw HolidayTableError(QStringLiteral("Die Ferientabelle %1 enthält keine Ferien.").arg(path));
    return table;
}

QStringList SchoolHolidayTable::states() const
{
    QStringList names;
    for (const SchoolYear &year : m_years) {
        if (!names.contains(year.state))
            names.append(year.state);
    }
    return names;
}

QStringList SchoolHolidayTable::knownYears(const QString &state) const
{
    QStringList years;
    for (const SchoolYear &year : m_years) {
        if (year.state == state && year.known())
            years.append(year.year);
    }
    std::sort(years.begin(), years.end());
    return years;
}

const SchoolHolidayTable::SchoolYear *SchoolHolidayTable::find(const QString &state, const QString &year) const
{
    for (const SchoolYear &entry : m_years) {
        if (entry.state == state && entry.year == year)
            return &entry;
    }
    return nullptr;
}

QString SchoolHolidayTable::schoolYearOf(QDate day)
{
    const int first = day.month() >= 8 ? day.year() : day.year() - 1;
    return QStringLiteral("%1/%2").arg(first).arg((first + 1) % 100, 2, 10, QLatin1Char('0'));
}

int SchoolHolidayTable::firstCalendarYear(const QString &year)
{
    bool ok = false;
    const int first = year.left(4).toInt(&ok);
    if (!ok || year.size() != 7 || year[4] != u'/' || year.mid(5).toInt() != (first + 1) % 100)
        return 0;
    return first;
}

QString SchoolHolidayTable::nextSchoolYear(const QString &year)
{
    const int first = firstCalendarYear(year);
    return first ? schoolYearOf(QDate(first + 1, 8, 1)) : QString();
}

std::array<std::optional<QString>, 12> SchoolHolidayTable::fieldTexts(const SchoolYear &year)
{
    std::array<std::optional<QString>, 12> texts;
    for (size_t i = 0; i < year.periods.size(); ++i) {
        const Period &period = year.periods[i];
        if (period.kind == Kind::None) {
            texts[2 * i] = QString();
            texts[2 * i + 1] = QString();
        } else if (period.kind == Kind::Dates) {
            texts[2 * i] = DateText::formatShort(period.main().first);
            texts[2 * i + 1] = DateText::formatShort(period.main().last);
        }
    }
    return texts;
}
