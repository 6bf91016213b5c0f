// The "Ereignisse" tab of the settings window: one-time and recurring events with time, sound and message.
#include "EventTab.h"

#include "EventInput.h"
#include "Kalder/TForm9.h"
#include "appearance/TextScale.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "platform/TCalendar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace {

const QString kWaveDialogTitle = QStringLiteral("Wavedatei einfuegen...");
const QString kWaveFilter = QStringLiteral("Wave - Dateien (*.WAV)|*.WAV|Alle Dateien (*.*)|*.*");
const QString kWaveSuffix = QStringLiteral("WAV");
constexpr int kDefaultTimeIndex = 5; // "6:00"

template <typename Button>
Button *namedButton(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    return button;
}

QLabel *buddyLabel(QWidget *parent, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

}

EventTab::EventTab(QWidget *parent)
    : QWidget(parent)
{
    setupUi();
}

void EventTab::setupUi()
{
    setObjectName(QStringLiteral("EventTab"));

    Button3 = namedButton<QPushButton>(this, "Button3", QStringLiteral("&Hinzufügen"), QStringLiteral("Ereignis einfügen"));
    Button8 = namedButton<QPushButton>(this, "Button8", QStringLiteral("&Entfernen"),
                                       QStringLiteral("ausgewähltes Ereignis löschen"));
    Button7 = namedButton<QPushButton>(this, "Button7", QStringLiteral("&Reorganisation"),
                                       QStringLiteral("Reorganisation aller Daten"));
    connect(Button3, &QPushButton::clicked, this, ErrorReporter::handler(this, &EventTab::Button3Click));
    connect(Button8, &QPushButton::clicked, this, ErrorReporter::handler(this, &EventTab::Button8Click));
    connect(Button7, &QPushButton::clicked, this, ErrorReporter::handler(this, &EventTab::Button7Click));

    auto *dateAndEvent = new QHBoxLayout;
    dateAndEvent->setSpacing(12);
    dateAndEvent->addWidget(setupDateColumn());
    dateAndEvent->addWidget(setupEventColumn(), 1);
    auto *details = new QVBoxLayout;
    details->setSpacing(10);
    details->addLayout(dateAndEvent, 1);
    details->addLayout(setupSoundRow());
    auto *columns = new QHBoxLayout;
    columns->setSpacing(12);
    columns->addWidget(setupKindColumn());
    columns->addLayout(details, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button7);
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button8);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->setSpacing(10);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    // Tab goes from left to right through the columns, the buttons below last.
    const QList<QWidget *> order = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, ListBox1,
                                    SpeedButton3, SpeedButton5, SpeedButton4, Calendar1, CheckBox1, ComboBox1,
                                    Edit5, Memo1, Edit6, Button4, Button7, Button3, Button8};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    ShowMonthCaption();
}

// The kind of event and the names of that kind.
QWidget *EventTab::setupKindColumn()
{
    auto *column = new QWidget(this);

    GroupBox1 = new QGroupBox(QStringLiteral(" Ereignis&typen "), column);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = namedButton<QRadioButton>(GroupBox1, "RadioButton1", QStringLiteral("&Einmaliges Ereignis"),
                                             QStringLiteral("Ereignis an einem einzigen Tag"));
    RadioButton2 = namedButton<QRadioButton>(GroupBox1, "RadioButton2", QStringLiteral("&Woechentliches Ereignis"),
                                             QStringLiteral("Ereignis, das jede Woche wiederkehrt"));
    RadioButton3 = namedButton<QRadioButton>(GroupBox1, "RadioButton3", QStringLiteral("&Monatliches Ereignis"),
                                             QStringLiteral("Ereignis, das jeden Monat wiederkehrt"));
    RadioButton4 = namedButton<QRadioButton>(GroupBox1, "RadioButton4", QStringLiteral("&Jaehrliches Ereignis"),
                                             QStringLiteral("Ereignis, das jedes Jahr wiederkehrt"));
    RadioButton1->setChecked(true);
    auto *kinds = new QVBoxLayout(GroupBox1);
    kinds->setSpacing(4);
    const std::array<std::pair<QRadioButton *, void (EventTab::*)()>, 4> radios = {{
        {RadioButton1, &EventTab::RadioButton1Click},
        {RadioButton2, &EventTab::RadioButton2Click},
        {RadioButton3, &EventTab::RadioButton3Click},
        {RadioButton4, &EventTab::RadioButton4Click},
    }};
    for (const auto &[radio, click] : radios) {
        kinds->addWidget(radio);
        const auto fill = ErrorReporter::handler(this, click);
        connect(radio, &QRadioButton::toggled, this, [fill](bool on) { if (on) fill(); });
    }

    ListBox1 = new QListWidget(column);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(QStringLiteral("Ereignisse der gewählten Art; ein Klick lädt das Ereignis"));
    ListBox1->viewport()->installEventFilter(this);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, ErrorReporter::handler(this, &EventTab::ListBox1Click));
    connect(ListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ErrorReporter::guarded([&] { ListBox1ItemClicked(item); }); });

    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(GroupBox1);
    layout->addWidget(ListBox1, 1);
    column->setFixedWidth(std::max(180, GroupBox1->sizeHint().width() + 4));
    return column;
}

