// The "Ereignisse" tab of the settings window: one-time and recurring events with time, sound and message.
#pragma once

#include "model/EventStore.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TCalendar;

class EventTab final : public QWidget
{
    Q_OBJECT
public:
    explicit EventTab(QWidget *parent = nullptr);

    /// What each showing of the settings window loads on this tab: the month
    /// caption from the calendar, then the names of the chosen kind.
    void LoadEventTab();

    /// The most characters the message field takes by typing.
    static constexpr int MessageLength = 255;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupUi();
    QWidget *setupKindColumn();
    QWidget *setupDateColumn();
    QWidget *setupEventColumn();
    QLayout *setupSoundRow();

    EventKind chosenKind() const;
    void FillEventList(const QString &selectName = QString());
    void ShowMonthCaption();
    void ResetFields();
    bool InputAccepted(const QString &name);
    void LimitMessage(int position, int added);

    void RadioButton1Click() { FillEventList(); }
    void RadioButton2Click() { FillEventList(); }
    void RadioButton3Click() { FillEventList(); }
    void RadioButton4Click() { FillEventList(); }
    void ListBox1Click();
    void ListBox1ItemClicked(QListWidgetItem *item);
    void Button3Click();
    void Button8Click();
    void Button4Click();
    void Button7Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void Calendar1Change();

    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    QListWidget *ListBox1 = nullptr;
    TCalendar *Calendar1 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button8 = nullptr;
    QPushButton *Button7 = nullptr;

    int m_rowAtPress = -1;      // the list's current row when a mouse press began
    bool m_loadingMessage = false; // a loaded message is shown whole, whatever its length
};
