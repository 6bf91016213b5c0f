// What both application dialogs share: the program and file fields, the two
// file buttons, "&Hinzufügen" and the list of known programs.
#pragma once

#include "model/AppValue.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class ApplicationDialog : public QWidget
{
    Q_OBJECT
protected:
    ApplicationDialog(QWidget *parent, Qt::WindowFlags flags);

    /// Builds the shared controls and connects their handlers; "&OK" is left to the dialog.
    void setupFields();
    void showEvent(QShowEvent *event) override;
    virtual void FormShow() = 0;

    /// Replaces the list of `ComboBox1` with the known programs; the typed texts stay.
    void FillProgramList();
    void ShowValue(const AppValue &value);
    /// The application the fields describe.
    AppValue EnteredValue() const;

    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;

private:
    void Button1Click();
    void Button3Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
};
