// The "Dezuvedired" tab of the settings window: the timetable, its subject menu, printing and autostart.
#include "TForm8.h"

#include "Autostart.h"
#include "TimetablePrinter.h"
#include "appearance/ThemeColours.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"
#include "timetableimport/TimetableImportDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kEditOff = QStringLiteral("&Editmode (aus)");
const QString kEditOn = QStringLiteral("&Editmode (an)");
constexpr QAbstractItemView::EditTriggers kEditTriggers = QAbstractItemView::DoubleClicked
    | QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

/// One entry of the subject menu: its group (empty at the top level), its
/// caption and the text it writes into the slot.
struct SubjectEntry
{
    const char16_t *group;
    const char16_t *caption;
    const char16_t *text;
};

constexpr SubjectEntry kSubjects[] = {
    {u"Sprachen", u"Deutsch", u"Deutsch"},
    {u"Sprachen", u"Englisch", u"Englisch"},
    {u"Sprachen", u"Latein", u"Latein"},
    {u"Sprachen", u"Italienisch", u"Italienisch"},
    {u"Sprachen", u"Französisch", u"Französisch"},
    {u"Naturwissenschaften", u"Physik", u"Physik"},
    {u"Naturwissenschaften", u"Chemie", u"Chemie"},
    {u"Naturwissenschaften", u"Biologie", u"Biologie"},
    {u"Gemeinschaftkunde", u"Sozialkunde", u"Sozialkunde"},
    {u"Gemeinschaftkunde", u"Erdkunde", u"Erdkunde"},
    {u"Gemeinschaftkunde", u"Geschichte", u"Geschichte"},
    {u"Religionen", u"Evangelisch", u"Ev. Religion"},
    {u"Religionen", u"Katholisch", u"Kt. Religion"},
    {u"Religionen", u"Ethik", u"Ethik"},
    {u"Künsterliche Fächer", u"Bildende Kunst", u"BK"},
    {u"Künsterliche Fächer", u"Musik", u"Musik"},
    {u"", u"Informatik", u"Informatik"},
    {u"", u"Mathematik", u"Mathematik"},
    {u"", u"Sport", u"Sport"},
};

const QString kStandardAction = QStringLiteral("Standardanwendung");

bool isFixed(int row, int column)
{
    return row == 0 || column == 0;
}

/// The text of the selected slot without its outer blanks, which a key of
/// the settings file loses anyway: empty when the slot names no subject.
QString selectedSubject(const QTableWidget *grid)
{
    const QTableWidgetItem *slot = grid->currentItem();
    return slot ? slot->text().trimmed() : QString();
}

/// The width of a day column: every subject of the menu, by its caption and
/// by the text it writes, shows whole in a slot, and so does the day's bold
/// name in the header row.
int dayColumnWidth(const QTableWidget *grid, const QFont &headerFont)
{
    const QFontMetrics slot(grid->font());
    int text = 0;
    for (const SubjectEntry &entry : kSubjects) {
        text = std::max(text, slot.horizontalAdvance(QString::fromUtf16(entry.caption)));
        text = std::max(text, slot.horizontalAdvance(QString::fromUtf16(entry.text)));
    }
    const QFontMetrics header(headerFont);
    for (const QString &day : TimetableStore::SchoolDayNames())
        text = std::max(text, header.horizontalAdvance(day));
    // The view keeps a margin on either side of a cell's text, and the grid
    // line takes a pixel of the cell; the rest is air.
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return text + 2 * margin + 1 + 8;
}

}

