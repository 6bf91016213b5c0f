// The dialog "Ferien laden": a state and school year chosen from the holiday table, their periods shown.
#include "HolidayLoadDialog.h"

#include "platform/DateText.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

/// The rows of the preview in the order of the school year.
constexpr size_t kSchoolYearOrder[] = {4, 5, 0, 1, 2, 3};

QString pieceText(const SchoolHolidayTable::Piece &piece)
{
    if (piece.first == piece.last)
        return DateText::formatShort(piece.first);
    return DateText::formatShort(piece.first) + QStringLiteral(" – ") + DateText::formatShort(piece.last);
}

/// "2025/26, 2026/27 und 2027/28".
QString enumeration(const QStringList &items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") + items.last();
}

/// Ascending school years with runs of consecutive ones drawn together: "2025/26 bis 2029/30 und 2031/32".
QString yearRanges(const QStringList &years)
{
    QStringList runs;
    for (qsizetype first = 0; first < years.size();) {
        qsizetype last = first;
        while (last + 1 < years.size() && years[last + 1] == SchoolHolidayTable::nextSchoolYear(years[last]))
            ++last;
        runs.append(last == first ? years[first] : years[first] + QStringLiteral(" bis ") + years[last]);
        first = last + 1;
    }
    return enumeration(runs);
}

}

HolidayLoadDialog::HolidayLoadDialog(SchoolHolidayTable table, const QString &state, const QString &year, QWidget *parent)
    : QDialog(parent)
    , m_table(std::move(table))
{
    setupUi();
    HolidayStateCombo->addItems(m_table.states());
    if (const int index = HolidayStateCombo->findText(state); index >= 0)
        HolidayStateCombo->setCurrentIndex(index);
    QStringList years;
    for (const auto &entry : m_table.schoolYears()) {
        if (!years.contains(entry.year))
            years.append(entry.year);
    }
    if (!years.contains(year))
        years.append(year);
    years.sort();
    HolidayYearCombo->addItems(years);
    HolidayYearCombo->setCurrentText(year);
    ShowPreview();
    connect(HolidayStateCombo, &QComboBox::currentIndexChanged, this, &HolidayLoadDialog::ShowPreview);
    connect(HolidayYearCombo, &QComboBox::currentIndexChanged, this, &HolidayLoadDialog::ShowPreview);
}

