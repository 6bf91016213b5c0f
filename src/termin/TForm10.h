// The reminder window: shows each due event in turn, plays its sound, snoozes or acknowledges it.
#pragma once

#include "DueQueue.h"

#include <QDialog>

class QComboBox;
class QHideEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QTimer;

class TForm10 final : public QDialog
{
    Q_OBJECT
public:
    /// The minute check while no reminder is shown.
    static constexpr int IdleInterval = 60000;
    /// The check right after a reminder was closed, so the next due one follows at once.
    static constexpr int NextInterval = 1;

    explicit TForm10(QWidget *parent = nullptr);
    ~TForm10() override;

    /// Start-up: queues every occurrence whose date has come, then shows the
    /// first one that is due or leaves the minute check running. Runs once,
    /// before any reminder is shown; while one is on screen it does nothing.
    void ScanDueEvents();
    /// The same with the entries of a scan made before the window was there.
    void TakeScannedEvents(DueQueue &&queue);
    /// Shows the first queued entry whose moment has passed, with its sound;
    /// with none, the timer checks again in a minute. Does nothing while a
    /// reminder is on screen, since only one is shown at a time.
    void CheckDueQueue();

    DueQueue &queue() { return m_queue; }
    const DueQueue &queue() const { return m_queue; }
    /// The index of the queue entry on screen, -1 while none is.
    qsizetype shownEntry() const { return m_shown; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setupUi();
    void ShowDueEntry(qsizetype index);
    void showReminder();
    void FormShow();
    void FormHide();
    void Button1Click();
    void Button2Click();
    void Timer1Timer();

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QTimer *Timer1 = nullptr;

    DueQueue m_queue;
    qsizetype m_shown = -1;
};
