// The main window: the timetable of one school day and the homework of the next due dates.
#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QWidget>

#include <array>
#include <utility>

class ExtrasMenu;
class HelpWindow;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class TTBNArea;
class TimetableHint;
class TXPrint;

class TForm1 final : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    /// The preparation that runs once when the window is created.
    void FormCreate();
    /// Refills the four day panels from the next due dates and `ListBox5`
    /// with the dates from the fourth one on.
    void RefreshDayPanels();
    /// Widens `ListBox5` from 65 to 81 pixels once it holds more than five
    /// dates, so that its scroll bar does not cover them; it is never narrowed.
    void WidenListBox5();

    /// After the settings window saved the timetable: the grid shows it at
    /// once, and the first-start hint goes away.
    void TimetableSaved();
    /// After the data files were replaced by a backup: the grid, the day
    /// panels and the further dates are read anew; a selected homework the
    /// restored data no longer holds is let go, one it holds shows its text.
    void DataReplaced();

    /// The day whose timetable the grid shows.
    QDate DisplayDate() const { return m_displayDate; }
    /// The date of the lessons in the grid: the display date, on a weekend the Friday before.
    QDate TimetableDate() const;
    /// Strikes through the lessons (1 to 10) of `marks` with their tool tips,
    /// their texts kept; the other lessons lose a mark. Nothing happens when
    /// the grid no longer shows `day`; a new filling of the grid clears them.
    void MarkLessons(QDate day, const QMap<int, QString> &marks);

    /// The menu of the "Extras" button, where added functions offer themselves.
    ExtrasMenu *extrasMenu() const { return m_extrasMenu; }

Q_SIGNALS:
    /// A subject of the timetable was clicked or reached with the keyboard.
    void subjectChosen(const QString &subject);
    /// "Anwendung starten" / "Anwendung definieren" for the homework `Label2` names.
    void startApplicationRequested(const QString &subject, const QString &date);
    void defineApplicationRequested(const QString &subject, const QString &date);
    void settingsRequested();
    void alarmsRequested();
    /// The grid was filled with the lessons of `TimetableDate()`.
    void timetableFilled();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Handler = void (TForm1::*)();

    void setupUi();
    QWidget *setupTimetable();
    QWidget *setupHomeworkText();
    QWidget *setupToolbar();
    QWidget *setupDayPanel(int panel);
    void setupComponents();
    void connectHandlers();

    void ListBox1Click() { ListBoxClick(0); }
    void ListBox2Click() { ListBoxClick(1); }
    void ListBox3Click() { ListBoxClick(2); }
    void ListBox4Click() { ListBoxClick(3); }
    void SpeedButton1Click() { DoneClick(0); }
    void SpeedButton2Click() { DoneClick(1); }
    void SpeedButton3Click() { DoneClick(2); }
    void SpeedButton4Click() { DoneClick(3); }
    void SpeedButton11Click() { DeleteClick(0); }
    void SpeedButton12Click() { DeleteClick(1); }
    void SpeedButton13Click() { DeleteClick(2); }
    void SpeedButton14Click() { DeleteClick(3); }
    void ListBoxClick(int panel);
    void DoneClick(int panel);
    void DeleteClick(int panel);
    void ListBox5Click();
    void Button1Click();
    void SpeedButton8Click() { StepDisplayDate(-1); }
    void SpeedButton9Click() { StepDisplayDate(+1); }
    void StepDisplayDate(int direction);
    void StringGrid1Click();
    void StringGrid1CellMoved(int row, int column);
    void SpeedButton80Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton10Click();
    void SpeedButton15Click();
    void TBNArea1LeftClick();
    void TBNArea1RightClick();
    void FormClose();

    /// The alarm check of the alarm list runs here during the preparation,
    /// after the day panels are filled.
    void CheckAlarms();

    /// The lessons of the day the display date stands for, in its A/B week;
    /// the header names the day, and the week while A/B weeks are on.
    void FillTimetable();
    /// The date text of a panel, read from its caption.
    QString PanelDate(int panel) const;
    /// Subject and date of the homework that `Label2` names.
    std::pair<QString, QString> LabelledHomework() const;
    void SetHomeworkButtonsEnabled(bool enabled);
    static QListWidgetItem *SelectedItem(const QListWidget *list);

    QTableWidget *StringGrid1 = nullptr;
    QLabel *LabelHeutige = nullptr;
    QLabel *LabelFaecher = nullptr;
    QToolButton *Image1 = nullptr;
    QToolButton *Image2 = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr;
    QToolButton *SpeedButton80 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton10 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton15 = nullptr;
    QToolButton *ExtrasButton = nullptr;
    ExtrasMenu *m_extrasMenu = nullptr;
    QLabel *LabelLangzeit = nullptr;
    QListWidget *ListBox5 = nullptr;
    QLabel *LabelVersion = nullptr;
    TimetableHint *FirstRunHint = nullptr; // how to enter a timetable, until one is saved
    // The four day panels, GroupBox1..4 with Label8..11, ListBox1..4,
    // SpeedButton1..4 ("Erledigt") and SpeedButton11..14 ("Löschen").
    std::array<QGroupBox *, 4> GroupBox{};
    std::array<QLabel *, 4> PanelHeading{};
    std::array<QListWidget *, 4> ListBox{};
    std::array<QToolButton *, 4> DoneButton{};
    std::array<QToolButton *, 4> DeleteButton{};

    TTBNArea *TBNArea1 = nullptr;
    TXPrint *XPrint1 = nullptr;
    HelpWindow *m_help = nullptr;

    QDate m_displayDate;
    bool m_hideTaskbarButton = false;
    bool m_gridMousePressed = false; // a mouse press moves the grid cursor; the release opens the dialog
    bool m_gridRedirecting = false;
};
