// The alarm list window.
#include "TForm5.h"

#include "model/AlarmStore.h"
#include "Kalder/TForm9.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"
#include "platform/Pixmaps.h"
#include "platform/FileDialog.h"
#include "platform/ProgramDirectory.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>

// Resources of a static library are registered by hand; this must stand outside any namespace.
static void initAlarmWindowResources()
{
    Q_INIT_RESOURCE(kalmora);
}

namespace {
constexpr int kWidth = 330;
constexpr int kHeight = 252;
constexpr int kButtonSize = 28;

const QString kNoSelectionCaption = QStringLiteral("Meldung:");
const QString kWaveDialogTitle = QStringLiteral("Wave-File bestimmen");
const QString kWaveFilter = QStringLiteral("Wave-Dateien (*.WAV)|*.WAV|Alle Dateien|*.*");
const QString kWaveSuffix = QStringLiteral("WAV");

QToolButton *speedButton(QWidget *parent, const char *name, const QIcon &icon, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(icon);
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    return button;
}
}

TForm5::TForm5(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    initAlarmWindowResources();
    setupUi();
}

void TForm5::setupUi()
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Alarm"));
    setFixedSize(kWidth, kHeight);

    SpeedButton1 = speedButton(this, "SpeedButton1", Pixmaps::buttonIcon(QStringLiteral("alarm")),
                               QStringLiteral("Neuer Alarm (Datum wählen)"));
    SpeedButton1->setGeometry(8, 8, kButtonSize, kButtonSize);
    SpeedButton2 = speedButton(this, "SpeedButton2", Pixmaps::buttonIcon(QStringLiteral("delete")),
                               QStringLiteral("Alarm löschen"));
    SpeedButton2->setGeometry(8 + kButtonSize + 4, 8, kButtonSize, kButtonSize);
    SpeedButton3 = speedButton(this, "SpeedButton3", Pixmaps::buttonIcon(QStringLiteral("save")),
                               QStringLiteral("Meldung speichern"));
    SpeedButton3->setGeometry(8 + 2 * (kButtonSize + 4), 8, kButtonSize, kButtonSize);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBox1->setToolTip(QStringLiteral("Rechte Maustaste: Wave-File bestimmen"));
    ListBox1->setGeometry(8, 44, 110, kHeight - 44 - 46);

    Label2 = new QLabel(kNoSelectionCaption, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(128, 44, kWidth - 136, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("Meldung des gewählten Alarms"));
    Edit1->setGeometry(128, 68, kWidth - 136, 26);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kWidth - 176, kHeight - 38, 80, 28);
    Button2 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kWidth - 88, kHeight - 38, 80, 28);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    WaveFilebestimmen1 = PopupMenu1->addAction(QStringLiteral("Wave-File bestimmen"));
    WaveFilebestimmen1->setObjectName(QStringLiteral("WaveFilebestimmen1"));

    setTabOrder(ListBox1, Edit1);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, SpeedButton1);
    setTabOrder(SpeedButton1, SpeedButton2);
    setTabOrder(SpeedButton2, SpeedButton3);

    connect(ListBox1, &QListWidget::itemSelectionChanged, this, ErrorReporter::handler(this, &TForm5::ListBox1Click));
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &position) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(position)); });
    connect(WaveFilebestimmen1, &QAction::triggered, this, ErrorReporter::handler(this, &TForm5::WaveFilebestimmen1Click));
    connect(SpeedButton1, &QToolButton::clicked, this, ErrorReporter::handler(this, &TForm5::SpeedButton1Click));
    connect(SpeedButton2, &QToolButton::clicked, this, ErrorReporter::handler(this, &TForm5::SpeedButton2Click));
    connect(SpeedButton3, &QToolButton::clicked, this, ErrorReporter::handler(this, &TForm5::SpeedButton3Click));
    connect(Button1, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm5::Button1Click));
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &TForm5::Button2Click);
}

void TForm5::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores it
        ErrorReporter::guarded([this] { FormShow(); });
}

void TForm5::FormShow()
{
    // Emptied first, so that a sort that cannot be written leaves no stale list.
    ListBox1->clear();
    Label2->setText(kNoSelectionCaption);
    Edit1->clear();
    ListBox1->addItems(AlarmStore::SortAlarms());
}

void TForm5::ListBox1Click()
{
    const QListWidgetItem *item = selectedItem();
    Label2->setText(item ? item->text() : kNoSelectionCaption);
    Edit1->setText(item ? AlarmStore::message(item->text()) : QString());
}

void TForm5::Button1Click()
{
    saveSelectedMessage();
    hide();
}

void TForm5::Button2Click()
{
    hide();
}

void TForm5::SpeedButton1Click()
{
    const QString picked = PickDate(pickerPosition(), DateText::formatLong(Clock::today()));
    const AlarmStore::AddedAlarm added = AlarmStore::addAlarm(picked);
    const QList<QListWidgetItem *> listed = ListBox1->findItems(added.key, Qt::MatchFixedString);
    if (listed.isEmpty())
        ListBox1->addItem(added.key); // takes its sorted place at the next showing
    else if (!added.created)
        ListBox1->setCurrentItem(listed.constFirst()); // the alarm already there, with its message
}

void TForm5::SpeedButton2Click()
{
    QListWidgetItem *item = selectedItem();
    if (!item)
        return;
    AlarmStore::deleteAlarm(item->text());
    // Nothing is selected afterwards, rather than the item that moves up.
    ListBox1->setCurrentItem(nullptr);
    delete item;
    ListBox1->clearSelection();
    Label2->setText(kNoSelectionCaption);
    Edit1->clear();
}

void TForm5::SpeedButton3Click()
{
    saveSelectedMessage();
}

void TForm5::WaveFilebestimmen1Click()
{
    const QListWidgetItem *item = selectedItem();
    if (!item)
        return;
    const QString key = item->text();
    const QString file = FileDialog::getOpenFileName(this, kWaveDialogTitle, FileDialog::fromWindowsFilter(kWaveFilter),
                                                     kWaveSuffix, AlarmStore::sound(key), ProgramDirectory());
    if (!file.isEmpty())
        AlarmStore::setSound(key, file);
}

QListWidgetItem *TForm5::selectedItem() const
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void TForm5::saveSelectedMessage()
{
    const QListWidgetItem *item = selectedItem();
    if (item && Label2->text() != kNoSelectionCaption)
        AlarmStore::saveMessage(item->text(), Edit1->text());
}

QPoint TForm5::pickerPosition() const
{
    // Just below the new-alarm button: the window's outer top-left corner,
    // plus its frame above the client area, plus the button's own offsets.
    const QRect outer = frameGeometry();
    return {outer.left() + SpeedButton1->x(),
            outer.top() + (outer.height() - height()) + SpeedButton1->y() + SpeedButton1->height()};
}
