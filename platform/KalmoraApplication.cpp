// The application object: a failure that escapes a handler is reported, and the loop goes on.
#include "KalmoraApplication.h"

#include "ErrorReporter.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

KalmoraApplication::KalmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool KalmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ErrorReporter::report(error);
        return true;
    }
}

bool KalmoraApplication::installGermanTranslation()
{
    // "qt_de" gathers the catalogues of the Qt modules the program uses.
    auto *translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
