// The reminder window.
#include "TForm10.h"

#include "appearance/ThemeColours.h"

#include "DueEvents.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/WavePlayer.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace {
constexpr int kWidth = 380;
constexpr int kHeight = 270;
constexpr int kIconSize = 32;
}

TForm10::TForm10(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setupUi();
    Timer1->start(IdleInterval);
}

TForm10::~TForm10()
{
    // The program may end while a reminder is on screen: it stays unacknowledged
    // and comes back at the next start, but its sound ends here.
    if (m_shown >= 0)
        CloseWAVE();
}

void TForm10::setupUi()
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("Ereignis !!!"));
    setModal(false);
    resize(kWidth, kHeight);
    setMinimumSize(300, 200);

    // A coloured band with the event name, so the reminder catches the eye.
    auto *band = new QFrame(this);
    band->setFrameShape(QFrame::StyledPanel);
    band->setAutoFillBackground(true);
    ThemeColours::follow(band, [band] {
        QPalette bandPalette = band->palette();
        bandPalette.setColor(QPalette::Window, ThemeColours::of(ThemeColours::Colour::BannerBackground));
        bandPalette.setColor(QPalette::WindowText, ThemeColours::of(ThemeColours::Colour::BannerText));
        band->setPalette(bandPalette);
    });
    auto *icon = new QLabel(band);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize, kIconSize));
    Label1 = new QLabel(band);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText); // a name is never read as markup
    Label1->setWordWrap(true);
    QFont nameFont = Label1->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    Label1->setFont(nameFont);
    auto *bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(8, 6, 8, 6);
    bandLayout->addWidget(icon, 0, Qt::AlignTop);
    bandLayout->addWidget(Label1, 1);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setToolTip(QStringLiteral("Nachricht zum Ereignis"));

    Label2 = new QLabel(QStringLiteral("In"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->addItems(DueEvents::SnoozeDelays());
    ComboBox1->setToolTip(QStringLiteral("Zeit bis zur erneuten Erinnerung (Stunden:Minuten)"));
    Label2->setBuddy(ComboBox1);
    Label3 = new QLabel(QStringLiteral("erinnern"), this);
    Label3->setObjectName(QStringLiteral("Label3"));

    Button1 = new QPushButton(QStringLiteral("&Erinnern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Nach der gewählten Zeit noch einmal erinnern"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("&Okay"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(QStringLiteral("Erinnerung bestätigen"));
    Button2->setAutoDefault(false);

    auto *snoozeRow = new QHBoxLayout;
    snoozeRow->addWidget(Label2);
    snoozeRow->addWidget(ComboBox1);
    snoozeRow->addWidget(Label3);
    snoozeRow->addStretch(1);
    snoozeRow->addWidget(Button1);
    snoozeRow->addWidget(Button2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(band);
    layout->addWidget(Memo1, 1);
    layout->addLayout(snoozeRow);

    // Stray keys typed into another program when the reminder appears land in
    // the read-only message and neither snooze nor acknowledge it.
    setTabOrder(Memo1, ComboBox1);
    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, Button2);
    Memo1->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(IdleInterval);

    connect(Button1, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm10::Button1Click));
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(Timer1, &QTimer::timeout, this, ErrorReporter::handler(this, &TForm10::Timer1Timer));
}

void TForm10::ScanDueEvents()
{
    if (m_shown >= 0)
        return; // refilling the queue now would acknowledge another entry on closing
    DueEvents::ScanDueEvents(m_queue);
    CheckDueQueue();
}

void TForm10::TakeScannedEvents(DueQueue &&queue)
{
    m_queue = std::move(queue);
    CheckDueQueue();
}

void TForm10::CheckDueQueue()
{
    Timer1->stop();
    if (m_shown >= 0)
        return; // closing the reminder on screen checks again
    const qsizetype due = m_queue.firstDueBefore(Clock::now());
    if (due < 0) {
        Timer1->start(IdleInterval);
        return;
    }
    Timer1->setInterval(NextInterval);
    ShowDueEntry(due);
    PlayWAVE();
    m_shown = due;
    showReminder();
}

void TForm10::ShowDueEntry(qsizetype index)
{
    const DueEntry &entry = m_queue.at(index);
    Memo1->clear();
    Label1->setText(entry.name);
    const DueEvents::Reminder reminder = DueEvents::LoadReminder(entry.name);
    OpenWAVE(reminder.sound);
    for (const QString &line : reminder.lines)
        Memo1->appendPlainText(line);
    Memo1->moveCursor(QTextCursor::Start);
}

void TForm10::showReminder()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    QApplication::alert(this);
}

void TForm10::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely maps it again
        FormShow();
}

void TForm10::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Switching the desktop or minimising unmaps the window without closing it.
    if (!event->spontaneous())
        FormHide();
}

void TForm10::FormShow()
{
    ComboBox1->setCurrentIndex(0);
    Memo1->setFocus();
}

void TForm10::FormHide()
{
    if (m_shown < 0)
        return;
    const qsizetype shown = std::exchange(m_shown, -1);
    std::exception_ptr failure;
    try {
        DueEvents::Acknowledge(m_queue, shown);
    } catch (const std::exception &) {
        failure = std::current_exception();
    }
    // The sound ends before a failure is shown, and the next check waits until
    // the message has been read; the interval is still the short one.
    CloseWAVE();
    if (failure)
        ErrorReporter::guarded([&] { std::rethrow_exception(failure); });
    Timer1->start();
}

void TForm10::Button1Click()
{
    // A snooze that cannot be written keeps the reminder on screen, so closing
    // it never acknowledges an occurrence whose follow-up was lost.
    if (m_shown >= 0 && !DueEvents::Snooze(m_queue, m_shown, ComboBox1->currentText()))
        return;
    hide();
}

void TForm10::Button2Click()
{
    hide();
}

void TForm10::Timer1Timer()
{
    CheckDueQueue();
}
