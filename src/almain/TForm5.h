// The alarm list window: the dated alarms, their messages and their sounds.
#pragma once

#include <QPoint>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QToolButton;

class TForm5 final : public QWidget
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    /// Sorts the stored alarms by date and refills the list; runs on every showing.
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    void ListBox1Click();
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void WaveFilebestimmen1Click();

    QListWidgetItem *selectedItem() const;
    void saveSelectedMessage();
    QPoint pickerPosition() const;

    QListWidget *ListBox1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *WaveFilebestimmen1 = nullptr;
};
