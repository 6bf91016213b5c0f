// The rules of the class list without a server: what enters the homework, what stays private.
#include "classlist/ClassListMerge.h"

#include <QtTest>

namespace {

class MemorySource final : public HomeworkSource
{
public:
    QList<HomeworkItem> items;
    QList<HomeworkItem> all() const override { return items; }
    QStringList subjects() const override { return {"Mathe", "Deutsch"}; }
    void add(const HomeworkItem &item) override { items.append(item); }
    void setText(QDate due, const QString &subject, const QString &text) override { at(due, subject).text = text; }
    void setDone(QDate due, const QString &subject, bool done) override { at(due, subject).done = done; }
    void remove(QDate due, const QString &subject) override
    {
        items.removeIf([&](const HomeworkItem &i) { return homeworkKey(i) == homeworkKey(due, subject); });
    }
    void move(QDate, const QString &, QDate) override {}
    HomeworkItem &at(QDate due, const QString &subject)
    {
        return *std::find_if(items.begin(), items.end(), [&](const HomeworkItem &i) { return homeworkKey(i) == homeworkKey(due, subject); });
    }
};

using Entry = ClassListState::Entry;
using Kind = ClassListState::Kind;
const QDate kToday(2026, 12, 7);
const QDate kDue(2026, 12, 10);

QString shown(const MemorySource &source)
{
    QStringList lines;
    for (const HomeworkItem &i : source.items)
        lines.append(i.subject + QStringLiteral(": ") + i.text + (i.done ? QStringLiteral(" (erledigt)") : QString()));
    return lines.join(u'\n');
}

}

class tst_ClassListMerge final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void take_data();
    void take();
};

void tst_ClassListMerge::take_data()
{
    QTest::addColumn<QList<HomeworkItem>>("local");
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QString>("classText"); // empty: the todo is gone from the class list
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("kind"); // of the one entry kept, -1: none kept
    const Entry taken{"/k/1.ics", "e1", kDue, "Mathe", "S. 12", Kind::Taken};
    const Entry shared{"/k/1.ics", "e1", kDue, "Mathe", "S. 12", Kind::Shared};
    const QList<HomeworkItem> none;
    const QList<HomeworkItem> marked{{kDue, "Mathe", "(Klasse) S. 12", false}};
    // A new class todo: alone, or behind the pupil's own text, never twice.
    QTest::newRow("new") << none << QList<Entry>{} << "S. 12" << "Mathe: (Klasse) S. 12" << int(Kind::Taken);
    QTest::newRow("beside own") << QList<HomeworkItem>{{kDue, "Mathe", "Heft", true}} << QList<Entry>{} << "S. 12"
                                << "Mathe: Heft | (Klasse) S. 12 (erledigt)" << int(Kind::Taken);
    QTest::newRow("same as own") << QList<HomeworkItem>{{kDue, "Mathe", "S. 12", false}} << QList<Entry>{} << "S. 12" << "Mathe: S. 12"
                                 << int(Kind::Taken);
    // The tick stays private and with a changed text; the pupil's removal is kept until the class changes the todo.
    QTest::newRow("ticked") << QList<HomeworkItem>{{kDue, "Mathe", "(Klasse) S. 12", true}} << QList<Entry>{taken} << "S. 12"
                            << "Mathe: (Klasse) S. 12 (erledigt)" << int(Kind::Taken);
    QTest::newRow("changed keeps tick") << QList<HomeworkItem>{{kDue, "Mathe", "Heft | (Klasse) S. 12", true}} << QList<Entry>{taken}
                                        << "S. 13" << "Mathe: Heft | (Klasse) S. 13 (erledigt)" << int(Kind::Taken);
    QTest::newRow("removed stays out") << none << QList<Entry>{taken} << "S. 12" << "" << int(Kind::Dropped);
    QTest::newRow("removed, dropped") << none << QList<Entry>{{"/k/1.ics", "e1", kDue, "Mathe", "S. 12", Kind::Dropped}} << "S. 12" << ""
                                      << int(Kind::Dropped);
    QTest::newRow("removed, class changed") << none << QList<Entry>{{"/k/1.ics", "e1", kDue, "Mathe", "S. 12", Kind::Dropped}} << "S. 13"
                                            << "Mathe: (Klasse) S. 13" << int(Kind::Taken);
    // Gone from the class list: its text goes, the pupil's own stays.
    QTest::newRow("gone") << marked << QList<Entry>{taken} << "" << "" << -1;
    QTest::newRow("gone beside own") << QList<HomeworkItem>{{kDue, "Mathe", "Heft | (Klasse) S. 12", false}} << QList<Entry>{taken} << ""
                                     << "Mathe: Heft" << -1;
    // The pupil's own shared todo changed by the class: merged with the own text, never overwritten.
    QTest::newRow("shared, class edit") << QList<HomeworkItem>{{kDue, "Mathe", "S. 12", false}} << QList<Entry>{shared} << "S. 12 und 13"
                                        << "Mathe: S. 12 und 13" << int(Kind::Shared);
    QTest::newRow("shared, both edit") << QList<HomeworkItem>{{kDue, "Mathe", "S. 14", false}} << QList<Entry>{shared} << "S. 13"
                                       << "Mathe: S. 14 | S. 13" << int(Kind::Shared);
    QTest::newRow("shared, own text taken out") << QList<HomeworkItem>{{kDue, "Mathe", "S. 12", false}} << QList<Entry>{shared} << "S. 15"
                                                << "Mathe: S. 12 | (Klasse) S. 15" << int(Kind::Taken);
    QTest::newRow("shared, not yet written") << QList<HomeworkItem>{{kDue, "Mathe", "S. 14", false}}
                                             << QList<Entry>{{"/k/1.ics", "", kDue, "Mathe", "", Kind::Shared}} << "" << "Mathe: S. 14"
                                             << int(Kind::Shared);
}

void tst_ClassListMerge::take()
{
    QFETCH(QList<HomeworkItem>, local);
    QFETCH(QList<Entry>, entries);
    QFETCH(QString, classText);
    QFETCH(QString, expected);
    QFETCH(int, kind);
    MemorySource source;
    source.items = local;
    QList<ClassListMerge::ClassTodo> todos;
    if (!classText.isEmpty())
        todos.append({"/k/1.ics", classText == u"S. 12" ? "e1" : "e2", {kDue, "Mathe", classText, false}});
    const QList<Entry> kept = ClassListMerge::take(entries, todos, source, kToday);
    QCOMPARE(shown(source), expected);
    QCOMPARE(kept.size(), kind < 0 ? 0 : 1);
    if (kind >= 0)
        QCOMPARE(int(kept.first().kind), kind);
    // A second run with nothing changed changes nothing.
    const QString before = shown(source);
    ClassListMerge::take(kept, todos, source, kToday);
    QCOMPARE(shown(source), before);
}

QTEST_GUILESS_MAIN(tst_ClassListMerge)
#include "tst_ClassListMerge.moc"
