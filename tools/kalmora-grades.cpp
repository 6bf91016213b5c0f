// Prints the grade overview as a text table: every subject's average, weight and number of grades, the overall average last.
#include "grades/GradeOverview.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

const char kHelp[] =
    "Aufruf: kalmora-grades [PROGRAMMVERZEICHNIS]\n"
    "\n"
    "Gibt die Notenübersicht des Schulplaners als Tabelle aus: für jedes Fach\n"
    "den Durchschnitt in Punkten und als Note, das Gewicht und die Anzahl der\n"
    "Noten, in der letzten Zeile den Durchschnitt aller Fächer. Alle Fächer\n"
    "zählen gleich viel, denn die Notendateien kennen kein Gewicht für ein Fach.\n"
    "\n"
    "Die Noten stehen in den Dateien NOTEN.DAT und NOTEN.NOT im\n"
    "Programmverzeichnis: dem angegebenen Verzeichnis, sonst dem aus KALMORA_DIR,\n"
    "sonst dem Verzeichnis dieses Programms. Gibt es noch keine NOTEN.DAT, stehen\n"
    "die Fächer des Stundenplans mit dem Durchschnitt 0 in der Tabelle.\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg; 1, wenn die Notendateien nur zum Teil gelesen\n"
    "werden konnten (die Tabelle zeigt, was gelesen wurde, eine Warnung steht auf\n"
    "der Fehlerausgabe); 2, wenn sie gar nicht gelesen werden können oder der\n"
    "Aufruf falsch ist.\n";

constexpr int kPartlyRead = 1;
constexpr int kFailed = 2;

int fail(const QString &message)
{
    std::fprintf(stderr, "kalmora-grades: %s\n", message.toUtf8().constData());
    return kFailed;
}

}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(u'-')))
        return fail(QStringLiteral("Falscher Aufruf. Hilfe: kalmora-grades --help"));
    if (args.size() == 1) {
        if (args[0].isEmpty())
            return fail(QStringLiteral("Das Programmverzeichnis ist leer angegeben."));
        setProgramDirectory(args[0]);
    }
    const QString directory = ProgramDirectory();
    if (!QDir(directory).exists())
        return fail(QStringLiteral("Das Programmverzeichnis %1 gibt es nicht.").arg(QDir::toNativeSeparators(directory)));

    const GradeOverview::Loaded loaded = GradeOverview::load();
    // Nothing read at all is no overview; a part of the tree is shown with a warning.
    if (loaded.failure && loaded.tree.isEmpty())
        return fail(QStringLiteral("Die Notendateien können nicht gelesen werden: %1").arg(loaded.failureText));
    const QByteArray table = GradeOverview::plainText(loaded.rows).toUtf8();
    if (std::fwrite(table.constData(), 1, size_t(table.size()), stdout) != size_t(table.size()) || std::fflush(stdout) != 0)
        return fail(QStringLiteral("Die Ausgabe kann nicht geschrieben werden."));
    if (loaded.failure) {
        std::fprintf(stderr, "kalmora-grades: Warnung: Die Notendateien wurden nur zum Teil gelesen: %s\n",
                     loaded.failureText.toUtf8().constData());
        return kPartlyRead;
    }
    return 0;
}