void HolidayLoadDialog::setupUi()
{
    setObjectName(QStringLiteral("HolidayLoadDialog"));
    setWindowTitle(QStringLiteral("Ferien laden"));

    HolidayStateCombo = new QComboBox(this);
    HolidayStateCombo->setObjectName(QStringLiteral("HolidayStateCombo"));
    HolidayStateCombo->setToolTip(QStringLiteral("Das Bundesland, in dem die Schule liegt"));
    HolidayYearCombo = new QComboBox(this);
    HolidayYearCombo->setObjectName(QStringLiteral("HolidayYearCombo"));
    HolidayYearCombo->setToolTip(QStringLiteral("Das Schuljahr (1. August bis 31. Juli)"));
    auto *choice = new QFormLayout;
    auto *stateLabel = new QLabel(QStringLiteral("Bundes&land:"), this);
    stateLabel->setBuddy(HolidayStateCombo);
    auto *yearLabel = new QLabel(QStringLiteral("&Schuljahr:"), this);
    yearLabel->setBuddy(HolidayYearCombo);
    choice->addRow(stateLabel, HolidayStateCombo);
    choice->addRow(yearLabel, HolidayYearCombo);

    HolidayPreview = new QTableWidget(6, 3, this);
    HolidayPreview->setObjectName(QStringLiteral("HolidayPreview"));
    HolidayPreview->setHorizontalHeaderLabels(
        {QStringLiteral("Ferien"), QStringLiteral("Ins Feld"), QStringLiteral("Weitere freie Tage")});
    HolidayPreview->verticalHeader()->hide();
    HolidayPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    HolidayPreview->setSelectionMode(QAbstractItemView::NoSelection);
    HolidayPreview->setFocusPolicy(Qt::NoFocus);
    HolidayPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    HolidayPreview->horizontalHeader()->setStretchLastSection(true);
    HolidayPreview->setMinimumWidth(520);
    HolidayPreview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HolidayPreview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HolidayPreview->setToolTip(QStringLiteral("Die Ferien, die „Übernehmen“ in die Felder schreibt"));

    HolidaySourceLabel = new QLabel(QStringLiteral("Die Felder erhalten den längsten Abschnitt der Ferien; einzelne "
                                                   "freie Tage daneben stehen rechts. Gespeichert wird erst mit "
                                                   "„Übernehmen“ auf der Seite „Ferien“."),
                                    this);
    HolidaySourceLabel->setObjectName(QStringLiteral("HolidaySourceLabel"));
    HolidaySourceLabel->setWordWrap(true);

    HolidayApplyButton = new QPushButton(QStringLiteral("Ü&bernehmen"), this);
    HolidayApplyButton->setObjectName(QStringLiteral("HolidayApplyButton"));
    HolidayApplyButton->setToolTip(QStringLiteral("Die Ferien in die Felder der Seite „Ferien“ eintragen"));
    HolidayApplyButton->setDefault(true);
    HolidayCancelButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    HolidayCancelButton->setObjectName(QStringLiteral("HolidayCancelButton"));
    HolidayCancelButton->setToolTip(QStringLiteral("Nichts eintragen"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(HolidayApplyButton);
    buttons->addWidget(HolidayCancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(HolidayPreview);
    layout->addWidget(HolidaySourceLabel);
    layout->addLayout(buttons);

    connect(HolidayApplyButton, &QPushButton::clicked, this, ErrorReporter::handler(this, &HolidayLoadDialog::ApplyButtonClick));
    connect(HolidayCancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

const SchoolHolidayTable::SchoolYear *HolidayLoadDialog::chosen() const
{
    const SchoolHolidayTable::SchoolYear *year = m_table.find(HolidayStateCombo->currentText(), HolidayYearCombo->currentText());
    return year && year->known() ? year : nullptr;
}

void HolidayLoadDialog::ShowPreview()
{
    const SchoolHolidayTable::SchoolYear *year = chosen();
    for (int row = 0; row < 6; ++row) {
        const size_t index = kSchoolYearOrder[row];
        QString main = QStringLiteral("unbekannt");
        QStringList others;
        if (year) {
            const SchoolHolidayTable::Period &period = year->periods[index];
            if (period.kind == SchoolHolidayTable::Kind::None)
                main = QStringLiteral("keine");
            else if (period.kind == SchoolHolidayTable::Kind::Dates)
                main = pieceText(period.main());
            else
                main = QStringLiteral("unbekannt (Feld bleibt)");
            for (const SchoolHolidayTable::Piece &piece : period.others())
                others.append(pieceText(piece));
        }
        HolidayPreview->setItem(row, 0, new QTableWidgetItem(SchoolHolidayTable::periodNames()[index]));
        HolidayPreview->setItem(row, 1, new QTableWidgetItem(main));
        HolidayPreview->setItem(row, 2, new QTableWidgetItem(others.join(QStringLiteral(", "))));
    }
    // All six rows at once, without a scroll bar.
    HolidayPreview->resizeRowsToContents();
    int height = HolidayPreview->horizontalHeader()->sizeHint().height() + 2 * HolidayPreview->frameWidth();
    for (int row = 0; row < HolidayPreview->rowCount(); ++row)
        height += HolidayPreview->rowHeight(row);
    HolidayPreview->setFixedHeight(height);
    HolidayApplyButton->setEnabled(HolidayStateCombo->count() > 0);
}

void HolidayLoadDialog::ApplyButtonClick()
{
    if (chosen()) {
        accept();
        return;
    }
    const QString state = HolidayStateCombo->currentText();
    const QStringList known = m_table.knownYears(state);
    QString text = QStringLiteral("Für das Schuljahr %1 kennt die Ferientabelle keine Ferien von %2.")
                       .arg(HolidayYearCombo->currentText(), state);
    if (!known.isEmpty())
        text += known.size() == 1 ? QStringLiteral(" Bekannt ist nur das Schuljahr %1.").arg(known.first())
                                 : QStringLiteral(" Bekannt sind die Schuljahre %1.").arg(yearRanges(known));
    Prompt::inform(this, QStringLiteral("Ferien laden"), text, QMessageBox::Warning);
}
