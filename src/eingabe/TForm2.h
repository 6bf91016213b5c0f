// The homework entry dialog: due date and text of new homework for one subject.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TCalendar;

class TForm2 final : public QWidget
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    /// Opens the dialog for a subject with the date of its next lesson; an
    /// empty subject opens nothing. A dialog already shown is only updated
    /// and keeps the homework text typed so far.
    void openForSubject(const QString &subject);

Q_SIGNALS:
    /// Homework was stored; the main window refreshes its day panels.
    void homeworkStored();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    void FormShow();
    void Calendar1Change();
    void SpeedButton3Click();
    void Image2Click();
    void Image3Click();
    void Button1Click();
    void Button2Click();

    void showCalendarPart(bool shown);
    void showDueDate(const QString &text);
    void showMonthHeading();

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QLabel *MonthHeading = nullptr; // month and year the grid shows
    TCalendar *Calendar1 = nullptr;
    QToolButton *Image2 = nullptr;
    QToolButton *Image3 = nullptr;
    QCheckBox *RepeatCheck = nullptr; // the homework recurs with every lesson
    QCheckBox *ClassShareCheck = nullptr; // the homework goes to the class list as well
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QWidget *m_calendarPart = nullptr;
};
