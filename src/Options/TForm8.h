// The settings window: timetable, holidays, events, research links and grades on five tabs, and the "Extras" tab.
#pragma once

#include "model/GradeArithmetic.h"
#include "model/TimetableStore.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableWidget;
class EventTab;
class ExtrasTab;
class GradeTab;
class ResearchTab;

class TForm8 final : public QWidget
{
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);

    /// The pages of the "Ereignisse", "Internet - Recherche" and "Noten" tabs.
    QWidget *tabEreignisse() const { return TabEreignisse; }
    QWidget *tabInternet() const { return TabInternet; }
    QWidget *tabNoten() const { return TabNoten; }
    /// The last tab, "Extras": the settings of the added functions.
    ExtrasTab *extrasTab() const { return m_extrasTab; }

    /// Loads every tab from the data files; runs each time the window becomes
    /// visible, so unsaved edits on the tabs are lost then.
    void FormShow();
    /// Edit mode of the timetable is on exactly when the caption of `Button5`
    /// is not "&Editmode (aus)".
    bool editMode() const;
    /// Hides the window without saving: the cancel button of every tab.
    void Button2Click();
    /// Where the date picker opens for a holiday field: just below the
    /// field's lower left corner, counted from the window's frame.
    QPoint PickerPosition(const QWidget *field) const;

    /// The grade arithmetic of the "Noten" tab.
    static QString SNoten(quint8 value) { return GradeArithmetic::SNoten(value); }
    static QString SPunkte(int value) { return GradeArithmetic::SPunkte(value); }
    static quint8 NotenS(const QString &text) { return GradeArithmetic::NotenS(text); }
    static quint8 PunkteS(const QString &text) { return GradeArithmetic::PunkteS(text); }
    static double Berechne(const GradeNode &category) { return GradeArithmetic::Berechne(category); }

Q_SIGNALS:
    /// "Standardanwendung" of the subject menu, with the text of the selected slot.
    void standardApplicationRequested(const QString &subject);
    /// The timetable was written to the settings file.
    void timetableSaved();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupUi();
    QWidget *setupTimetableTab();
    void setupSubjectMenu();
    QWidget *setupHolidayTab();

    // "Dezuvedired": the timetable, edit mode, printing, autostart.
    void LoadTimetable();
    TimetableGrid gridContents() const;
    void setEditMode(bool on);
    void finishCellEdit();
    void Button5Click();
    void Button6Click();
    void BitBtn1Click();
    void TimetableImportButtonClick();
    void AutoStartCheckClick();
    void StringGrid1ContextPopup(const QPoint &position);
    void SubjectClick(const QString &text);
    void StandardanwendungClick();

    // "Dezuvedired", A/B weeks: both weeks are kept in memory while the tab is open.
    QLayout *setupWeekRow(QWidget *page);
    void LoadWeeks();
    void updateWeekControls();
    SchoolWeeks::Options weekOptions() const;
    void keepShownWeek();
    void WeekABComboChange(Week week);
    void WeekABCheckClick(bool on);
    void SaveWeeks();
    QStringList PrintoutLines();

    // "Ferien": the six holiday periods.
    void LoadHolidays();
    void Button1Click();
    void PickDateForEdit(QLineEdit *field);

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabDezuvedired = nullptr;
    QWidget *TabFerien = nullptr;
    QWidget *TabEreignisse = nullptr;
    QWidget *TabInternet = nullptr;
    QWidget *TabNoten = nullptr;
    EventTab *m_eventTab = nullptr;
    GradeTab *m_gradeTab = nullptr;
    ResearchTab *m_researchTab = nullptr;
    ExtrasTab *m_extrasTab = nullptr;

    QTableWidget *StringGrid1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *TimetableImportButton = nullptr;
    QPushButton *Button6 = nullptr;
    QCheckBox *AutoStartCheck = nullptr;
    QCheckBox *WeekABCheck = nullptr;
    QComboBox *WeekABCombo = nullptr;
    QDateEdit *WeekReferenceEdit = nullptr;
    QComboBox *WeekCountingCombo = nullptr;
    std::array<TimetableGrid, 2> m_weekGrids; // weeks A and B
    Week m_shownWeek = Week::A;

    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    /// `Edit1` .. `Edit14` in the row order of the periods: first day, last day.
    std::array<QLineEdit *, 12> m_holidayFields{};
};
