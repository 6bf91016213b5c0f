// The grade overview: the subjects' averages by the grades tab's own arithmetic, as a table and as a printout.
#include "GradeOverview.h"

#include "model/GradeStore.h"
#include "platform/Errors.h"

#include <QLocale>

#include <algorithm>

namespace {

constexpr int kTableColumns = 5;

// Print layout, in 0.1 mm: columns of the table, the room the chart needs at least.
constexpr int kColumnX[kTableColumns] = {0, 700, 1200, 1450, 1650};
constexpr int kTitleHeight = 120;
constexpr int kRowStep = 55;
constexpr int kSmallestRowStep = 22;
constexpr int kRowFontSize = 10;
constexpr int kSmallestRowFontSize = 5;
constexpr int kChartMinHeight = 900;
constexpr int kChartMaxHeight = 1200;
constexpr int kGap = 60;

int gradeCount(const GradeNode &subject)
{
    int count = 0;
    for (int c = 0; c < subject.childCount(); ++c) {
        const GradeNode &category = subject.child(c);
        for (int g = 0; g < category.childCount(); ++g)
            count += category.child(g).level() == 2 ? 1 : 0;
    }
    return count;
}

QString messageOf(const std::exception &error)
{
    const auto *own = dynamic_cast<const KalmoraError *>(&error);
    return own ? own->message() : QString::fromUtf8(error.what());
}

// Pads each cell of a column to the column's width: text left, numbers right.
QString alignedLine(const QStringList &cells, const QList<qsizetype> &widths)
{
    QString line;
    for (int c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += QStringLiteral("  ");
        const bool number = c == 1 || c >= 3;
        line += number ? cells[c].rightJustified(widths[c]) : cells[c].leftJustified(widths[c]);
    }
    while (line.endsWith(u' '))
        line.chop(1);
    return line;
}

}

GradeOverview::Loaded GradeOverview::load()
{
    Loaded loaded;
    try {
        loaded.fromTimetable = GradeStore::LoadGrades(loaded.tree) == GradeStore::Source::Timetable;
    } catch (const std::exception &error) {
        loaded.failure = std::current_exception();
        loaded.failureText = messageOf(error);
    }
    loaded.rows = rows(loaded.tree);
    return loaded;
}

QList<GradeOverview::Row> GradeOverview::rows(const GradeTree &tree)
{
    QList<Row> result;
    result.reserve(tree.rootCount());
    for (int i = 0; i < tree.rootCount(); ++i) {
        const GradeNode &subject = tree.root(i);
        result.append(Row{subject.text(), GradeArithmetic::subjectAverage(subject), 1, gradeCount(subject)});
    }
    return result;
}

double GradeOverview::overallAverage(const QList<Row> &rows)
{
    double sum = 0.0;
    double weights = 0.0;
    for (const Row &row : rows) {
        sum += row.average * row.weight;
        weights += row.weight;
    }
    return weights == 0.0 ? 0.0 : sum / weights;
}

QList<GradeOverview::Row> GradeOverview::bestFirst(QList<Row> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.average > b.average; });
    return rows;
}

GradeOverview::Band GradeOverview::band(double average)
{
    // By the grade text itself, so that the colour always fits the grade shown.
    const QString grade = GradeArithmetic::gradesAverageText(average);
    const QChar digit = grade.isEmpty() ? QChar(u'6') : grade.front();
    if (digit <= u'2')
        return Band::Good;
    if (digit <= u'4')
        return Band::Middle;
    return Band::Poor;
}

QString GradeOverview::bandName(Band band, MarkingSystem system)
{
    const bool grades = system == MarkingSystem::Grades;
    switch (band) {
    case Band::Good:
        return grades ? QStringLiteral("Noten 1 und 2") : QStringLiteral("15 bis 10 Punkte");
    case Band::Middle:
        return grades ? QStringLiteral("Noten 3 und 4") : QStringLiteral("9 bis 4 Punkte");
    case Band::Poor:
        break;
    }
    return grades ? QStringLiteral("Noten 5 und 6") : QStringLiteral("3 bis 0 Punkte");
}