QWidget *TForm8::setupTimetableTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabDezuvedired"));

    StringGrid1 = new QTableWidget(TimetableGrid::Rows, TimetableGrid::Columns, page);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->setAccessibleName(QStringLiteral("Stundenplan"));
    StringGrid1->setAccessibleDescription(QStringLiteral("Die Fächer der Woche, eine Spalte je Tag; im Editmode bearbeitbar, "
                                                         "das Kontextmenü bietet die Fächerliste"));
    StringGrid1->viewport()->installEventFilter(this);
    // The header row and the lesson-number column are fixed: drawn like
    // headers, and neither selectable nor editable, so the current cell is
    // always a slot.
    QFont headerFont = StringGrid1->font();
    headerFont.setBold(true);
    for (int r = 0; r < TimetableGrid::Rows; ++r) {
        for (int c = 0; c < TimetableGrid::Columns; ++c) {
            auto *item = new QTableWidgetItem;
            if (isFixed(r, c)) {
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(palette().button());
                item->setForeground(palette().buttonText());
                item->setFont(headerFont);
                item->setTextAlignment(c == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
            StringGrid1->setItem(r, c, item);
        }
    }
    ThemeColours::followFixedCells(StringGrid1);
    // Every cell visible at once: the grid is exactly as large as its cells.
    const QFontMetrics metrics(headerFont);
    const int dayWidth = dayColumnWidth(StringGrid1, headerFont);
    const int rowHeight = metrics.height() + 11;
    StringGrid1->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("Zeit")) + 16);
    for (int c = 1; c < TimetableGrid::Columns; ++c)
        StringGrid1->setColumnWidth(c, dayWidth);
    for (int r = 0; r < TimetableGrid::Rows; ++r)
        StringGrid1->setRowHeight(r, rowHeight);
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setFixedSize(StringGrid1->columnWidth(0) + 5 * dayWidth + frame, TimetableGrid::Rows * rowHeight + frame);
    StringGrid1->setCurrentCell(1, 1);
    setupSubjectMenu();

    Button5 = new QPushButton(kEditOff, page);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setToolTip(QStringLiteral("Editmode an/aus"));
    BitBtn1 = new QPushButton(QStringLiteral("&Drucken"), page);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Dezuvedired drucken"));
    TimetableImportButton = new QPushButton(QStringLiteral("Stundenplan ü&bernehmen ..."), page);
    TimetableImportButton->setObjectName(QStringLiteral("TimetableImportButton"));
    TimetableImportButton->setToolTip(QStringLiteral("Den Stundenplan aus dem abonnierten Schulkalender (WebUntis) übernehmen"));
    Button6 = new QPushButton(QStringLiteral("&Abbrechen"), page);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setToolTip(QStringLiteral("Abbrechen"));
    AutoStartCheck = new QCheckBox(QStringLiteral("Autostart"), page);
    AutoStartCheck->setObjectName(QStringLiteral("AutoStartCheck"));
    AutoStartCheck->setToolTip(QStringLiteral("Autostart an/aus"));
    auto *version = new QLabel(QStringLiteral("Version 2.0"), page);
    version->setObjectName(QStringLiteral("VersionLabel"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button5);
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    buttons->addWidget(AutoStartCheck);
    buttons->addSpacing(16);
    buttons->addWidget(version);
    buttons->addSpacing(16);
    buttons->addWidget(Button6);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(StringGrid1, 0, Qt::AlignHCenter);
    layout->addLayout(setupWeekRow(page));
    layout->addStretch();
    layout->addLayout(buttons);

    connect(Button5, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm8::Button5Click));
    connect(BitBtn1, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm8::BitBtn1Click));
    connect(TimetableImportButton, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm8::TimetableImportButtonClick));
    connect(Button6, &QPushButton::clicked, this, &TForm8::Button6Click);
    connect(AutoStartCheck, &QCheckBox::toggled, this, ErrorReporter::handler(this, &TForm8::AutoStartCheckClick));
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, &TForm8::StringGrid1ContextPopup);
    return page;
}

void TForm8::setupSubjectMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu *group = nullptr;
    for (const SubjectEntry &entry : kSubjects) {
        const QString groupName = QString::fromUtf16(entry.group);
        QMenu *menu = PopupMenu1;
        if (!groupName.isEmpty()) {
            if (!group || group->title() != groupName)
                group = PopupMenu1->addMenu(groupName);
            menu = group;
        }
        const QString text = QString::fromUtf16(entry.text);
        menu->addAction(QString::fromUtf16(entry.caption), this, [this, text] { SubjectClick(text); });
    }
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Frei"), this, [this] { SubjectClick(QStringLiteral("FREI")); });
    PopupMenu1->addSeparator();
    QAction *standard = PopupMenu1->addAction(QStringLiteral("Standardanwendung"), this, &TForm8::StandardanwendungClick);
    standard->setObjectName(kStandardAction);
}

