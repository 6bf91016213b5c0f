// The program's help window.
#include "HelpWindow.h"

#include "platform/ErrorReporter.h"
#include "platform/ProgramDirectory.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
const QString kPageName = QStringLiteral("kalmora-hilfe.html");
}

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setupUi();
}

void HelpWindow::setupUi()
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(ErrorReporter::applicationTitle() + QStringLiteral(" - Hilfe"));
    // Wide enough for the screenshots at their own size, yet within the screen.
    resize(QSize(880, 700).boundedTo(screen()->availableSize() * 0.9));
    TextBrowser = new QTextBrowser(this);
    TextBrowser->setObjectName(QStringLiteral("TextBrowser"));
    TextBrowser->setAccessibleName(QStringLiteral("Hilfe"));
    TextBrowser->setOpenLinks(true);
    TextBrowser->setOpenExternalLinks(false); // the page links only within itself
    // The page brings colours for a light page, so it stays light in dark mode too, like paper.
    TextBrowser->setPalette(QApplication::style()->standardPalette());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TextBrowser);
}

void HelpWindow::showContents()
{
    TextBrowser->setSource(pageUrl());
    WindowPlacement::centreOver(this, parentWidget());
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::pageUrl()
{
    const QString beside = DataFilePath(kPageName);
    if (QFileInfo::exists(beside))
        return QUrl::fromLocalFile(beside);
    return QUrl(QStringLiteral("qrc:/help/") + kPageName);
}
