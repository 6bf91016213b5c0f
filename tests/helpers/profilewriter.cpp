// Test helper: rewrites a profile file, or the settings file, over and over until it is killed.
//
//   profilewriter PATH TAG
//       rewrites a large profile file at PATH with versions "TAG-1", "TAG-2", ... forever.
//   profilewriter --settings DIR COUNT VARIANT...
//       writes the settings file in the program directory DIR through the
//       program's own settings access COUNT times (0: until killed), taking the
//       contents A and B named by the variants in turn. Before each write it
//       prints "b" and after it "e" on standard output, so whoever kills it
//       learns whether the kill fell inside a write.
#include "model/SettingsFile.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int rewriteForever(const QString &path, const QString &tag)
{
    for (int version = 1;; ++version) {
        ProfileFile ini(path);
        const QString value = QStringLiteral("%1-%2").arg(tag).arg(version);
        ini.writeString(u"Meta", u"version", value);
        for (int i = 0; i < 2000; ++i)
            ini.writeString(u"Data", QString::number(i), value);
        ini.save();
    }
}

// A settings file of a school year's homework and a timetable. Both variants
// have the same sections and keys, so writing one over the other gives the
// same bytes as writing it into an empty file; B's values are longer.
void fillSettings(ProfileFile &ini, char variant)
{
    const auto extra = [variant](int n) {
        return variant == 'B' ? QStringLiteral(", dazu Arbeitsblatt %1 und Vokabeln").arg(n) : QString();
    };
    const QStringList subjects = {QStringLiteral("Mathematik"), QStringLiteral("Deutsch"), QStringLiteral("Englisch"),
                                  QStringLiteral("Französisch"), QStringLiteral("Physik")};
    for (int day = 1; day <= 28; ++day) {
        const QString date = QStringLiteral("%1.12.2026").arg(day, 2, 10, QLatin1Char('0'));
        ini.writeString(u"Dates", date, u"1");
        for (int s = 0; s < subjects.size(); ++s) {
            const QString task = QStringLiteral("%1: S. %2 Nr. %3").arg(QChar::fromLatin1(variant)).arg(day * 3 + s).arg(s + 1);
            ini.writeString(date, subjects[s], QString(task + extra(day)));
            ini.writeString(date, QString(subjects[s] + QStringLiteral("Exec")), variant == 'B' ? u"1" : u"0");
        }
    }
    for (const QString &weekday : {QStringLiteral("Montag"), QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"),
                                  QStringLiteral("Donnerstag"), QStringLiteral("Freitag")}) {
        for (int lesson = 1; lesson <= 10; ++lesson)
            ini.writeString(weekday, QString::number(lesson), QString(subjects[(lesson + weekday.size()) % subjects.size()] + extra(lesson)));
    }
}

void mark(char c)
{
    std::fputc(c, stdout);
    std::fflush(stdout);
}

int writeSettings(int argc, char **argv)
{
    if (argc < 5)
        return 2;
    setProgramDirectory(QString::fromLocal8Bit(argv[2]));
    const int count = std::atoi(argv[3]);
    for (int i = 0; count == 0 || i < count; ++i) {
        const char variant = argv[4 + i % (argc - 4)][0];
        mark('b');
        SettingsFile::use([variant](ProfileFile &ini) { fillSettings(ini, variant); });
        mark('e');
    }
    return 0;
}

}

int main(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--settings") == 0)
        return writeSettings(argc, argv);
    if (argc < 3)
        return 2;
    return rewriteForever(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
}
