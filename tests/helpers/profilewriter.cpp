// Test helper: rewrites a large profile file over and over until it is killed.
#include "platform/ProfileFile.h"

#include <QString>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (int version = 1;; ++version) {
        ProfileFile ini(path);
        const QString value = QStringLiteral("%1-%2").arg(QString::fromLocal8Bit(argv[2])).arg(version);
        ini.writeString(u"Meta", u"version", value);
        for (int i = 0; i < 2000; ++i)
            ini.writeString(u"Data", QString::number(i), value);
        ini.save();
    }
}
