// Test helper: writes its arguments, one a line, to the file named by KALMORA_ARGDUMP.
#include <QByteArray>
#include <QSaveFile>
#include <QString>

int main(int argc, char **argv)
{
    const QString path = qEnvironmentVariable("KALMORA_ARGDUMP");
    if (path.isEmpty())
        return 2;
    QByteArray lines;
    for (int i = 1; i < argc; ++i)
        lines += QByteArray(argv[i]) + '\n';
    // Written whole or not at all, so a waiting test never reads half of it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(lines) != lines.size() || !file.commit())
        return 1;
    return 0;
}
