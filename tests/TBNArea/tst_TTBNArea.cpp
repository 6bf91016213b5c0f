// The tray icon component: which mouse action opens a menu or raises which event, and the tray entry.
#include "TBNArea/TTBNArea.h"

#include <QSignalSpy>
#include <QtTest>

class tst_TTBNArea final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clicksWithoutMenus();
    void menusTakeThePresses();
    void trayEntry();
};

void tst_TTBNArea::clicksWithoutMenus()
{
    TTBNArea area;
    QSignalSpy left(&area, &TTBNArea::OnLeftClick);
    QSignalSpy right(&area, &TTBNArea::OnRightClick);
    QSignalSpy dbl(&area, &TTBNArea::OnDblClick);
    // Each button raises its own event; the middle button and unknown actions raise none.
    area.handleActivation(QSystemTrayIcon::Trigger, {10, 10});
    area.handleActivation(QSystemTrayIcon::Context, {10, 10});
    area.handleActivation(QSystemTrayIcon::DoubleClick, {10, 10});
    area.handleActivation(QSystemTrayIcon::MiddleClick, {10, 10});
    area.handleActivation(QSystemTrayIcon::Unknown, {10, 10});
    QCOMPARE(left.size(), 1);
    QCOMPARE(right.size(), 1);
    QCOMPARE(dbl.size(), 1);
    // PopupOnBoth alone, without a left menu, changes nothing.
    area.setPopupOnBoth(true);
    area.handleActivation(QSystemTrayIcon::Context, {10, 10});
    QCOMPARE(right.size(), 2);
}

void tst_TTBNArea::menusTakeThePresses()
{
    TTBNArea area;
    QMenu menuL;
    QMenu menuR;
    menuL.addAction(QStringLiteral("Links"));
    menuR.addAction(QStringLiteral("Rechts"));
    QSignalSpy left(&area, &TTBNArea::OnLeftClick);
    QSignalSpy right(&area, &TTBNArea::OnRightClick);

    // A left menu opens on the left press instead of the event.
    area.setPopupMenuL(&menuL);
    area.handleActivation(QSystemTrayIcon::Trigger, {40, 40});
    QVERIFY(menuL.isVisible());
    QCOMPARE(left.size(), 0);
    menuL.hide();
    // The right press keeps its event until a right menu is set or PopupOnBoth.
    area.handleActivation(QSystemTrayIcon::Context, {40, 40});
    QCOMPARE(right.size(), 1);
    QVERIFY(!menuL.isVisible());
    area.setPopupMenuR(&menuR);
    area.handleActivation(QSystemTrayIcon::Context, {40, 40});
    QVERIFY(menuR.isVisible());
    menuR.hide();
    area.setPopupOnBoth(true);
    area.handleActivation(QSystemTrayIcon::Context, {40, 40});
    QVERIFY(menuL.isVisible());
    QVERIFY(!menuR.isVisible());
    menuL.hide();
    QCOMPARE(right.size(), 1);

    // A menu that is destroyed is no longer used.
    {
        QMenu gone;
        area.setPopupMenuL(&gone);
    }
    area.handleActivation(QSystemTrayIcon::Trigger, {40, 40});
    QCOMPARE(left.size(), 1);
}

void tst_TTBNArea::trayEntry()
{
    TTBNArea area;
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    area.setIcon(QIcon(picture));
    // The entry appears once the owner is loaded, and follows Enabled.
    QVERIFY(!area.trayIcon().isVisible());
    area.Loaded();
    QVERIFY(area.trayIcon().isVisible());
    area.setEnabled(false);
    QVERIFY(!area.trayIcon().isVisible());
    area.setEnabled(true);
    QVERIFY(area.trayIcon().isVisible());
    QVERIFY(!area.trayIcon().icon().isNull());

    // A tip is cut to 63 characters in the entry; the property keeps the whole text.
    const QString tip = QString(70, u'x');
    area.setTip(tip);
    QCOMPARE(area.Tip(), tip);
    QCOMPARE(area.trayIcon().toolTip(), QString(63, u'x'));
    area.setTip(QStringLiteral("Kalmora"));
    QCOMPARE(area.trayIcon().toolTip(), QStringLiteral("Kalmora"));
}

QTEST_MAIN(tst_TTBNArea)
#include "tst_TTBNArea.moc"
