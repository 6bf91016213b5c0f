// The month calendar picker.
#include "TForm9.h"

#include "PickerPreset.h"
#include "platform/DateText.h"
#include "platform/TCalendar.h"

#include <QFrame>
#include <QToolButton>

namespace {
constexpr int kWidth = 212;
constexpr int kButtonHeight = 24;
constexpr int kCalendarHeight = 147;

TForm9::ModalAnswer &modalAnswer()
{
    static TForm9::ModalAnswer answer;
    return answer;
}

QToolButton *makeButton(QWidget *parent, const QString &name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    return button;
}
}

TForm9::TForm9()
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
{
    setupUi();
}

TForm9 &TForm9::instance()
{
    // Never deleted: it lives as long as the program, like every window.
    static TForm9 *const picker = new TForm9;
    return *picker;
}

void TForm9::setupUi()
{
    setObjectName(QStringLiteral("TForm9"));
    setFixedSize(kWidth + 2, kButtonHeight + kCalendarHeight + 3);

    // No window border: a thin line keeps the picker apart from what lies under it.
    auto *outline = new QFrame(this);
    outline->setFrameShape(QFrame::Box);
    outline->setFrameShadow(QFrame::Plain);
    outline->setGeometry(rect());

    SpeedButton1 = makeButton(this, QStringLiteral("SpeedButton1"));
    SpeedButton1->setArrowType(Qt::LeftArrow);
    SpeedButton1->setGeometry(1, 1, kButtonHeight, kButtonHeight);
    SpeedButton2 = makeButton(this, QStringLiteral("SpeedButton2"));
    QFont monthFont = SpeedButton2->font();
    monthFont.setBold(true);
    SpeedButton2->setFont(monthFont);
    SpeedButton2->setGeometry(1 + kButtonHeight, 1, kWidth - 2 * kButtonHeight, kButtonHeight);
    SpeedButton3 = makeButton(this, QStringLiteral("SpeedButton3"));
    SpeedButton3->setArrowType(Qt::RightArrow);
    SpeedButton3->setGeometry(1 + kWidth - kButtonHeight, 1, kButtonHeight, kButtonHeight);

    Calendar1 = new TCalendar(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(1, 2 + kButtonHeight, kWidth, kCalendarHeight);
    showMonthName();

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm9::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm9::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm9::SpeedButton3Click);
    connect(Calendar1, &TCalendar::doubleClicked, this, &TForm9::Calendar1DblClick);
}

QDate TForm9::pick(QPoint topLeft, const PickerPreset &preset)
{
    // One element at a time under the grid's rules: a day the held month
    // lacks is ignored; without a year the grid shows today instead.
    if (preset.day)
        Calendar1->setDay(*preset.day);
    if (preset.month)
        Calendar1->setMonth(*preset.month);
    if (preset.year)
        Calendar1->setYear(*preset.year);
    else
        Calendar1->jumpToToday();
    move(topLeft);
    showMonthName();
    runModal();
    return Calendar1->date();
}

const QStringList &TForm9::MonthNames()
{
    static const QStringList names = {
        QStringLiteral("Januar"), QStringLiteral("Februar"), QStringLiteral("März"), QStringLiteral("April"),
        QStringLiteral("Mai"), QStringLiteral("Juni"), QStringLiteral("Juli"), QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember")};
    return names;
}

void TForm9::setModalAnswer(ModalAnswer answer)
{
    modalAnswer() = std::move(answer);
}

void TForm9::SpeedButton1Click()
{
    Calendar1->previousMonth();
    showMonthName();
}

void TForm9::SpeedButton2Click()
{
    Calendar1->jumpToToday();
    showMonthName();
}

void TForm9::SpeedButton3Click()
{
    Calendar1->nextMonth();
    showMonthName();
}

void TForm9::Calendar1DblClick()
{
    accept();
}

void TForm9::showMonthName()
{
    SpeedButton2->setText(MonthNames().at(Calendar1->month() - 1));
}

void TForm9::runModal()
{
    if (const ModalAnswer answer = modalAnswer()) {
        show();
        answer(*this);
        hide();
        return;
    }
    exec();
}

QString PickDate(QPoint topLeft, const QString &dateText)
{
    const PickerPreset preset = PickerPreset::fromText(dateText);
    return DateText::formatShort(TForm9::instance().pick(topLeft, preset));
}
