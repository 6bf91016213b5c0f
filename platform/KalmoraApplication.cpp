// The application object: a failure that escapes a handler is reported, and the loop goes on.
#include "KalmoraApplication.h"

#include "ErrorReporter.h"

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
