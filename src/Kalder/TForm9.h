// The month calendar picker: a small borderless window that returns the date picked.
#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <functional>

class QToolButton;
class TCalendar;
struct PickerPreset;

class TForm9 final : public QDialog
{
    Q_OBJECT
public:
    /// The one picker of the program, made at its first use and kept to the
    /// end, so that between uses it keeps the date it held last.
    static TForm9 &instance();

    /// Applies the preset to the held date under the grid's rules, shows the
    /// picker modally with its top-left corner at `topLeft`, and returns the
    /// date it holds when it closes.
    QDate pick(QPoint topLeft, const PickerPreset &preset);

    /// "Januar" to "Dezember", index 0 to 11.
    static const QStringList &MonthNames();

    /// Tests: instead of the modal wait, `answer` runs on the shown picker,
    /// which is hidden afterwards; an empty function restores the wait.
    using ModalAnswer = std::function<void(TForm9 &picker)>;
    static void setModalAnswer(ModalAnswer answer);

private:
    TForm9();
    void setupUi();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Calendar1DblClick();
    void showMonthName();
    void runModal();

    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    TCalendar *Calendar1 = nullptr;
};

/// Opens the picker on a date text and returns the date picked as "d.m.yyyy".
/// The text's day and month parts are applied as far as the held month allows;
/// its year part, or today when the text has no year. A part that is not a
/// whole number throws EConvertError before the picker opens, and the held
/// date stays.
QString PickDate(QPoint topLeft, const QString &dateText);
