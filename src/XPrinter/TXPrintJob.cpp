// Text printing on the program's printer, with a PDF file in the program directory when none is installed: the jobs.
#include "TXPrint.h"

#include "TXPrintState.h"

#include "PrinterError.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

namespace {
// A printer chosen by its place in the system's list is looked up when it is
// first needed: asking the print system for its printers takes long enough to
// slow down the start.
const QString &printerName()
{
    ProgramPrinterState &program = programPrinter();
    if (program.pendingIndex) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        const int index = *program.pendingIndex;
        program.name = index >= 0 && index < printers.size() ? printers[index].printerName() : QString();
        program.pendingIndex.reset();
    }
    return program.name;
}

void setPrinterName(const QString &printer)
{
    programPrinter().name = printer;
    programPrinter().pendingIndex.reset();
}

void record(PrintCommand command)
{
    if (printRecorder())
        printRecorder()->append(std::move(command));
}

constexpr double kLineWidthMm = 0.2;
}

QPrinter &TXPrint::printer()
{
    if (!m_printer)
        m_printer = {new QPrinter(QPrinter::HighResolution), [](QPrinter *printer) { delete printer; }};
    QPrinter &device = *m_printer;
    const QString &name = printerName();
    if (!name.isEmpty() && device.printerName() != name)
        device.setPrinterName(name);
    device.setDocName(Title());
    device.setCopyCount(m_copies);
    device.setPageOrientation(m_orientation);
    device.setFullPage(true); // coordinates count from the paper's corner, margins are ours
    return device;
}

void TXPrint::adoptPrinterChoice()
{
    if (!m_printer)
        return;
    setPrinterName(m_printer->printerName());
    const QStringList names = QPrinterInfo::availablePrinterNames();
    m_currentPrinter = int(names.indexOf(programPrinter().name));
    m_copies = qMax(1, m_printer->copyCount());
    m_orientation = m_printer->pageLayout().orientation();
}

int TXPrint::BeginDoc()
{
    if (m_painter)
        Abort();
    m_aborted = false;
    QPrinter &device = printer();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        m_pdfPath = nextPdfPath(Title());
        device.setOutputFileName(m_pdfPath);
        device.setPageSize(QPageSize(QPageSize::A4));
        m_pdfDevice = true;
    } else {
        m_pdfPath.clear();
        if (m_pdfDevice) { // a printer was installed since the last job
            device.setOutputFileName(QString());
            device.setOutputFormat(QPrinter::NativeFormat);
            m_pdfDevice = false;
        }
    }
    startPainter();
    record({PrintCommand::Kind::BeginJob, {}, {}, 0, Title()});
    return m_printableWidth;
}

void TXPrint::startPainter()
{
    openJobAbort() = [](TXPrint &print) { print.Abort(); };
    QPrinter &device = *m_printer;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device)) {
        m_aborted = true;
        if (!m_pdfPath.isEmpty())
            throw EWriteError(m_pdfPath);
        throw EPrinterError(QStringLiteral("Der Drucker „%1“ hat den Druckauftrag „%2“ abgelehnt.")
                                .arg(device.printerName(), Title()));
    }
    m_dotsPerUnit = m_scaling == pscDot ? 1.0 : device.resolution() / unitsPerInch();
    // Measured from the paper size in millimetres, which is exact, not from rounded device pixels.
    const QRectF paper = device.pageLayout().fullRect(QPageLayout::Millimeter);
    const double unitsPerMm = unitsPerInch() / 25.4;
    m_printableWidth = qRound(paper.width() * unitsPerMm) - m_marginLeft - m_marginRight;
    m_printableHeight = qRound(paper.height() * unitsPerMm) - m_marginTop - m_marginBottom;
    painter->setFont(m_font);
    m_painter = std::move(painter);
    applyPen(Qt::black);
}

void TXPrint::EndDoc()
{
    QPainter &p = painter();
    const bool sent = p.end();
    m_painter.reset();
    if (!sent || (!m_pdfPath.isEmpty() && !QFileInfo::exists(m_pdfPath))) {
        m_aborted = true;
        if (!m_pdfPath.isEmpty())
            throw EWriteError(m_pdfPath);
        throw EPrinterError(QStringLiteral("Der Druckauftrag „%1“ konnte nicht gesendet werden.").arg(Title()));
    }
    record({PrintCommand::Kind::EndJob, {}, {}, 0, {}});
    if (!m_pdfPath.isEmpty()) {
        Prompt::inform(QApplication::activeWindow(), ErrorReporter::applicationTitle(),
                       QStringLiteral("Es ist kein Drucker eingerichtet. Der Druckauftrag „%1“ wurde als "
                                      "PDF-Datei gespeichert:\n%2")
                           .arg(Title(), m_pdfPath));
    }
}

