// The evening reminder in a window of its own, when there is neither a notification service nor a tray.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class PackingWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit PackingWindow(QWidget *parent = nullptr);

    /// Shows the text without waiting: the window is not modal.
    void showReminder(const QString &summary, const QString &body);
    QString text() const;

private:
    QLabel *TextLabel = nullptr;
    QPushButton *OkButton = nullptr;
};