void TForm8::LoadTimetable()
{
    finishCellEdit();
    TimetableGrid grid;
    TimetableStore::LoadTimetable(grid);
    for (int r = 0; r < TimetableGrid::Rows; ++r) {
        for (int c = 0; c < TimetableGrid::Columns; ++c)
            StringGrid1->item(r, c)->setText(grid.at(c, r));
    }
    LoadWeeks();
}

TimetableGrid TForm8::gridContents() const
{
    TimetableGrid grid;
    for (int r = 0; r < TimetableGrid::Rows; ++r) {
        for (int c = 0; c < TimetableGrid::Columns; ++c)
            grid.at(c, r) = StringGrid1->item(r, c)->text();
    }
    return grid;
}

bool TForm8::editMode() const
{
    return Button5->text() != kEditOff;
}

void TForm8::setEditMode(bool on)
{
    Button5->setText(on ? kEditOn : kEditOff);
    StringGrid1->setEditTriggers(on ? kEditTriggers : QAbstractItemView::NoEditTriggers);
    updateWeekControls();
}

void TForm8::finishCellEdit()
{
    // A slot still being typed in takes its text now, before the grid is
    // saved, printed, written by the menu or loaded anew; otherwise the open
    // editor would hand its text over later and overwrite the grid.
    const QModelIndex current = StringGrid1->currentIndex();
    if (QWidget *editor = StringGrid1->indexWidget(current)) {
        StringGrid1->itemDelegate()->setModelData(editor, StringGrid1->model(), current);
        StringGrid1->closePersistentEditor(StringGrid1->currentItem());
    }
}

void TForm8::Button5Click()
{
    if (!editMode()) {
        setEditMode(true);
        return;
    }
    finishCellEdit();
    setEditMode(false);
    const Prompt::Question question{QStringLiteral("Hinweis"),
                                    QStringLiteral("Sollen die bereits vorhandenen Plandaten überspielt werden?"),
                                    QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                    QMessageBox::Yes};
    switch (Prompt::ask(this, question)) {
    case QMessageBox::Yes:
        SaveWeeks();
        Q_EMIT timetableSaved();
        break;
    case QMessageBox::No:
        LoadTimetable();
        break;
    default:
        setEditMode(true);
        break;
    }
}

void TForm8::Button6Click()
{
    hide();
}

void TForm8::BitBtn1Click()
{
    TimetablePrinter::print(this, PrintoutLines());
}

void TForm8::TimetableImportButtonClick()
{
    finishCellEdit();
    auto *dialog = new TimetableImportDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, [this] { ErrorReporter::guarded([this] { LoadTimetable(); Q_EMIT timetableSaved(); }); });
    dialog->open();
}

void TForm8::AutoStartCheckClick()
{
    if (AutoStartCheck->isChecked())
        Autostart::EnableAutostart(Autostart::ProgramPath());
    else
        Autostart::DisableAutostart();
}

void TForm8::StringGrid1ContextPopup(const QPoint &position)
{
    if (!editMode())
        return;
    finishCellEdit();
    // An empty slot names no subject whose application could be set.
    if (auto *standard = PopupMenu1->findChild<QAction *>(kStandardAction))
        standard->setEnabled(!selectedSubject(StringGrid1).isEmpty());
    PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(position));
}

void TForm8::SubjectClick(const QString &text)
{
    finishCellEdit();
    if (QTableWidgetItem *slot = StringGrid1->currentItem())
        slot->setText(text);
}

void TForm8::StandardanwendungClick()
{
    // Nothing opens for an empty slot: its subject would be an empty key.
    if (selectedSubject(StringGrid1).isEmpty())
        return;
    Q_EMIT standardApplicationRequested(StringGrid1->currentItem()->text());
}