// The date of the event with its month navigation, and the time.
QWidget *EventTab::setupDateColumn()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(TextScale::scaled(220));

    SpeedButton3 = namedButton<QToolButton>(column, "SpeedButton3", QString(), QStringLiteral("letzter Monat"));
    SpeedButton3->setArrowType(Qt::LeftArrow);
    SpeedButton3->setShortcut(QKeySequence(Qt::ALT | Qt::Key_PageUp));
    SpeedButton5 = namedButton<QToolButton>(column, "SpeedButton5", QString(), QStringLiteral("aktueller Monat"));
    SpeedButton5->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SpeedButton5->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    SpeedButton4 = namedButton<QToolButton>(column, "SpeedButton4", QString(), QStringLiteral("nächster Monat"));
    SpeedButton4->setArrowType(Qt::RightArrow);
    SpeedButton4->setShortcut(QKeySequence(Qt::ALT | Qt::Key_PageDown));
    for (QToolButton *button : {SpeedButton3, SpeedButton5, SpeedButton4})
        button->setFixedHeight(26);
    connect(SpeedButton3, &QToolButton::clicked, this, &EventTab::SpeedButton3Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &EventTab::SpeedButton5Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &EventTab::SpeedButton4Click);

    Calendar1 = new TCalendar(column);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setMondayFirst(true);
    Calendar1->setToolTip(QStringLiteral("Datum des Ereignisses"));
    connect(Calendar1, &TCalendar::changed, this, &EventTab::Calendar1Change);

    CheckBox1 = namedButton<QCheckBox>(column, "CheckBox1", QStringLiteral("&Uhrzeit:"), QStringLiteral("zeitabhäniges Ereignis"));
    ComboBox1 = new QComboBox(column);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setToolTip(QStringLiteral("Uhrzeit der Erinnerung (Stunden:Minuten)"));
    for (int hour = 1; hour <= 24; ++hour)
        ComboBox1->addItem(QStringLiteral("%1:00").arg(hour));
    ComboBox1->setCurrentIndex(kDefaultTimeIndex);

    auto *navigation = new QHBoxLayout;
    navigation->setSpacing(2);
    navigation->addWidget(SpeedButton3);
    navigation->addWidget(SpeedButton5, 1);
    navigation->addWidget(SpeedButton4);
    auto *time = new QHBoxLayout;
    time->addWidget(CheckBox1);
    time->addWidget(ComboBox1, 1);

    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(navigation);
    layout->addWidget(Calendar1, 1);
    layout->addSpacing(6);
    layout->addLayout(time);
    return column;
}

