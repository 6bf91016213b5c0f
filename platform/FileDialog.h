// File-open and file-save dialogs of the program, answerable in advance so that tests never block.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

class FileDialog final
{
public:
    struct Request
    {
        QString title;
        QString filter;
        QString defaultSuffix;
        QString presetName;
        QString startFolder;
        bool save = false; // a file-save dialog
    };

    /// Shows a modal file-open dialog with an editable file name and returns
    /// the chosen full path, or an empty text when the pupil cancels.
    /// `filter` is in Qt's form ("Textdateien (*.txt);;Alle Dateien (*)"),
    /// the first entry selected. The name need not exist. A name without a
    /// suffix gets `defaultSuffix` unless a file of that very name exists, so
    /// that programs without a suffix can be chosen. `presetName` is shown
    /// at first, its folder opened; a bare or relative preset name, and no
    /// preset at all, open in `startFolder` when one is given.
    static QString getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                                   const QString &defaultSuffix = QString(), const QString &presetName = QString(),
                                   const QString &startFolder = QString());

    /// Shows a modal file-save dialog and returns the chosen full path, or an
    /// empty text when the pupil cancels. The dialog asks before an existing
    /// file is replaced. `presetName` and `defaultSuffix` act as in
    /// `getOpenFileName`; tests answer it in the same queue.
    static QString getSaveFileName(QWidget *parent, const QString &title, const QString &filter,
                                   const QString &defaultSuffix = QString(), const QString &presetName = QString(),
                                   const QString &startFolder = QString());

    /// The folder a dialog for this request opens in; empty leaves it to the dialog.
    static QString initialFolder(const Request &request);

    /// A filter in the form "Name|*.a;*.b|Name|*.*" turned into Qt's form;
    /// "*.*" becomes "*", since on Linux it would leave out names without a dot.
    static QString fromWindowsFilter(const QString &filter);
    /// `name` with the default suffix added as the dialog adds it.
    static QString withDefaultSuffix(const QString &name, const QString &defaultSuffix);

    /// Tests: the next dialog is answered with this name instead of being
    /// shown; an empty name answers as a cancelled dialog.
    static void setNextFileName(const QString &name);
    static void queueFileNames(const QStringList &names);
    /// Tests: with no answer queued, a dialog is cancelled unseen.
    static void setUnattended(bool unattended);
    /// Every dialog asked for so far (also the shown ones), oldest first; clears the record.
    static QList<Request> takeAsked();
};
