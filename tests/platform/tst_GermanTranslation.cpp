// Qt's standard dialogs speak German once the translation is installed.
#include "platform/KalmoraApplication.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class tst_GermanTranslation final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void standardButtonsInGerman();
};

void tst_GermanTranslation::standardButtonsInGerman()
{
    QVERIFY(KalmoraApplication::installGermanTranslation());
    // The buttons Qt labels itself, as in the file and print dialogs.
    QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    const auto text = [&box](QDialogButtonBox::StandardButton button) { return box.button(button)->text().remove(u'&'); };
    QCOMPARE(text(QDialogButtonBox::Cancel), QStringLiteral("Abbrechen"));
    QCOMPARE(text(QDialogButtonBox::Open), QStringLiteral("Öffnen"));
    QCOMPARE(text(QDialogButtonBox::Save), QStringLiteral("Speichern"));
}

QTEST_MAIN(tst_GermanTranslation)
#include "tst_GermanTranslation.moc"
