// The one place where a failed operation is shown to the pupil.
#include "ErrorReporter.h"

#include "Errors.h"
#include "Prompt.h"

#include <QApplication>

namespace ErrorReporter {

QString applicationTitle()
{
    return QStringLiteral("Kalmora V2.0");
}

void report(const std::exception &error)
{
    const auto *own = dynamic_cast<const KalmoraError *>(&error);
    const QString text = own ? own->message() : QString::fromUtf8(error.what());
    Prompt::inform(QApplication::activeWindow(), applicationTitle(), text, QMessageBox::Critical);
}

}