void TXPrint::Abort()
{
    m_aborted = true;
    if (!m_painter)
        return;
    m_printer->abort();
    m_painter->end();
    m_painter.reset();
    if (!m_pdfPath.isEmpty())
        QFile::remove(m_pdfPath); // no half-written sheet is left behind
}

void TXPrint::NewPage()
{
    painter();
    if (!m_printer->newPage()) {
        Abort();
        throw EPrinterError(QStringLiteral("Der Druckauftrag „%1“ brach ab.").arg(Title()));
    }
    record(PrintCommand::newPage());
}

void TXPrint::SetPen(const QColor &color)
{
    applyPen(color);
    record({PrintCommand::Kind::Pen, {}, {}, 0, color.name()});
}

void TXPrint::applyPen(const QColor &color)
{
    QPainter &p = painter();
    const double width = m_printer->resolution() * kLineWidthMm / 25.4;
    p.setPen(QPen(color, width, Qt::SolidLine));
    p.setBackgroundMode(Qt::TransparentMode);
}

void TXPrint::SetFontSize(int points)
{
    QPainter &p = painter();
    QFont font = p.font();
    font.setPointSize(points);
    p.setFont(font);
    record(PrintCommand::fontSize(points));
}

void TXPrint::TextOut(int x, int y, const QString &text)
{
    QPainter &p = painter();
    const QPointF topLeft = toDevice(x, y);
    p.drawText(QPointF(topLeft.x(), topLeft.y() + p.fontMetrics().ascent()), text);
    record(PrintCommand::textOut(x, y, text));
}

void TXPrint::Line(int x1, int y1, int x2, int y2)
{
    QPainter &p = painter();
    p.drawLine(toDevice(x1, y1), toDevice(x2, y2));
    record(PrintCommand::line(x1, y1, x2, y2));
}

void TXPrint::Paint(int x, int y, int width, int height, const std::function<void(QPainter &, const QRectF &)> &draw)
{
    QPainter &p = painter();
    p.save();
    draw(p, QRectF(toDevice(x, y), toDevice(x + width, y + height)));
    p.restore();
}

void TXPrint::Execute(const QList<PrintCommand> &commands)
{
    for (const PrintCommand &command : commands) {
        switch (command.kind) {
        case PrintCommand::Kind::NewPage:
            NewPage();
            break;
        case PrintCommand::Kind::Pen:
            SetPen(QColor(command.text));
            break;
        case PrintCommand::Kind::FontSize:
            SetFontSize(command.size);
            break;
        case PrintCommand::Kind::Text:
            TextOut(command.from.x(), command.from.y(), command.text);
            break;
        case PrintCommand::Kind::Line:
            Line(command.from.x(), command.from.y(), command.to.x(), command.to.y());
            break;
        case PrintCommand::Kind::BeginJob:
        case PrintCommand::Kind::EndJob:
            break; // jobs are begun and ended by the caller
        }
    }
}

QString TXPrint::ProgramPrinterName()
{
    return printerName();
}

QString TXPrint::nextPdfPath(const QString &title)
{
    QString base;
    for (const QChar c : title)
        base += c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_' ? c : QChar(u'_');
    base = base.trimmed();
    if (base.isEmpty())
        base = QStringLiteral("Druckauftrag");
    for (int n = 1;; ++n) {
        const QString path = DataFilePath(base + u'-' + QString::number(n) + QStringLiteral(".pdf"));
        if (!QFileInfo::exists(path))
            return path;
    }
}

double TXPrint::unitsPerInch() const
{
    switch (m_scaling) {
    case pscMil:
        return 1000.0;
    case pscMetric10:
        return 254.0;
    case pscMetric100:
        return 2540.0;
    case pscDot:
        break;
    }
    return m_printer ? m_printer->resolution() : 1.0;
}

QPointF TXPrint::toDevice(int x, int y) const
{
    return {(x + m_marginLeft) * m_dotsPerUnit, (y + m_marginTop) * m_dotsPerUnit};
}

QPainter &TXPrint::painter()
{
    if (!m_painter)
        throw EPrinterError(QStringLiteral("Es läuft kein Druckauftrag."));
    return *m_painter;
}
