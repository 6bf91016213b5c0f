// The program's help: a German HTML page shown in a window of its own.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class HelpWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    /// Shows the contents page and brings the window to the front.
    void showContents();

    /// The help page: "kalmora-hilfe.html" in the program directory when it is
    /// there, else the copy built into the program.
    static QUrl pageUrl();

private:
    void setupUi();

    QTextBrowser *TextBrowser = nullptr;
};
