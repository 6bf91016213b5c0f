// Prints lines of text on the program's printer, or into a PDF file where no printer is installed.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

class TimetablePrinter final
{
public:
    /// One print job: its title, its font and its lines, one printed line each.
    struct Job
    {
        QString title;
        QFont font;
        QStringList lines;
    };
    using Sink = std::function<void(const Job &)>;

    /// "Hausaufgabenblatt": the name of the program's print jobs.
    static const QString &JobTitle();
    /// "Courier New", 10 point, regular.
    static QFont PrintFont();

    /// Prints `lines` as one job on the first printer of the system. Without
    /// any printer the job is written as a PDF file into the program directory
    /// and a message box names the file. Throws KalmoraError when the printer
    /// refuses the job; the lines after the failing one are not printed.
    static void print(QWidget *parent, const QStringList &lines);

    /// Writes the job into "<title>-<n>.pdf" in the program directory, with the
    /// first n from 1 that names no file yet, and returns the file's path.
    static QString printToPdf(const Job &job);

    /// Tests: jobs go to `sink` instead of a device; an empty sink restores the device.
    static void setSink(Sink sink);

private:
    static void printOn(QPrinter &printer, const Job &job);
};
