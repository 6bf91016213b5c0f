// Draws the button pictures of data/icons/*.svg as the PNG files the program
// carries (data/icons/png/<name>-<size>.png), so that no picture has to be
// drawn from its outline while the program starts. Run it after changing a
// picture:
//
//   cmake --build build --target kalmora-render-icons
//   QT_QPA_PLATFORM=offscreen build/tools/kalmora-render-icons data/icons/png data/icons/*.svg
//
// The program icon (kalmora.svg) has its own sizes under data/icons/hicolor.
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kalmora-render-icons OUTPUT-FOLDER PICTURE.svg...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QString name = QFileInfo(path).completeBaseName();
        if (name == QLatin1String("kalmora"))
            continue;
        const QIcon icon(path);
        for (const int size : {16, 24, 32, 48}) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
            painter.end();
            const QString target = QStringLiteral("%1/%2-%3.png").arg(folder, name).arg(size);
            if (!image.save(target, "PNG", 9)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
                return 1;
            }
        }
    }
    return 0;
}
