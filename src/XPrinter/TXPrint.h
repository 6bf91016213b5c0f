// Text printing on the program's printer, in units chosen by Scaling and measured inside the margins.
#pragma once

#include "XPrinter/PrintCommand.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QRectF;

/// Each job's coordinates start at the top left corner of the margins, y
/// growing downwards. Without any installed printer a job is written as a
/// PDF file into the program directory and a message box names the file.
class TXPrint final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TPrintScaling Scaling READ Scaling WRITE setScaling)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE setMarginLeft)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE setMarginTop)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE setMarginRight)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE setMarginBottom)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(bool Aborted READ Aborted)
    Q_PROPERTY(int Copies READ Copies WRITE setCopies)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(int CurrentPrinter READ CurrentPrinter WRITE setCurrentPrinter)
    Q_PROPERTY(QPageLayout::Orientation Orientation READ Orientation WRITE setOrientation)

public:
    enum TPrintScaling {
        pscDot,      // device units
        pscMil,      // 1/1000 inch
        pscMetric10, // 0.1 mm
        pscMetric100 // 0.01 mm
    };
    Q_ENUM(TPrintScaling)

    explicit TXPrint(QObject *owner = nullptr);
    ~TXPrint() override;

    TPrintScaling Scaling() const { return m_scaling; }
    void setScaling(TPrintScaling scaling) { m_scaling = scaling; }
    int MarginLeft() const { return m_marginLeft; }
    void setMarginLeft(int margin) { m_marginLeft = margin; }
    int MarginTop() const { return m_marginTop; }
    void setMarginTop(int margin) { m_marginTop = margin; }
    int MarginRight() const { return m_marginRight; }
    void setMarginRight(int margin) { m_marginRight = margin; }
    int MarginBottom() const { return m_marginBottom; }
    void setMarginBottom(int margin) { m_marginBottom = margin; }
    QFont Font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }
    bool Aborted() const { return m_aborted; }
    int Copies() const { return m_copies; }
    void setCopies(int copies) { m_copies = qMax(1, copies); }
    QPageLayout::Orientation Orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }

    /// The name of the program's print jobs; setting it names every later job
    /// of the program, also those of other printing components.
    QString Title() const;
    void setTitle(const QString &title);
    /// The index in the system's printer list of the program's printer.
    int CurrentPrinter() const;
    /// Selects that entry of the system's printer list as the program's printer.
    void setCurrentPrinter(int index);

    /// The device behind the jobs, set up with the program's printer, job
    /// name, copies and orientation; the print dialog works on it.
    QPrinter &printer();
    /// Takes over the printer, copies and orientation chosen in the print dialog.
    void adoptPrinterChoice();

    /// Starts a job; returns the printable width (paper width minus both
    /// margins) in units of Scaling. Throws EPrinterError, or EWriteError when
    /// the PDF file cannot be written.
    int BeginDoc();
    /// Ends the job and sends it; a job written as a PDF file is named in a message box.
    void EndDoc();
    /// Drops a running job.
    void Abort();
    bool Printing() const { return m_painter != nullptr; }
    /// The printable area of the running job in units of Scaling.
    int PrintableWidth() const { return m_printableWidth; }
    int PrintableHeight() const { return m_printableHeight; }

    void NewPage();
    /// A solid pen of that colour; texts are drawn on a transparent background.
    void SetPen(const QColor &color);
    void SetFontSize(int points);
    /// Writes a text with its top left corner at (x, y).
    void TextOut(int x, int y, const QString &text);
    void Line(int x1, int y1, int x2, int y2);
    /// Lets `draw` paint a picture, such as a chart, into the rectangle of
    /// `width` by `height` at (x, y), in units of Scaling; `draw` gets the
    /// job's painter and the rectangle in device coordinates.
    void Paint(int x, int y, int width, int height, const std::function<void(QPainter &, const QRectF &)> &draw);
    /// Runs the drawing commands of a layout (font sizes, texts, lines, new pages).
    void Execute(const QList<PrintCommand> &commands);

    /// The name of the program's printer: the one CurrentPrinter selected or
    /// the one last chosen in the print dialog; empty while none is installed.
    static QString ProgramPrinterName();

    /// Tests: every call of every TXPrint is also appended here while it is set.
    static void setRecorder(QList<PrintCommand> *recorder);
    /// The PDF file the next job of this title goes to when no printer is
    /// installed: the title made safe for a file name, "-", the first free
    /// running number, ".pdf".
    static QString nextPdfPath(const QString &title);

private:
    double unitsPerInch() const;
    QPointF toDevice(int x, int y) const;
    QPainter &painter();
    void startPainter();
    void applyPen(const QColor &color);

    TPrintScaling m_scaling = pscMetric10;
    int m_marginLeft = 0;
    int m_marginTop = 0;
    int m_marginRight = 0;
    int m_marginBottom = 0;
    QFont m_font;
    bool m_aborted = false;
    int m_copies = 1;
    int m_currentPrinter = 0;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;

    // Made and deleted by the jobs, in the module with the print library: the
    // main window's part never names the printer's type.
    std::unique_ptr<QPrinter, void (*)(QPrinter *)> m_printer{nullptr, nullptr};
    std::unique_ptr<QPainter> m_painter;
    QString m_pdfPath;          // the file of the running job when no printer is installed
    bool m_pdfDevice = false;   // the device was switched to PDF output by a job
    double m_dotsPerUnit = 1.0; // of the running job
    int m_printableWidth = 0;
    int m_printableHeight = 0;
};
