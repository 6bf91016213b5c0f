// The homework entry dialog.
#include "TForm2.h"

#include "HomeworkDate.h"
#include "Kalder/TForm9.h"
#include "appearance/TextScale.h"
#include "classlist/ClassListState.h"
#include "model/HomeworkStore.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"
#include "platform/TCalendar.h"
#include "recurring/RecurringHomework.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int kWidth = 360; // room for the repeat box beside the buttons
constexpr int kCollapsedHeight = 143; // the calendar part hidden
constexpr int kExpandedHeight = 306;  // the calendar part shown
constexpr int kDateLength = 10;       // "dd.mm.yyyy"

QToolButton *makeArrowButton(QWidget *parent, const QString &name, Qt::ArrowType arrow, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}
}

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setupUi();
}

void TForm2::setupUi()
{
    setObjectName(QStringLiteral("TForm2"));
    setFixedSize(TextScale::scaled(kWidth), TextScale::scaled(kCollapsedHeight));

    // The upper part, always shown: subject, date, fields and buttons.
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont subjectFont = Label4->font();
    subjectFont.setBold(true);
    Label4->setFont(subjectFont);
    Label4->setGeometry(8, 8, 152, 26);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont dateFont = Label5->font();
    dateFont.setPointSize(14);
    dateFont.setBold(true);
    Label5->setFont(dateFont);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label5->setGeometry(kWidth - 128, 6, 120, 30);

    Label1 = new QLabel(QStringLiteral("&Für:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 42, 40, 24);
    Edit1 = new QLineEdit(QStringLiteral("00.00.0000"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kDateLength);
    Edit1->setGeometry(48, 42, 96, 24);
    Label1->setBuddy(Edit1);

    SpeedButton3 = makeArrowButton(this, QStringLiteral("SpeedButton3"), Qt::DownArrow, QStringLiteral("Kalender"));
    SpeedButton3->setAutoRaise(false);
    SpeedButton3->setGeometry(148, 42, 24, 24);
    SpeedButton3->setAccessibleDescription(QStringLiteral("Den Monatskalender zum Wählen des Datums ein- oder ausblenden"));

    // Beside the date, shown only while a class list is set up.
    ClassShareCheck = new QCheckBox(QStringLiteral("Für die &Klasse"), this);
    ClassShareCheck->setObjectName(QStringLiteral("ClassShareCheck"));
    ClassShareCheck->setGeometry(180, 42, kWidth - 188, 24);
    ClassShareCheck->hide();

    Label2 = new QLabel(QStringLiteral("&Was:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 74, 40, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(48, 74, kWidth - 56, 24);
    Label2->setBuddy(Edit2);

    RepeatCheck = new QCheckBox(QStringLiteral("jede Stunde &wiederholen"), this);
    RepeatCheck->setObjectName(QStringLiteral("RepeatCheck"));
    RepeatCheck->setToolTip(QStringLiteral("Trägt diese Hausaufgabe nach jedem Eintragen und bei jedem Start "
                                           "auch für die nächste Stunde des Fachs ein"));
    RepeatCheck->setGeometry(8, 108, kWidth - 184, 28);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kWidth - 172, 108, 80, 28);
    Button2 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kWidth - 88, 108, 80, 28);

    // The lower part: the month heading over the month grid between its two
    // month steps, below the upper part's height so that the collapsed dialog
    // leaves it out.
    m_calendarPart = new QWidget(this);
    m_calendarPart->setGeometry(0, kCollapsedHeight - 2, kWidth, kExpandedHeight - kCollapsedHeight + 2);
    auto *line = new QFrame(m_calendarPart);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 0, kWidth - 16, 2);
    MonthHeading = new QLabel(m_calendarPart);
    MonthHeading->setObjectName(QStringLiteral("MonthHeading"));
    QFont headingFont = MonthHeading->font();
    headingFont.setBold(true);
    MonthHeading->setFont(headingFont);
    MonthHeading->setAlignment(Qt::AlignCenter);
    MonthHeading->setToolTip(QStringLiteral("angezeigter Monat"));
    MonthHeading->setGeometry(30, 5, kWidth - 60, 20);
    Image2 = makeArrowButton(m_calendarPart, QStringLiteral("Image2"), Qt::LeftArrow, QStringLiteral("Vormonat"));
    Image2->setGeometry(6, 27, 22, 134);
    Calendar1 = new TCalendar(m_calendarPart);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(30, 27, kWidth - 60, 134);
    Image3 = makeArrowButton(m_calendarPart, QStringLiteral("Image3"), Qt::RightArrow, QStringLiteral("Folgemonat"));
    Image3->setGeometry(kWidth - 28, 27, 22, 134);
    m_calendarPart->hide();
    showMonthHeading();

    TextScale::scaleChildren(this); // a larger desktop font gets the room it needs

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, RepeatCheck);
    setTabOrder(RepeatCheck, ClassShareCheck);
    setTabOrder(ClassShareCheck, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, SpeedButton3);

    connect(Calendar1, &TCalendar::changed, this, &TForm2::Calendar1Change);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm2::SpeedButton3Click);
    connect(Image2, &QToolButton::clicked, this, &TForm2::Image2Click);
    connect(Image3, &QToolButton::clicked, this, &TForm2::Image3Click);
    connect(Button1, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm2::Button1Click));
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::openForSubject(const QString &subject)
{
    showCalendarPart(false);
    setWindowTitle(subject);
    Label4->setText(subject);
    if (subject.isEmpty())
        return;
    const QDate due = HomeworkDate::NextLessonDate(subject);
    showDueDate(DateText::formatLong(due));
    Calendar1->setDate(due);
    show();
    raise();
    activateWindow();
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores it
        FormShow();
}

