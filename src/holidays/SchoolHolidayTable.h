// The school holidays of the German states by school year, read from the shipped table "schulferien.txt".
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class SchoolHolidayTable final
{
public:
    /// A run of free days, both bounds included.
    struct Piece
    {
        QDate first;
        QDate last;
        qint64 days() const { return first.daysTo(last) + 1; }
        bool operator==(const Piece &) const = default;
    };

    enum class Kind {
        Unknown, // the sources give no reliable date
        None,    // the state has no such holidays that year
        Dates,   // one or more pieces
    };

    /// One holiday period of a state's school year.
    struct Period
    {
        Kind kind = Kind::Unknown;
        QList<Piece> pieces; // in the order of the table
        /// The longest piece, the first of equally long ones: the one the tab gets,
        /// so that no school day ever counts as a holiday.
        Piece main() const;
        /// The pieces apart from the longest.
        QList<Piece> others() const;
    };

    /// The six periods of one state and school year, in the row order of the
    /// "Ferien" tab (`HolidayStore::Periods()`): winter, Easter, Whitsun, summer, autumn, Christmas.
    struct SchoolYear
    {
        QString state;
        QString year; // "2025/26"
        std::array<Period, 6> periods;
        /// Whether any period has dates.
        bool known() const;
    };

    /// The period names of the table in the tab's row order.
    static const std::array<QString, 6> &periodNames();

    /// The table's file name.
    static QString fileName() { return QStringLiteral("schulferien.txt"); }
    /// Where the table is found: a copy in the program directory (extended by
    /// hand), else the one beside the executable (build and portable folder),
    /// else the package's data folder "../../share/kalmora" from it. Empty when none.
    static QString locate();
    /// Reads the located table; throws HolidayTableError when there is none or it is broken.
    static SchoolHolidayTable load();
    /// Reads a table file; throws HolidayTableError naming the line of a fault.
    static SchoolHolidayTable read(const QString &path);
    /// Reads a table from its UTF-8 text; `path` only names it in errors.
    static SchoolHolidayTable parse(const QByteArray &text, const QString &path);

    /// The states in the order of their first line.
    QStringList states() const;
    /// The school years with at least one date for the state, in ascending order.
    QStringList knownYears(const QString &state) const;
    /// A state's school year, or null when the table has no line of it.
    const SchoolYear *find(const QString &state, const QString &year) const;
    /// Every state's school years in the order of the table.
    const QList<SchoolYear> &schoolYears() const { return m_years; }

    /// The school year a day belongs to ("2025/26"); a school year runs from 1 August to 31 July.
    static QString schoolYearOf(QDate day);
    /// "2025/26" gives "2026/27"; empty for a text that is no school year.
    static QString nextSchoolYear(const QString &year);
    /// The calendar year a school year begins in, or 0 for a text that is no school year.
    static int firstCalendarYear(const QString &year);

    /// The twelve texts of the tab's fields (first day, last day in row order),
    /// dates as the calendar picker writes them (d.m.yyyy): the longest piece
    /// of each period, empty texts for a period the state does not have, and
    /// none for an unknown one, whose fields stay as they are.
    static std::array<std::optional<QString>, 12> fieldTexts(const SchoolYear &year);

private:
    QList<SchoolYear> m_years;
};