// The name and the message of the event.
QWidget *EventTab::setupEventColumn()
{
    auto *column = new QWidget(this);
    Edit5 = new QLineEdit(column);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setToolTip(QStringLiteral("Name des Ereignisses"));
    Memo1 = new QPlainTextEdit(column);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Memo1->setToolTip(QStringLiteral("Meldung der Erinnerung (höchstens %1 Zeichen)").arg(MessageLength));
    connect(Memo1->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { LimitMessage(position, added); });

    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(buddyLabel(column, QStringLiteral("&Ereignis:"), Edit5));
    layout->addWidget(Edit5);
    layout->addSpacing(6);
    layout->addWidget(buddyLabel(column, QStringLiteral("&Meldung:"), Memo1));
    layout->addWidget(Memo1, 1);
    return column;
}

// The reminder sound, across the date and the event column.
QLayout *EventTab::setupSoundRow()
{
    Edit6 = new QLineEdit(this);
    Edit6->setObjectName(QStringLiteral("Edit6"));
    Edit6->setToolTip(QStringLiteral("Wavedatei, die zur Erinnerung gespielt wird"));
    Button4 = namedButton<QPushButton>(this, "Button4", QStringLiteral("&Durchsuchen"), QStringLiteral("Sound auswählen"));
    connect(Button4, &QPushButton::clicked, this, ErrorReporter::handler(this, &EventTab::Button4Click));

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(buddyLabel(this, QStringLiteral("E&rinnerungssound:"), Edit6));
    row->addWidget(Edit6, 1);
    row->addWidget(Button4);
    return row;
}

void EventTab::LoadEventTab()
{
    ShowMonthCaption();
    FillEventList();
}

bool EventTab::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the item already selected loads it again, as one on another
    // item does through the change of the selection.
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
        m_rowAtPress = selected.isEmpty() ? -1 : ListBox1->row(selected.constFirst());
    }
    return QWidget::eventFilter(watched, event);
}

EventKind EventTab::chosenKind() const
{
    if (RadioButton2->isChecked())
        return EventKind::Weekly;
    if (RadioButton3->isChecked())
        return EventKind::Monthly;
    if (RadioButton4->isChecked())
        return EventKind::Yearly;
    return EventKind::OneTime;
}

// The list anew from the file, sorted; `selectName` is selected without being loaded.
void EventTab::FillEventList(const QString &selectName)
{
    const QStringList names = EventInput::sortedNames(EventStore::LoadEventNames(chosenKind()));
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(names);
    const int row = selectName.isEmpty() ? -1 : int(names.indexOf(selectName));
    ListBox1->setCurrentRow(row);
}

void EventTab::ShowMonthCaption()
{
    SpeedButton5->setText(TForm9::MonthNames().at(Calendar1->month() - 1) + QStringLiteral(" - ")
                          + QString::number(Calendar1->year()));
}

void EventTab::ResetFields()
{
    CheckBox1->setChecked(false);
    ComboBox1->setCurrentIndex(kDefaultTimeIndex);
    ComboBox1->setEditText(ComboBox1->itemText(kDefaultTimeIndex));
    Edit5->clear();
    Edit6->clear();
    Memo1->clear();
}

void EventTab::ListBox1Click()
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.constFirst()->text();
    Edit5->setText(name);
    const EventStore::Event event = EventStore::LoadEvent(chosenKind(), name);
    if (event.date)
        Calendar1->setDate(*event.date);
    Edit6->setText(event.sound);
    CheckBox1->setChecked(event.timeDependent);
    ComboBox1->setEditText(event.timeText);
    m_loadingMessage = true;
    Memo1->setPlainText(event.lines.join(u'\n'));
    m_loadingMessage = false;
}

void EventTab::ListBox1ItemClicked(QListWidgetItem *item)
{
    if (ListBox1->row(item) == m_rowAtPress)
        ListBox1Click();
}

