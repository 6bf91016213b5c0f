// Prints the grade overview as a text table: every subject's average, weight and number of grades, the overall average last.
#include "grades/GradeOverview.h"
#include "ToolCall.h"


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
const char kTool[] = "kalmora-grades";

}

int main(int argc, char **argv)
{
    if (const std::optional<int> ended = ToolCall::start(kTool, kHelp, argc, argv))
        return *ended;
    const GradeOverview::Loaded loaded = GradeOverview::load();
    // Nothing read at all is no overview; a part of the tree is shown with a warning.
    if (loaded.failure && loaded.tree.isEmpty())
        return ToolCall::fail(kTool, QStringLiteral("Die Notendateien können nicht gelesen werden: %1").arg(loaded.failureText));
    const QByteArray table = GradeOverview::plainText(loaded.rows).toUtf8();
    if (const std::optional<int> failed = ToolCall::writeOut(kTool, table))
        return *failed;
    if (loaded.failure) {
        std::fprintf(stderr, "kalmora-grades: Warnung: Die Notendateien wurden nur zum Teil gelesen: %s\n",
                     loaded.failureText.toUtf8().constData());
        return kPartlyRead;
    }
    return 0;
}
