// The holiday table: the shipped table checked for sense entry by entry, broken files, the texts for the tab.
#include "holidays/HolidayTableError.h"
#include "holidays/SchoolHolidayTable.h"

#include <QtTest>

using Table = SchoolHolidayTable;

class tst_SchoolHolidayTable final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shippedTableMakesSense();
    void brokenTable_data();
    void brokenTable();
    void textsForTheTab();
};

void tst_SchoolHolidayTable::shippedTableMakesSense()
{
    const QString path = QFINDTESTDATA("../../data/holidays/schulferien.txt");
    const Table table = Table::read(path);
    QCOMPARE(table.states().size(), 16);
    // In the order of the school year: autumn, Christmas, winter, Easter, Whitsun, summer.
    constexpr size_t order[] = {4, 5, 0, 1, 2, 3};
    // Every school year of the table, at least 2025/26 to 2029/30, with no gap.
    QStringList years;
    for (const Table::SchoolYear &entry : table.schoolYears()) {
        if (!years.contains(entry.year))
            years.append(entry.year);
    }
    years.sort();
    QCOMPARE(years.first(), QString("2025/26"));
    QVERIFY(years.size() >= 5);
    for (qsizetype i = 1; i < years.size(); ++i)
        QCOMPARE(years[i], Table::nextSchoolYear(years[i - 1]));
    for (const QString &state : table.states()) {
        QDate previousSummerEnd;
        for (const QString &year : std::as_const(years)) {
            const Table::SchoolYear *entry = table.find(state, year);
            QVERIFY2(entry, qPrintable(state + u' ' + year));
            const int y = Table::firstCalendarYear(year);
            QDate lastEnd = previousSummerEnd;
            for (size_t index : order) {
                const Table::Period &period = entry->periods[index];
                const QString where = state + u' ' + year + u' ' + Table::periodNames()[index];
                // Every period is known: dates, or "-" for holidays the state does not have.
                QVERIFY2(period.kind != Table::Kind::Unknown, qPrintable(where + " unbekannt"));
                for (const Table::Piece &piece : period.pieces) {
                    QVERIFY2(piece.first <= piece.last, qPrintable(where));
                    // A single free day on a weekend is a misplaced date.
                    QVERIFY2(piece.days() > 1 || piece.first.dayOfWeek() <= 5, qPrintable(where));
                    // After everything earlier in the school year, so periods are in order and never overlap.
                    QVERIFY2(!lastEnd.isValid() || lastEnd < piece.first, qPrintable(where));
                    lastEnd = piece.last;
                    if (index == 3) {
                        // Summer closes the school year; it may run into September.
                        QVERIFY2(piece.first >= QDate(y + 1, 6, 1) && piece.last <= QDate(y + 1, 9, 30), qPrintable(where));
                    } else {
                        QVERIFY2(piece.first >= QDate(y, 8, 1) && piece.last <= QDate(y + 1, 7, 31), qPrintable(where));
                    }
                }
                if (index == 3) {
                    QVERIFY2(period.main().days() >= 35, qPrintable(where));
                    previousSummerEnd = period.main().last;
                }
            }
        }
    }
}

void tst_SchoolHolidayTable::brokenTable_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("three fields") << QByteArray("Bayern; 2025/26; Herbst\n") << "vier Felder";
    QTest::newRow("no school year") << QByteArray("Bayern; 2025/27; Herbst; -\n") << "kein Schuljahr";
    QTest::newRow("no period") << QByteArray("Bayern; 2025/26; Fasching; -\n") << "keine der Ferien";
    QTest::newRow("no date") << QByteArray("# c\nBayern; 2025/26; Herbst; 3.11.2025\n") << "(Zeile 2): „3.11.2025“ ist kein Datum";
    QTest::newRow("no such day") << QByteArray("Bayern; 2025/26; Herbst; 31.11.2025\n") << "den es nicht gibt";
    QTest::newRow("backwards") << QByteArray("Bayern; 2025/26; Herbst; 07.11.2025-03.11.2025\n") << "vor dem ersten";
    QTest::newRow("empty piece") << QByteArray("Bayern; 2025/26; Herbst; 03.11.2025,\n") << "„“ ist kein Datum";
    QTest::newRow("twice") << QByteArray("Bayern; 2025/26; Herbst; -\nBayern; 2025/26; Herbst; ?\n") << "schon weiter oben";
    QTest::newRow("whole year with dates") << QByteArray("Bayern; 2025/26; *; -\n") << "ganz unbekanntes";
    QTest::newRow("nothing") << QByteArray("# nur Kommentar\n") << "keine Ferien";
}

void tst_SchoolHolidayTable::brokenTable()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);
    try {
        Table::parse(text, QStringLiteral("schulferien.txt"));
        QFAIL("no error");
    } catch (const HolidayTableError &error) {
        QVERIFY2(error.message().contains(problem), qPrintable(error.message()));
    }
}

void tst_SchoolHolidayTable::textsForTheTab()
{
    const Table table = Table::parse("Land; 2025/26; Herbst; 02.10.2025, 20.10.2025-25.10.2025, 03.11.2025\n"
                                     "Land; 2025/26; Winter; -\n"
                                     "Land; 2025/26; Pfingsten; 15.05.2026, 26.05.2026\n"
                                     "Land; 2026/27; *; ?\n",
                                     QString());
    const auto texts = Table::fieldTexts(*table.find("Land", "2025/26"));
    // The longest piece fills the fields, the first of equally long ones; "-" empties them, "?" leaves them.
    QCOMPARE(texts[8], QString("20.10.2025"));
    QCOMPARE(texts[9], QString("25.10.2025"));
    QCOMPARE(texts[4], QString("15.5.2026"));
    QCOMPARE(texts[0], QString(""));
    QVERIFY(!texts[2] && !texts[10]);
    QCOMPARE(table.find("Land", "2025/26")->periods[4].others().size(), 2);
    QCOMPARE(table.knownYears("Land"), QStringList{"2025/26"});
    // The school year runs from 1 August to 31 July.
    QCOMPARE(Table::schoolYearOf(QDate(2026, 7, 31)), QString("2025/26"));
    QCOMPARE(Table::schoolYearOf(QDate(2026, 8, 1)), QString("2026/27"));
    QCOMPARE(Table::nextSchoolYear("2099/00"), QString("2100/01"));
}

QTEST_GUILESS_MAIN(tst_SchoolHolidayTable)
#include "tst_SchoolHolidayTable.moc"