void TForm2::FormShow()
{
    Edit2->clear();
    RepeatCheck->setChecked(false);
    const std::optional<bool> share = ClassListState::shareAvailable();
    ClassShareCheck->setChecked(false);
    ClassShareCheck->setVisible(share.has_value());
    ClassShareCheck->setEnabled(share.value_or(false));
    ClassShareCheck->setToolTip(share.value_or(true) ? QStringLiteral("Trägt diese Hausaufgabe beim nächsten Abgleich auch in die Aufgabenliste der Klasse ein")
                                                     : QStringLiteral("Die Aufgabenliste der Klasse ist für Sie nur lesbar; "
                                                                      "Sie können dort nichts eintragen"));
}

void TForm2::Calendar1Change()
{
    showDueDate(DateText::formatLong(Calendar1->date()));
    showMonthHeading();
}

void TForm2::SpeedButton3Click()
{
    showCalendarPart(height() == TextScale::scaled(kCollapsedHeight));
}

void TForm2::Image2Click()
{
    Calendar1->previousMonth();
}

void TForm2::Image3Click()
{
    Calendar1->nextMonth();
}

void TForm2::Button1Click()
{
    const HomeworkDate::Checked checked = HomeworkDate::checkDueDate(Edit1->text());
    Edit1->setMaxLength(std::max<int>(kDateLength, checked.text.size())); // a refused text is shown whole
    Edit1->setText(checked.text);
    if (!checked.accepted) {
        Prompt::ask(this, {QStringLiteral("Achtung!"),
                           QStringLiteral("Die Daten werden nicht gesichert, da das von Ihnen angegebene Datum falsch definiert wurde!")
                               + u'\n' + QStringLiteral("Richtig angegeben sieht es so aus: TT.MM.YYYY"),
                           QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
        HomeworkStore::PruneHomeworkDates();
        RecurringHomework::apply();
        return;
    }
    if (ClassShareCheck->isEnabled() && !ClassShareCheck->isHidden() && ClassShareCheck->isChecked())
        ClassListState::requestShare(DateText::parse(checked.text), windowTitle());
    HomeworkStore::addHomework(checked.text, windowTitle(), Edit2->text());
    if (RepeatCheck->isChecked())
        RecurringHomework::addRule(windowTitle(), Edit2->text());
    hide();
    // The pruning runs before the main window refreshes its panels, so that a
    // date already past (5.3.27 is 1927) never stands in a panel whose entries
    // would then be written into a section that no longer has a due date.
    try {
        HomeworkStore::PruneHomeworkDates();
        RecurringHomework::apply();
    } catch (...) {
        Q_EMIT homeworkStored();
        throw;
    }
    Q_EMIT homeworkStored();
}

void TForm2::Button2Click()
{
    hide();
}

void TForm2::showCalendarPart(bool shown)
{
    m_calendarPart->setVisible(shown);
    SpeedButton3->setArrowType(shown ? Qt::UpArrow : Qt::DownArrow);
    setFixedHeight(TextScale::scaled(shown ? kExpandedHeight : kCollapsedHeight));
}

void TForm2::showDueDate(const QString &text)
{
    Edit1->setMaxLength(kDateLength);
    Edit1->setText(text);
    Label5->setText(text);
}

void TForm2::showMonthHeading()
{
    MonthHeading->setText(TForm9::MonthNames().at(Calendar1->month() - 1) + QStringLiteral(" - ")
                          + QString::number(Calendar1->year()));
}
