// The main window: the timetable of one school day and the homework of the next due dates.
#pragma once

#include <QWidget>

class TForm1 final : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    /// The preparation that runs once when the window is created.
    void FormCreate();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupUi();
    void FormClose();
};
