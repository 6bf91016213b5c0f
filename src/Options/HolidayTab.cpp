// The "Ferien" tab of the settings window: the first and last day of the six holiday periods.
#include "TForm8.h"

#include "model/HolidayStore.h"
#include "appearance/TextScale.h"
#include "platform/ErrorReporter.h"

#if __has_include("Kalder/TForm9.h")
#include "Kalder/TForm9.h"
#define KALMORA_HAS_DATE_PICKER 1
#endif
#if __has_include("holidays/HolidayLoader.h")
#include "holidays/HolidayLoader.h"
#define KALMORA_HAS_HOLIDAY_TABLE 1
#endif

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

/// The controls of one period's row: first-day field, last-day field and their picker buttons.
struct HolidayRow
{
    const char *firstEdit;
    const char *lastEdit;
    const char *firstButton;
    const char *lastButton;
};

constexpr HolidayRow kRows[] = {
    {"Edit1", "Edit2", "SpeedButton1", "SpeedButton2"},
    {"Edit4", "Edit3", "SpeedButton8", "SpeedButton9"},
    {"Edit9", "Edit10", "SpeedButton10", "SpeedButton11"},
    {"Edit7", "Edit8", "SpeedButton12", "SpeedButton13"},
    {"Edit13", "Edit14", "SpeedButton14", "SpeedButton15"},
    {"Edit11", "Edit12", "SpeedButton16", "SpeedButton17"},
};

// A small calendar sheet: the picture of the picker buttons.
QIcon calendarIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(80, 80, 80));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(190, 40, 40));
    painter.setPen(QColor(120, 120, 120));
    for (int y = 8; y <= 12; y += 2) {
        for (int x = 3; x <= 12; x += 3)
            painter.drawPoint(x, y);
    }
    return QIcon(pixmap);
}

// The one call into the calendar picker; without the picker the text stays as it is.
QString pickDate(QPoint topLeft, const QString &dateText)
{
#ifdef KALMORA_HAS_DATE_PICKER
    return PickDate(topLeft, dateText);
#else
    Q_UNUSED(topLeft);
    return dateText;
#endif
}

}

QWidget *TForm8::setupHolidayTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabFerien"));

    auto *title = new QLabel(QStringLiteral("Ferienplanung"), page);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    const QIcon icon = calendarIcon();
    const auto makeField = [&](const char *name) {
        auto *field = new QLineEdit(page);
        field->setObjectName(QString::fromLatin1(name));
        field->setFixedWidth(TextScale::scaled(110));
        return field;
    };
    const auto makeButton = [&](const char *name, QLineEdit *field) {
        auto *button = new QToolButton(page);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(icon);
        button->setToolTip(QStringLiteral("Kalender aufrufen"));
        connect(button, &QToolButton::clicked, this,
                [this, field] { ErrorReporter::guarded([&] { PickDateForEdit(field); }); });
        return button;
    };
    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(10);
    for (int i = 0; i < 6; ++i) {
        const HolidayRow &row = kRows[i];
        QLineEdit *first = makeField(row.firstEdit);
        QLineEdit *last = makeField(row.lastEdit);
        m_holidayFields[2 * i] = first;
        const QString period = QString::fromUtf16(HolidayStore::Periods()[i].label);
        first->setAccessibleName(period + QStringLiteral(", erster Tag"));
        last->setAccessibleName(period + QStringLiteral(", letzter Tag"));
        m_holidayFields[2 * i + 1] = last;
        rows->addWidget(new QLabel(QString::fromUtf16(HolidayStore::Periods()[i].label), page), i, 0);
        rows->addWidget(first, i, 1);
        rows->addWidget(makeButton(row.firstButton, first), i, 2);
        rows->itemAtPosition(i, 2)->widget()->setAccessibleName(QStringLiteral("Kalender: ") + first->accessibleName());
        auto *until = new QLabel(QStringLiteral("–"), page);
        until->setAlignment(Qt::AlignCenter);
        until->setMinimumWidth(18);
        rows->addWidget(until, i, 3);
        rows->addWidget(last, i, 4);
        rows->addWidget(makeButton(row.lastButton, last), i, 5);
        rows->itemAtPosition(i, 5)->widget()->setAccessibleName(QStringLiteral("Kalender: ") + last->accessibleName());
    }
    rows->setColumnMinimumWidth(0, 100);
    rows->setColumnStretch(6, 1);

    Button1 = new QPushButton(QStringLiteral("Ü&bernehmen"), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Änderungen übernehmen"));
    Button2 = new QPushButton(QStringLiteral("&Abbrechen"), page);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(QStringLiteral("Abbrechen"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 16, 16, 12);
    layout->addWidget(title);
    layout->addSpacing(14);
    layout->addLayout(rows);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm8::Button1Click));
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
#ifdef KALMORA_HAS_HOLIDAY_TABLE
    // Left of the stretch, so that the tab's own buttons keep their place; installed
    // after the connections above, since it follows what "Übernehmen" stored.
    buttons->insertWidget(0, HolidayLoader::install(page, Button1, m_holidayFields));
#endif
    return page;
}

void TForm8::LoadHolidays()
{
    const QStringList texts = HolidayStore::LoadHolidays();
    for (size_t i = 0; i < m_holidayFields.size(); ++i)
        m_holidayFields[i]->setText(texts.value(int(i)));
}

void TForm8::Button1Click()
{
    QStringList texts;
    for (const QLineEdit *field : m_holidayFields)
        texts.append(field->text());
    HolidayStore::SaveHolidays(texts);
}

void TForm8::PickDateForEdit(QLineEdit *field)
{
    field->setText(pickDate(PickerPosition(field), field->text()));
}

QPoint TForm8::PickerPosition(const QWidget *field) const
{
    // The window's outer top-left corner, plus its frame above the client
    // area, plus the tab sheet's and the field's own offsets.
    const QRect outer = frameGeometry();
    const QPoint sheet = TabFerien->mapTo(this, QPoint(0, 0));
    const QPoint inSheet = field->mapTo(TabFerien, QPoint(0, 0));
    return {outer.left() + sheet.x() + inSheet.x(),
            outer.top() + (outer.height() - height()) + sheet.y() + inSheet.y() + field->height()};
}