const QStringList &GradeOverview::Headers()
{
    static const QStringList headers = {QStringLiteral("Fach"), QStringLiteral("Punkte"), QStringLiteral("Note"),
                                        QStringLiteral("Gewicht"), QStringLiteral("Anzahl")};
    return headers;
}

QString GradeOverview::pointsText(double average)
{
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(average, 'f', 2);
}

QStringList GradeOverview::cells(const Row &row)
{
    return {row.subject, pointsText(row.average),
            GradeArithmetic::averageText(row.average, MarkingSystem::Grades), QString::number(row.weight),
            QString::number(row.grades)};
}

QStringList GradeOverview::overallCells(const QList<Row> &rows)
{
    if (rows.isEmpty())
        return {OverallLabel(), QStringLiteral("–"), QStringLiteral("–"), QString(), QStringLiteral("0")};
    int grades = 0;
    for (const Row &row : rows)
        grades += row.grades;
    const double overall = overallAverage(rows);
    return {OverallLabel(), pointsText(overall),
            GradeArithmetic::averageText(overall, MarkingSystem::Grades), QString(), QString::number(grades)};
}

const QString &GradeOverview::OverallLabel()
{
    static const QString label = QStringLiteral("Durchschnitt aller Fächer");
    return label;
}

const QString &GradeOverview::WeightNote()
{
    static const QString note = QStringLiteral("Alle Fächer zählen gleich viel (Gewicht 1), denn die Notendateien "
                                               "kennen kein Gewicht für ein Fach.");
    return note;
}

QString GradeOverview::plainText(const QList<Row> &rows)
{
    QList<QStringList> lines = {Headers()};
    for (const Row &row : rows)
        lines.append(cells(row));
    lines.append(overallCells(rows));
    QList<qsizetype> widths(kTableColumns, 0);
    for (const QStringList &line : lines) {
        for (int c = 0; c < kTableColumns; ++c)
            widths[c] = std::max(widths[c], line[c].size());
    }
    QString text;
    for (const QStringList &line : lines)
        text += alignedLine(line, widths) + u'\n';
    return text;
}

const QString &GradeOverview::Title()
{
    static const QString title = QStringLiteral("Notenübersicht");
    return title;
}

GradeOverview::Page GradeOverview::printLayout(const QList<Row> &rows, QSize printableArea, const QString &dateText)
{
    Page page;
    QList<PrintCommand> &out = page.commands;
    out.append(PrintCommand::fontSize(16));
    out.append(PrintCommand::textOut(0, 0, Title()));
    out.append(PrintCommand::fontSize(9));
    out.append(PrintCommand::textOut(kColumnX[3], 30, dateText));

    // The header, the subjects and the overall line share what the chart leaves.
    const int lines = int(rows.size()) + 2;
    const int forTable = printableArea.height() - kTitleHeight - 3 * kGap - kChartMinHeight - kRowStep;
    const int step = std::clamp(forTable / lines, kSmallestRowStep, kRowStep);
    const int fontSize = std::max(kSmallestRowFontSize, kRowFontSize * step / kRowStep);

    int y = kTitleHeight + kGap;
    const int right = printableArea.width();
    auto addLine = [&](const QStringList &cells) {
        for (int c = 0; c < kTableColumns; ++c)
            out.append(PrintCommand::textOut(kColumnX[c], y, cells[c]));
        y += step;
    };
    out.append(PrintCommand::fontSize(fontSize));
    addLine(Headers());
    out.append(PrintCommand::line(0, y - step / 6, right, y - step / 6));
    for (const Row &row : rows)
        addLine(cells(row));
    out.append(PrintCommand::line(0, y - step / 6, right, y - step / 6));
    addLine(overallCells(rows));
    out.append(PrintCommand::fontSize(std::min(fontSize, 8)));
    out.append(PrintCommand::textOut(0, y, WeightNote()));
    y += kRowStep + kGap;

    const int height = std::min(kChartMaxHeight, printableArea.height() - y);
    page.chartArea = QRect(0, y, right, std::max(0, height));
    return page;
}
