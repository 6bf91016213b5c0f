// Prints lines of text on the program's printer, or into a PDF file.
#include "TimetablePrinter.h"

#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
TimetablePrinter::Sink &sink()
{
    static TimetablePrinter::Sink s;
    return s;
}

[[noreturn]] void throwRefused(const QPrinter &printer, const QString &title)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        throw EWriteError(printer.outputFileName());
    throw KalmoraError(QStringLiteral("Der Drucker \"%1\" nimmt den Druckauftrag \"%2\" nicht an.")
                           .arg(printer.printerName(), title));
}
}

const QString &TimetablePrinter::JobTitle()
{
    static const QString title = QStringLiteral("Hausaufgabenblatt");
    return title;
}

QFont TimetablePrinter::PrintFont()
{
    QFont font(QStringLiteral("Courier New"), 10);
    // Where Courier New is not installed a monospaced font stands in, so the
    // columns of the printout still line up.
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void TimetablePrinter::print(QWidget *parent, const QStringList &lines)
{
    const Job job{JobTitle(), PrintFont(), lines};
    if (sink()) {
        sink()(job);
        return;
    }
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        const QString path = printToPdf(job);
        Prompt::inform(parent, ErrorReporter::applicationTitle(),
                       QStringLiteral("Es ist kein Drucker eingerichtet. Der Ausdruck steht in der Datei\n%1").arg(path));
        return;
    }
    QPrinter printer(printers.first(), QPrinter::HighResolution);
    printOn(printer, job);
}

QString TimetablePrinter::printToPdf(const Job &job)
{
    QString path;
    for (int n = 1; path.isEmpty() || QFileInfo::exists(path); ++n)
        path = ProgramDirectory() + job.title + u'-' + QString::number(n) + QStringLiteral(".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printOn(printer, job);
    return path;
}

void TimetablePrinter::setSink(Sink s)
{
    sink() = std::move(s);
}

void TimetablePrinter::printOn(QPrinter &printer, const Job &job)
{
    printer.setDocName(job.title);
    QPainter painter;
    if (!painter.begin(&printer))
        throwRefused(printer, job.title);
    painter.setFont(job.font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    // Each line starts at the left edge of the printable area, one character
    // height below the one before; a line that no longer fits starts a page.
    int y = 0;
    for (const QString &line : job.lines) {
        if (y > 0 && y + metrics.height() > pageHeight) {
            if (!printer.newPage())
                throwRefused(printer, job.title);
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), line);
        y += metrics.height();
    }
    if (!painter.end())
        throwRefused(printer, job.title);
}
