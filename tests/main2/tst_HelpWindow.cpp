// The help window: the page and every screenshot it shows.
#include "main2/HelpWindow.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

namespace {
QTextBrowser *browser(const HelpWindow &help)
{
    return help.findChild<QTextBrowser *>(QStringLiteral("TextBrowser"));
}

// The image names of the shown page, in page order.
QStringList imageNames(const QTextDocument &document)
{
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                names << it.fragment().charFormat().toImageFormat().name();
    return names;
}

// The names among them that give no picture.
QStringList missingImages(const HelpWindow &help)
{
    QStringList missing;
    for (const QString &name : imageNames(*browser(help)->document())) {
        const QVariant data = browser(help)->loadResource(QTextDocument::ImageResource, QUrl(name));
        if (QImage::fromData(data.toByteArray()).isNull())
            missing << name;
    }
    return missing;
}
}

class tst_HelpWindow final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screenshotsShowWhereverThePageComesFrom();
    void pageAddressesTheReaderAsSie();
};

void tst_HelpWindow::screenshotsShowWhereverThePageComesFrom()
{
    TestEnvironment env;
    HelpWindow help;

    // The page built into the program, with a picture for every window.
    help.showContents();
    QCOMPARE(HelpWindow::pageUrl().scheme(), QStringLiteral("qrc"));
    QVERIFY(imageNames(*browser(help)->document()).size() >= 10);
    QCOMPARE(missingImages(help), QStringList());

    // A copy of the page in the program directory (as the launcher leaves one
    // in the data folder) shows the same pictures.
    QFile builtIn(QStringLiteral(":/help/kalmora-hilfe.html"));
    QVERIFY(builtIn.open(QIODevice::ReadOnly));
    env.writeFile(QStringLiteral("kalmora-hilfe.html"), builtIn.readAll());
    help.showContents();
    QCOMPARE(HelpWindow::pageUrl().scheme(), QStringLiteral("file"));
    QCOMPARE(missingImages(help), QStringList());
}

void tst_HelpWindow::pageAddressesTheReaderAsSie()
{
    TestEnvironment env;
    HelpWindow help;
    help.showContents();
    const QString text = browser(help)->document()->toPlainText();

    // The program's own texts say "Sie"; the page must not switch to "du":
    // no familiar pronoun, verb form or imperative, as whole words in any case.
    const QRegularExpression familiar(
        QStringLiteral("\\b(du|dich|dir|dein|deine|deinen|deinem|deiner|deines"
                       "|kannst|musst|hast|hattest|bist|siehst|klickst|blätterst|sicherst|findest"
                       "|wählst|auswählst|öffnest|änderst|trägst|einträgst|legst|beendest|übernimmst"
                       "|stellst|startest|schreibst|sammelst|lernst|kopierst|bleibst|behältst|aufhast"
                       "|anmeldest|zeigst|nimmst"
                       "|klicke|wähle|tippe|gib|schreibe|setze|ändere|öffne|schalte|nimm|lösche"
                       "|speichere|kopiere|beende|vergiss)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QStringList found;
    for (auto it = familiar.globalMatch(text); it.hasNext();) {
        const QString word = it.next().captured(1).toLower();
        if (!found.contains(word))
            found << word;
    }
    QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("familiar: ") + found.join(QStringLiteral(", "))));

    // ... and it does address the reader.
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\bSie\\b"))));
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"
