// The rules of the three-way merge, without a server.
#include "sync/SyncMerge.h"

#include <QtTest>

using SyncMerge::Record;

class tst_SyncMerge final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fields_data();
    void fields();
    void pairing();
};

namespace {
const QDate kToday(2026, 12, 7);
const QDate kDue(2026, 12, 10);
HomeworkItem item(const QString &text, bool done = false, QDate due = kDue, const QString &subject = QStringLiteral("Mathe"))
{
    return {due, subject, text, done};
}
QString uidOf(const HomeworkItem &i) { return QStringLiteral("new-") + homeworkKey(i); }
}

void tst_SyncMerge::fields_data()
{
    QTest::addColumn<HomeworkItem>("local");
    QTest::addColumn<HomeworkItem>("remote");
    QTest::addColumn<HomeworkItem>("merged");
    const HomeworkItem later = item("a", false, kDue.addDays(3));
    QTest::newRow("remote text") << item("a") << item("b") << item("b");
    QTest::newRow("local done, remote text") << item("a", true) << item("b") << item("b", true);
    QTest::newRow("both texts kept") << item("x") << item("y") << item("x | y");
    QTest::newRow("one text holds the other") << item("a und mehr") << item("a und") << item("a und mehr");
    QTest::newRow("remote moved") << item("a") << later << later;
    QTest::newRow("both moved: the planner's") << item("a", false, kDue.addDays(1)) << later << item("a", false, kDue.addDays(1));
}

void tst_SyncMerge::fields()
{
    QFETCH(HomeworkItem, local);
    QFETCH(HomeworkItem, remote);
    QFETCH(HomeworkItem, merged);
    QCOMPARE(SyncMerge::mergeItems(item("a"), local, remote), merged);
}

void tst_SyncMerge::pairing()
{
    // An edit beats a delete, both ways; an unchanged one is removed on the other side.
    const Record base{"u1", "/t/1.ics", "e1", item("a")};
    auto only = [](const QList<SyncMerge::Outcome> &outcomes) { return outcomes.size() == 1 ? outcomes.first().merged : std::nullopt; };
    QCOMPARE(only(SyncMerge::merge({base}, {item("b")}, {}, kToday, uidOf)), std::optional(item("b")));
    QCOMPARE(only(SyncMerge::merge({base}, {}, {{"u1", "/t/1.ics", "e2", item("b")}}, kToday, uidOf)), std::optional(item("b")));
    QCOMPARE(only(SyncMerge::merge({base}, {item("a")}, {}, kToday, uidOf)), std::nullopt);

    // A homework moved in the planner keeps its todo.
    const auto moved = SyncMerge::merge({base}, {item("a", false, kDue.addDays(2))}, {base}, kToday, uidOf);
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.first().uid, QStringLiteral("u1"));
    QCOMPARE(moved.first().merged->due, kDue.addDays(2));

    // First sync: paired by date and subject (letter case aside), nothing doubled.
    const auto first = SyncMerge::merge({}, {item("a")}, {{"p1", "/t/p1.ics", "e", item("b", true, kDue, "mathe")}}, kToday, uidOf);
    QCOMPARE(first.size(), 1);
    QCOMPARE(first.first().merged, std::optional(item("a | b", true)));

    // Two todos on one subject and date become one; the other is removed on both sides.
    const auto joined = SyncMerge::merge({}, {}, {{"p1", "/t/p1.ics", "e", item("x")}, {"p2", "/t/p2.ics", "e", item("y")}}, kToday, uidOf);
    QCOMPARE(joined.size(), 2);
    QCOMPARE(joined[0].merged, std::optional(item("x | y")));
    QCOMPARE(joined[1].merged, std::nullopt);

    // Past homework the planner pruned leaves the server alone.
    const Record past{"u0", "/t/0.ics", "e", item("alt", false, kToday)};
    QVERIFY(SyncMerge::merge({past}, {}, {past}, kToday, uidOf).isEmpty());
}

QTEST_GUILESS_MAIN(tst_SyncMerge)
#include "tst_SyncMerge.moc"