void EventTab::Button3Click()
{
    const QString name = EventStore::usableName(Edit5->text());
    if (name.isEmpty() || !InputAccepted(name))
        return;
    const EventKind kind = chosenKind();
    const QString timeText = EventInput::storedTimeText(ComboBox1->currentText(), CheckBox1->isChecked());
    const QStringList lines = EventInput::messageLines(Memo1->toPlainText());
    if (ListBox1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        EventStore::SaveEvent(kind, Calendar1->date(), name, Edit6->text(), timeText, CheckBox1->isChecked(), lines);
    else
        EventStore::ReplaceEvent(kind, Calendar1->date(), name, Edit6->text(), timeText, CheckBox1->isChecked(), lines);
    // Read back, so that an event replaced on the same date leaves the list.
    FillEventList(name);
}

// Refuses what would be stored wrongly or would overwrite another event
// unasked; true when the event may be saved.
bool EventTab::InputAccepted(const QString &name)
{
    const QString time = ComboBox1->currentText();
    if (CheckBox1->isChecked() && !EventInput::isTimeOfDay(time)) {
        Prompt::inform(this, QStringLiteral("Achtung!"),
                       QStringLiteral("\"%1\" ist keine gültige Uhrzeit. Ein zeitabhängiges Ereignis braucht eine "
                                      "Uhrzeit von 0:00 bis 23:59, zum Beispiel 6:00 oder 14:30.").arg(time),
                       QMessageBox::Warning);
        return false;
    }
    if (const QString variant = EventInput::caseVariantOf(name); !variant.isEmpty()) {
        Prompt::inform(this, QStringLiteral("Achtung!"),
                       QStringLiteral("Es gibt schon das Ereignis \"%1\". Ein Name, der sich davon nur in der Groß- "
                                      "und Kleinschreibung unterscheidet, würde dessen Uhrzeit, Sound und Meldung "
                                      "überschreiben. Bitte wählen Sie einen anderen Namen.").arg(variant),
                       QMessageBox::Warning);
        return false;
    }
    const QDate date = Calendar1->date();
    if (const QString other = EventInput::otherEventOn(chosenKind(), date, name); !other.isEmpty()) {
        const Prompt::Question question{
            QStringLiteral("Hinweis"),
            QStringLiteral("Am %1 ist schon das Ereignis \"%2\" eingetragen.\nSoll es durch \"%3\" ersetzt werden?")
                .arg(EventStore::dateText(date), other, name),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
        return Prompt::ask(this, question) == QMessageBox::Yes;
    }
    return true;
}

void EventTab::Button8Click()
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (!selected.isEmpty()) {
        QListWidgetItem *item = selected.constFirst();
        EventStore::RemoveEventEntry(chosenKind(), item->text());
        const QSignalBlocker blocker(ListBox1);
        delete item;
        ListBox1->setCurrentRow(-1);
    }
    ResetFields();
}

void EventTab::Button4Click()
{
    const QString file = FileDialog::getOpenFileName(this, kWaveDialogTitle, FileDialog::fromWindowsFilter(kWaveFilter),
                                                     kWaveSuffix, Edit6->text(), ProgramDirectory());
    if (file.isEmpty())
        return;
    const QFileInfo info(file);
    if (!info.isFile()) {
        Prompt::inform(this, kWaveDialogTitle, QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(file),
                       QMessageBox::Warning);
        return;
    }
    Edit6->setText(info.absoluteFilePath());
}

void EventTab::Button7Click()
{
    EventStore::Reorganisation();
}

void EventTab::SpeedButton3Click()
{
    Calendar1->previousMonth();
}

void EventTab::SpeedButton4Click()
{
    Calendar1->nextMonth();
}

void EventTab::SpeedButton5Click()
{
    Calendar1->jumpToToday();
    ShowMonthCaption();
}

void EventTab::Calendar1Change()
{
    ShowMonthCaption();
}

// Typing stops at the message length: what goes beyond it is taken out of the
// text just added. A loaded message is shown whole and can then only shrink.
void EventTab::LimitMessage(int position, int added)
{
    if (m_loadingMessage || added <= 0)
        return;
    const int excess = Memo1->document()->characterCount() - 1 - MessageLength;
    if (excess <= 0)
        return;
    const int end = std::min(position + added, Memo1->document()->characterCount() - 1);
    QTextCursor cursor(Memo1->document());
    cursor.setPosition(std::max(position, end - excess));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
