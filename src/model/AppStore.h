// Where the applications live in the settings file: the known programs, the
// subjects' defaults and the homework's own applications.
#pragma once

#include "AppValue.h"

#include <QStringList>

class ProfileFile;

class AppStore final
{
public:
    /// The known programs: the key names of "PROGRAMMS" in file order.
    static QStringList programs();
    /// Adds a program text to "PROGRAMMS" (value "1"; a key already there is
    /// overwritten, keeping its spelling). A text that is empty or only blanks
    /// adds nothing and gives false, since the file cannot hold an empty key.
    static bool addProgram(const QString &program);

    /// The default application of a subject, "DEFAULT" / subject; empty when there is none.
    static AppValue defaultApplication(const QString &subject);
    /// The stored text of a subject's default, as a new homework copies it.
    static QString defaultApplicationText(const ProfileFile &ini, const QString &subject);
    /// Writes the default of a subject; an empty value is written too.
    static void setDefaultApplication(const QString &subject, const AppValue &value);

    /// The application of a homework: section `dueDate` ("dd.mm.yyyy"), key subject + "Exec".
    static AppValue homeworkApplication(const QString &dueDate, const QString &subject);
    static void setHomeworkApplication(const QString &dueDate, const QString &subject, const AppValue &value);

    /// The key of a homework's application in its date section.
    static QString execKey(const QString &subject) { return subject + QStringLiteral("Exec"); }
};
