// File-open and file-save dialogs of the program, answerable in advance so that tests never block.
#include "FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QQueue>

#include <utility>

namespace {
struct FileDialogState
{
    QQueue<QString> answers;
    QList<FileDialog::Request> asked;
    bool unattended = false;
};

FileDialogState &state()
{
    static FileDialogState s;
    return s;
}

QString showDialog(QWidget *parent, const FileDialog::Request &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (request.save)
        dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilter(request.filter);
    const QString folder = FileDialog::initialFolder(request);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!request.presetName.isEmpty())
        dialog.selectFile(QFileInfo(request.presetName).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString answer(QWidget *parent, const FileDialog::Request &request)
{
    FileDialogState &s = state();
    s.asked.append(request);
    QString name;
    if (!s.answers.isEmpty())
        name = s.answers.dequeue();
    else if (!s.unattended)
        name = showDialog(parent, request);
    return name.isEmpty() ? QString() : FileDialog::withDefaultSuffix(name, request.defaultSuffix);
}
}

QString FileDialog::getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &defaultSuffix, const QString &presetName, const QString &startFolder)
{
    return answer(parent, Request{title, filter, defaultSuffix, presetName, startFolder, false});
}

QString FileDialog::getSaveFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &defaultSuffix, const QString &presetName, const QString &startFolder)
{
    return answer(parent, Request{title, filter, defaultSuffix, presetName, startFolder, true});
}

QString FileDialog::initialFolder(const Request &request)
{
    QFileInfo preset(request.presetName);
    if (!request.presetName.isEmpty() && preset.isRelative() && !request.startFolder.isEmpty())
        preset = QFileInfo(QDir(request.startFolder), request.presetName);
    if (!request.presetName.isEmpty() && preset.absoluteDir().exists())
        return preset.absolutePath();
    return request.startFolder;
}

QString FileDialog::fromWindowsFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == u"*.*")
                pattern = QStringLiteral("*");
        }
        // A description that names its patterns already ("Wave-Dateien (*.WAV)") keeps them once.
        const QString &description = parts.at(i);
        entries.append(description.trimmed().endsWith(u')') ? description
                                                            : description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString FileDialog::withDefaultSuffix(const QString &name, const QString &defaultSuffix)
{
    const QFileInfo info(name);
    if (defaultSuffix.isEmpty() || info.fileName().isEmpty() || info.fileName().contains(u'.') || info.exists())
        return name;
    return name + u'.' + defaultSuffix;
}

void FileDialog::setNextFileName(const QString &name)
{
    state().answers.enqueue(name);
}

void FileDialog::queueFileNames(const QStringList &names)
{
    for (const QString &name : names)
        state().answers.enqueue(name);
}

void FileDialog::setUnattended(bool unattended)
{
    state().unattended = unattended;
}

QList<FileDialog::Request> FileDialog::takeAsked()
{
    return std::exchange(state().asked, {});
}
