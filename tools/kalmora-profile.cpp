// Command-line access to a settings file over the program's own profile-file layer.
#include "platform/Errors.h"
#include "platform/ProfileFile.h"

#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: kalmora-profile FILE get SECTION KEY [DEFAULT]\n"
               "       kalmora-profile FILE set SECTION KEY VALUE\n"
               "       kalmora-profile FILE keys SECTION\n"
               "       kalmora-profile FILE entries SECTION\n"
               "       kalmora-profile FILE sections\n"
               "       kalmora-profile FILE erase SECTION\n",
               stderr);
    return 2;
}

void printLines(const QStringList &lines)
{
    for (const QString &line : lines)
        std::printf("%s\n", line.toUtf8().constData());
}

}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromUtf8(argv[i]));
    if (args.size() < 2)
        return usage();
    const QString command = args[1];
    const auto count = args.size() - 2; // operands after FILE and the command
    try {
        ProfileFile ini(args[0]);
        if (command == u"get" && (count == 2 || count == 3)) {
            printLines({ini.readString(args[2], args[3], args.value(4))});
        } else if (command == u"set" && count == 3) {
            ini.writeString(args[2], args[3], args[4]);
            ini.save();
        } else if (command == u"keys" && count == 1) {
            printLines(ini.keys(args[2]));
        } else if (command == u"entries" && count == 1) {
            printLines(ini.entries(args[2]));
        } else if (command == u"sections" && count == 0) {
            printLines(ini.sections());
        } else if (command == u"erase" && count == 1) {
            ini.eraseSection(args[2]);
            ini.save();
        } else {
            return usage();
        }
    } catch (const KalmoraError &error) {
        std::fprintf(stderr, "kalmora-profile: %s\n", error.message().toUtf8().constData());
        return 2;
    }
    return 0;
}
