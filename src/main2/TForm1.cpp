// The main window.
#include "TForm1.h"

#include "almain/AlarmCheck.h"

#include "HelpWindow.h"
#include "model/HomeworkStore.h"
#include "model/TimetableStore.h"
#include "ProgramState.h"
#include "TimetableHint.h"
#include "TBNArea/TTBNArea.h"
#include "TBNArea/TaskbarButton.h"
#include "appearance/TextScale.h"
#include "deferred/DeferredModule.h"
#include "appearance/ThemeColours.h"
#include "XPrinter/TXPrint.h"
#include "XPrinter/WeeklyPlan.h"
#include "extras/ExtrasMenu.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "platform/Pixmaps.h"
#include "platform/WindowActivation.h"
#include "recurring/RecurringHomework.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

// Resources of a static library are registered by hand; this must stand outside any namespace.
static void initKalmoraResources()
{
    Q_INIT_RESOURCE(kalmora);
}

namespace {
constexpr int kLessons = 10;
constexpr int kGridRowHeight = 20;
constexpr int kLeftWidth = 270;
constexpr int kTimeColumnWidth = 40;
constexpr int kPanelWidth = 252;
constexpr int kMemoHeight = 150;
constexpr int kFurtherDatesWidth = 65;
constexpr int kFurtherDatesWideWidth = 81;
constexpr int kFurtherDatesVisible = 5;

const QString kNoPanelCaption = QStringLiteral("Keine weiteren Hausaufgaben");
const QString kNoPanelHeading = QStringLiteral("Keine Hausaufgaben");
const QString kPanelHeading = QStringLiteral("Hausaufgaben für ");
const QString kLabelFor = QStringLiteral(" für den ");

QToolButton *iconButton(QWidget *parent, const char *name, const QString &icon, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(Pixmaps::buttonIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

QLabel *headingLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 1);
    label->setFont(font);
    return label;
}

QTableWidgetItem *fixedCell(const QString &text, const QBrush &background)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::NoItemFlags); // neither selectable nor editable, and the cursor skips it
    item->setBackground(background);
    item->setForeground(QBrush(Qt::black));
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
}

TForm1::TForm1(QWidget *parent)
    : QWidget(parent)
{
    initKalmoraResources();
    setupUi();
    setupComponents();
    connectHandlers();
    TBNArea1->Loaded();
}

TForm1::~TForm1() = default;

void TForm1::setupUi()
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(Pixmaps::programIcon());

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(setupTimetable());
    left->addWidget(setupHomeworkText(), 1);
    left->addWidget(setupToolbar());

    auto *panels = new QGridLayout;
    panels->setSpacing(8);
    for (int panel = 0; panel < 4; ++panel)
        panels->addWidget(setupDayPanel(panel), panel / 2, panel % 2);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(12, 10, 12, 12);
    root->setSpacing(14);
    root->addLayout(left);
    root->addLayout(panels);

    setFixedSize(sizeHint());
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
}

QWidget *TForm1::setupTimetable()
{
    auto *box = new QWidget(this);
    box->setFixedWidth(TextScale::scaled(kLeftWidth));
    LabelHeutige = headingLabel(box, "LabelHeutige", QStringLiteral("Heutige"));
    LabelFaecher = headingLabel(box, "LabelFaecher", QStringLiteral("Fächer:"));
    Image1 = iconButton(box, "Image1", QStringLiteral("previous"), QStringLiteral("Vortag"));
    Image2 = iconButton(box, "Image2", QStringLiteral("next"), QStringLiteral("Folgetag"));

    StringGrid1 = new QTableWidget(kLessons + 1, 2, box);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setAccessibleName(QStringLiteral("Stundenplan"));
    StringGrid1->setAccessibleDescription(QStringLiteral("Die Fächer des gezeigten Tages; die Eingabetaste öffnet die Hausaufgabe zum gewählten Fach"));
    StringGrid1->installEventFilter(this);
    const QBrush fixed = palette().button();
    StringGrid1->setItem(0, 0, fixedCell(QStringLiteral("Zeit"), fixed));
    StringGrid1->setItem(0, 1, fixedCell(QString(), fixed));
    for (int row = 1; row <= kLessons; ++row) {
        StringGrid1->setItem(row, 0, fixedCell(QString::number(row), fixed));
        auto *lesson = new QTableWidgetItem;
        lesson->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        StringGrid1->setItem(row, 1, lesson);
    }
    ThemeColours::followFixedCells(StringGrid1);
    QFont bold = StringGrid1->font();
    bold.setBold(true);
    StringGrid1->item(0, 0)->setFont(bold);
    StringGrid1->item(0, 1)->setFont(bold);
    const int frame = StringGrid1->frameWidth();
    StringGrid1->setColumnWidth(0, TextScale::scaled(kTimeColumnWidth));
    StringGrid1->setColumnWidth(1, TextScale::scaled(kLeftWidth) - TextScale::scaled(kTimeColumnWidth) - 2 * frame);
    // Rows grow with a larger font, so that all ten lessons stay in view.
    const int rowHeight = std::max({kGridRowHeight, StringGrid1->verticalHeader()->minimumSectionSize(),
                                    StringGrid1->fontMetrics().height() + 4});
    for (int row = 0; row <= kLessons; ++row)
        StringGrid1->setRowHeight(row, rowHeight);
    StringGrid1->setFixedSize(TextScale::scaled(kLeftWidth), (kLessons + 1) * rowHeight + 2 * frame);
    StringGrid1->viewport()->installEventFilter(this);
    // Over the empty lessons, letting clicks through to the grid.
    FirstRunHint = new TimetableHint(StringGrid1);
    FirstRunHint->hide();

    auto *headings = new QVBoxLayout;
    headings->setSpacing(0);
    headings->addWidget(LabelHeutige);
    headings->addWidget(LabelFaecher);
    auto *top = new QHBoxLayout;
    top->addLayout(headings);
    top->addStretch(1);
    top->addWidget(Image1);
    top->addWidget(Image2);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(StringGrid1);
    return box;
}

QWidget *TForm1::setupHomeworkText()
{
    auto *box = new QWidget(this);
    box->setFixedWidth(TextScale::scaled(kLeftWidth));
    LabelLangzeit = new QLabel(QStringLiteral("Langzeithausaufgaben:"), box);
    LabelLangzeit->setObjectName(QStringLiteral("LabelLangzeit"));
    ListBox5 = new QListWidget(box);
    ListBox5->setObjectName(QStringLiteral("ListBox5"));
    ListBox5->setFont(QFont(QStringLiteral("Arial"), 8));
    ListBox5->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox5->setUniformItemSizes(true);
    ListBox5->setAccessibleName(QStringLiteral("Langzeithausaufgaben"));
    ListBox5->setAccessibleDescription(QStringLiteral("Die weiteren Abgabetermine; ein Termin zeigt seine Hausaufgaben im letzten Feld"));
    ListBox5->addItem(QStringLiteral("00.00.0000"));
    ListBox5->setFixedSize(kFurtherDatesWidth,
                           kFurtherDatesVisible * ListBox5->sizeHintForRow(0) + 2 * ListBox5->frameWidth());
    ListBox5->clear();

    Label2 = new QLabel(QStringLiteral("Hausaufgabe:"), box);
    Label2->setObjectName(QStringLiteral("Label2"));
    Memo1 = new QPlainTextEdit(box);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFixedHeight(TextScale::scaled(kMemoHeight));
    Memo1->setAccessibleName(QStringLiteral("Hausaufgabe"));
    Button1 = new QPushButton(QStringLiteral("&speichern"), box);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Änderung übernehmen"));
    Button1->setEnabled(false);

    auto *further = new QHBoxLayout;
    further->addWidget(LabelLangzeit, 0, Qt::AlignTop);
    further->addStretch(1);
    further->addWidget(ListBox5);
    auto *save = new QHBoxLayout;
    save->addStretch(1);
    save->addWidget(Button1);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(further);
    layout->addStretch(1);
    layout->addWidget(Label2);
    layout->addWidget(Memo1);
    layout->addLayout(save);
    return box;
}

QWidget *TForm1::setupToolbar()
{
    auto *box = new QWidget(this);
    box->setFixedWidth(TextScale::scaled(kLeftWidth));
    SpeedButton80 = iconButton(box, "SpeedButton80", QStringLiteral("print"), QStringLiteral("Wochenplan ausdrucken"));
    SpeedButton5 = iconButton(box, "SpeedButton5", QStringLiteral("app-start"), QStringLiteral("Anwendung starten"));
    SpeedButton6 = iconButton(box, "SpeedButton6", QStringLiteral("app-define"), QStringLiteral("Anwendung definieren"));
    SpeedButton10 = iconButton(box, "SpeedButton10", QStringLiteral("options"), QStringLiteral("Optionsbox"));
    SpeedButton7 = iconButton(box, "SpeedButton7", QStringLiteral("alarm"), QStringLiteral("Ereigniseditor (oldschool)"));
    SpeedButton15 = iconButton(box, "SpeedButton15", QStringLiteral("help"), QStringLiteral("Hilfe"));
    ExtrasButton = iconButton(box, "ExtrasButton", QStringLiteral("extras"), QStringLiteral("Extras"));
    m_extrasMenu = new ExtrasMenu(ExtrasButton);
    SpeedButton5->setEnabled(false);
    SpeedButton6->setEnabled(false);
    LabelVersion = new QLabel(QStringLiteral("Version 2.0"), box);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    ThemeColours::follow(LabelVersion, [label = LabelVersion] {
        QPalette muted = QApplication::palette();
        const QColor disabled = muted.color(QPalette::Disabled, QPalette::WindowText);
        muted.setColor(QPalette::WindowText, ThemeColours::dark() ? disabled.lighter(130) : disabled.darker(130));
        label->setPalette(muted);
    });

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QToolButton *button : {SpeedButton80, SpeedButton5, SpeedButton6, SpeedButton10, SpeedButton7, ExtrasButton, SpeedButton15})
        buttons->addWidget(button);
    buttons->addStretch(1);
    // The version on a line of its own, so that the row of buttons never cuts it off.
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(LabelVersion, 0, Qt::AlignRight);
    return box;
}

QWidget *TForm1::setupDayPanel(int panel)
{
    const QString number = QString::number(panel + 1);
    auto *group = new QGroupBox(kNoPanelCaption, this);
    group->setObjectName(QStringLiteral("GroupBox") + number);
    group->setFixedWidth(TextScale::scaled(kPanelWidth));
    GroupBox[panel] = group;

    auto *heading = new QLabel(kNoPanelHeading, group);
    heading->setObjectName(QStringLiteral("Label") + QString::number(panel + 8));
    ThemeColours::follow(heading, [heading] {
        using C = ThemeColours::Colour;
        heading->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; padding: 4px 6px;"
                                              " border-radius: 3px; background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
                                              " stop:0 %2, stop:1 %3); }")
                                   .arg(ThemeColours::of(C::DayHeadingText).name(), ThemeColours::of(C::DayHeadingFrom).name(),
                                        ThemeColours::of(C::DayHeadingTo).name()));
    });
    heading->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    PanelHeading[panel] = heading;

    auto *list = new QListWidget(group);
    list->setObjectName(QStringLiteral("ListBox") + number);
    QFont fixedPitch(QStringLiteral("Courier New"), 10, QFont::Bold);
    fixedPitch.setStyleHint(QFont::TypeWriter); // where Courier New is missing, another fixed-pitch font
    fixedPitch.setFixedPitch(true);
    list->setFont(fixedPitch);
    list->setAccessibleName(kNoPanelHeading);
    list->setAccessibleDescription(QStringLiteral("Die Hausaufgaben eines Abgabetermins; eine gewählte steht unten links zum Bearbeiten"));
    ListBox[panel] = list;

    auto *done = new QToolButton(group);
    done->setObjectName(QStringLiteral("SpeedButton") + number);
    done->setText(QStringLiteral("Erledigt"));
    done->setIcon(Pixmaps::buttonIcon(QStringLiteral("done")));
    auto *remove = new QToolButton(group);
    remove->setObjectName(QStringLiteral("SpeedButton") + QString::number(panel + 11));
    remove->setText(QStringLiteral("Löschen"));
    remove->setIcon(Pixmaps::buttonIcon(QStringLiteral("delete")));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QToolButton *button : {done, remove}) {
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons->addWidget(button);
    }
    done->setAccessibleDescription(QStringLiteral("Die gewählte Hausaufgabe als erledigt markieren"));
    remove->setAccessibleDescription(QStringLiteral("Die gewählte Hausaufgabe löschen"));
    DoneButton[panel] = done;
    DeleteButton[panel] = remove;

    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(heading);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    return group;
}

void TForm1::setupComponents()
{
    TBNArea1 = new TTBNArea(this);
    TBNArea1->setObjectName(QStringLiteral("TBNArea1"));
    TBNArea1->setIcon(windowIcon()); // shares the window icon and the sizes it has decoded

    XPrint1 = new TXPrint(this);
    XPrint1->setObjectName(QStringLiteral("XPrint1"));
    XPrint1->setScaling(TXPrint::pscMetric10);
    XPrint1->setMarginLeft(150);
    XPrint1->setMarginTop(200);
    XPrint1->setMarginRight(150);
    XPrint1->setMarginBottom(200);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    XPrint1->setFont(font);
    XPrint1->setCopies(1);
    XPrint1->setTitle(WeeklyPlan::jobTitle());
    XPrint1->setOrientation(QPageLayout::Portrait);
    XPrint1->setCurrentPrinter(0);
}

void TForm1::connectHandlers()
{
    using ErrorReporter::handler;
    const std::array<Handler, 4> listClicks = {&TForm1::ListBox1Click, &TForm1::ListBox2Click, &TForm1::ListBox3Click,
                                               &TForm1::ListBox4Click};
    const std::array<Handler, 4> doneClicks = {&TForm1::SpeedButton1Click, &TForm1::SpeedButton2Click,
                                               &TForm1::SpeedButton3Click, &TForm1::SpeedButton4Click};
    const std::array<Handler, 4> deleteClicks = {&TForm1::SpeedButton11Click, &TForm1::SpeedButton12Click,
                                                 &TForm1::SpeedButton13Click, &TForm1::SpeedButton14Click};
    for (int panel = 0; panel < 4; ++panel) {
        connect(ListBox[panel], &QListWidget::itemSelectionChanged, this, handler(this, listClicks[panel]));
        connect(DoneButton[panel], &QToolButton::clicked, this, handler(this, doneClicks[panel]));
        connect(DeleteButton[panel], &QToolButton::clicked, this, handler(this, deleteClicks[panel]));
    }
    connect(ListBox5, &QListWidget::itemSelectionChanged, this, handler(this, &TForm1::ListBox5Click));
    connect(Button1, &QPushButton::clicked, this, handler(this, &TForm1::Button1Click));
    connect(Image1, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton8Click));
    connect(Image2, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton9Click));
    connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (row >= 1 && column == 1) // a click on a fixed cell opens nothing
            ErrorReporter::guarded([&] { StringGrid1Click(); });
    });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { ErrorReporter::guarded([&] { StringGrid1CellMoved(row, column); }); });
    connect(SpeedButton80, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton80Click));
    connect(SpeedButton5, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton5Click));
    connect(SpeedButton6, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton6Click));
    connect(SpeedButton7, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton7Click));
    connect(SpeedButton10, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton10Click));
    connect(SpeedButton15, &QToolButton::clicked, this, handler(this, &TForm1::SpeedButton15Click));
    connect(TBNArea1, &TTBNArea::OnLeftClick, this, handler(this, &TForm1::TBNArea1LeftClick));
    connect(TBNArea1, &TTBNArea::OnRightClick, this, handler(this, &TForm1::TBNArea1RightClick));
}

void TForm1::FormCreate()
{
    m_hideTaskbarButton = true;
    TaskbarButton::hide(windowHandle());
    const QDate today = Clock::today();
    m_displayDate = today;
    // A hand-edited key that is no date is named once per start; the
    // preparation goes on with the readable dates, and later prunings pass
    // over it silently.
    const QStringList unreadable = HomeworkStore::PruneHomeworkDates();
    if (!unreadable.isEmpty())
        ErrorReporter::report(EConvertError::invalidDate(unreadable.first()));
    ErrorReporter::guarded([] { RecurringHomework::apply(); }); // a failure is named; the preparation goes on
    setWindowTitle(ErrorReporter::applicationTitle() + QStringLiteral(" - ") + DateText::formatLong(today)
                   + QStringLiteral(", ") + TimetableStore::weekdayName(today.dayOfWeek()));
    FillTimetable(); // on a Saturday or Sunday the Friday before
    RefreshDayPanels();
    CheckAlarms();
    WidenListBox5();
    ProgramState::StartupScanPending = true;
}

void TForm1::CheckAlarms()
{
    AlarmCheck::CheckAlarms(this);
}

void TForm1::RefreshDayPanels()
{
    const QStringList dates = HomeworkStore::sortedDueDates();
    for (QListWidget *list : ListBox)
        list->clear();
    ListBox5->clear();
    for (int panel = 0; panel < 4; ++panel) {
        if (panel >= dates.size()) {
            GroupBox[panel]->setTitle(kNoPanelCaption);
            PanelHeading[panel]->setText(kNoPanelHeading);
            ListBox[panel]->setAccessibleName(kNoPanelHeading);
            continue;
        }
        const QString &date = dates[panel];
        GroupBox[panel]->setTitle(u' ' + kPanelHeading + date);
        PanelHeading[panel]->setText(kPanelHeading + date);
        ListBox[panel]->setAccessibleName(kPanelHeading + date);
        ListBox[panel]->addItems(HomeworkStore::homeworkListTexts(DateText::parse(date)));
    }
    if (dates.size() > 4)
        ListBox5->addItems(dates.mid(3));
}

void TForm1::WidenListBox5()
{
    if (ListBox5->count() > kFurtherDatesVisible)
        ListBox5->setFixedWidth(kFurtherDatesWideWidth);
}

void TForm1::ListBoxClick(int panel)
{
    const QListWidgetItem *item = SelectedItem(ListBox[panel]);
    if (!item)
        return;
    Memo1->clear();
    const QString date = PanelDate(panel);
    const QString subject = HomeworkStore::subjectOfListText(item->text());
    Label2->setText(subject + kLabelFor + date + QStringLiteral(" :"));
    Memo1->setPlainText(HomeworkStore::readText(date, subject));
    for (int other = 0; other < 4; ++other) {
        if (other != panel)
            ListBox[other]->clearSelection();
    }
    ListBox5->clearSelection();
    SetHomeworkButtonsEnabled(true);
}

void TForm1::DoneClick(int panel)
{
    QListWidgetItem *item = SelectedItem(ListBox[panel]);
    if (!item)
        return;
    const QString date = PanelDate(panel);
    const QString subject = HomeworkStore::subjectOfListText(item->text());
    const bool done = !HomeworkStore::isDoneText(item->text());
    HomeworkStore::setDone(date, subject, done);
    item->setText(done ? HomeworkStore::DoneItemText(subject) : subject);
}

void TForm1::DeleteClick(int panel)
{
    if (const QListWidgetItem *item = SelectedItem(ListBox[panel])) {
        const QString date = GroupBox[panel]->title().right(10);
        if (ListBox[panel]->count() == 1) {
            HomeworkStore::deleteDueDate(date);
            ListBox[panel]->clear();
        } else {
            HomeworkStore::deleteHomework(date, HomeworkStore::subjectOfListText(item->text()));
        }
    }
    RefreshDayPanels();
    Memo1->clear();
    Label2->setText(QStringLiteral("Hausaufgabe"));
    SetHomeworkButtonsEnabled(false);
}

void TForm1::ListBox5Click()
{
    const QListWidgetItem *item = SelectedItem(ListBox5);
    if (!item)
        return;
    const QString date = item->text();
    ListBox[3]->clear();
    ListBox[3]->addItems(HomeworkStore::homeworkListTexts(DateText::parse(date)));
    GroupBox[3]->setTitle(kPanelHeading + date);
    PanelHeading[3]->setText(kPanelHeading + date);
    for (QListWidget *list : ListBox)
        list->clearSelection();
}

void TForm1::Button1Click()
{
    const auto [subject, date] = LabelledHomework();
    HomeworkStore::writeText(date, subject, Memo1->toPlainText().split(u'\n').join(u' '));
}

void TForm1::StepDisplayDate(int direction)
{
    m_displayDate = m_displayDate.addDays(direction);
    for (int i = 0; i < 2; ++i) {
        if (m_displayDate.dayOfWeek() >= Qt::Saturday)
            m_displayDate = m_displayDate.addDays(direction);
    }
    FillTimetable();
}

void TForm1::StringGrid1Click()
{
    if (StringGrid1->currentRow() < 1 || StringGrid1->currentColumn() != 1)
        return;
    const QString subject = StringGrid1->item(StringGrid1->currentRow(), 1)->text();
    // An empty lesson opens nothing, and an open dialog keeps its subject.
    if (!subject.isEmpty())
        Q_EMIT subjectChosen(subject);
}

void TForm1::StringGrid1CellMoved(int row, int column)
{
    if (m_gridRedirecting || row < 0)
        return;
    if (row == 0 || column != 1) {
        // Only the lessons can hold the cursor.
        m_gridRedirecting = true;
        StringGrid1->setCurrentCell(qMax(row, 1), 1);
        m_gridRedirecting = false;
        return;
    }
    if (!m_gridMousePressed) // a keyboard move; a mouse click opens on its release
        StringGrid1Click();
}

void TForm1::SpeedButton80Click()
{
    // Printing lives in the module with the print library.
    DeferredModule *module = DeferredModule::get();
    if (!module)
        throw KalmoraError(DeferredModule::loadError());
    module->printWeeklyPlans(this, *XPrint1);
}

void TForm1::SpeedButton5Click()
{
    const auto [subject, date] = LabelledHomework();
    Q_EMIT startApplicationRequested(subject, date);
}

void TForm1::SpeedButton6Click()
{
    const auto [subject, date] = LabelledHomework();
    Q_EMIT defineApplicationRequested(subject, date);
}

void TForm1::SpeedButton7Click()
{
    Q_EMIT alarmsRequested();
}

void TForm1::SpeedButton10Click()
{
    Q_EMIT settingsRequested();
}

void TForm1::SpeedButton15Click()
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showContents();
}

void TForm1::TBNArea1LeftClick()
{
    WindowActivation::toggleFromTray(this);
}

void TForm1::TBNArea1RightClick()
{
    WindowActivation::toggleFromTray(this);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    QApplication::quit();
}

void TForm1::showEvent(QShowEvent *event)
{
    // The window manager forgets the hint whenever the window is withdrawn,
    // so it is given again before every showing.
    if (m_hideTaskbarButton)
        TaskbarButton::hide(windowHandle());
    QWidget::showEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The keyboard's way to a lesson's homework: an arrow key into the grid
    // without a chosen lesson takes the first one (the fixed cells, where Qt
    // would start, cannot hold the cursor); Enter or Space opens the chosen lesson.
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Right) && StringGrid1->currentRow() < 1) {
            StringGrid1->setCurrentCell(1, 1);
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && StringGrid1->currentRow() >= 1
            && StringGrid1->currentColumn() == 1) {
            ErrorReporter::guarded([this] { StringGrid1Click(); });
            return true;
        }
    }
    if (watched == StringGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_gridMousePressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_gridMousePressed = false;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::TimetableSaved()
{
    FillTimetable();
}

void TForm1::DataReplaced()
{
    // First, so that "speichern" cannot write a text of the replaced data over the restored one.
    if (Button1->isEnabled()) {
        const auto [subject, date] = LabelledHomework();
        const std::optional<QDate> day = DateText::tryParse(date);
        const QStringList items = day && HomeworkStore::dueDates().contains(date) ? HomeworkStore::homeworkListTexts(*day) : QStringList();
        const bool held = std::any_of(items.begin(), items.end(),
                                      [&](const QString &item) { return HomeworkStore::subjectOfListText(item) == subject; });
        if (held) {
            Memo1->setPlainText(HomeworkStore::readText(date, subject));
        } else {
            Memo1->clear();
            Label2->setText(QStringLiteral("Hausaufgabe:"));
            SetHomeworkButtonsEnabled(false);
        }
    }
    FillTimetable();
    RefreshDayPanels();
    WidenListBox5();
}

void TForm1::FillTimetable()
{
    const TimetableStore::DayPlan plan = TimetableStore::dayPlan(m_displayDate);
    for (int row = 1; row <= kLessons; ++row)
        StringGrid1->item(row, 1)->setText(plan.lessons.value(row - 1));
    StringGrid1->item(0, 1)->setText(plan.week ? QStringLiteral("%1 (%2)").arg(plan.dayName, SchoolWeeks::letter(*plan.week))
                                               : plan.dayName);
    FirstRunHint->setVisible(!TimetableStore::hasTimetable());
    MarkLessons(TimetableDate(), {});
    Q_EMIT timetableFilled();
}

QDate TForm1::TimetableDate() const
{
    const int weekday = m_displayDate.dayOfWeek();
    return weekday >= Qt::Saturday ? m_displayDate.addDays(Qt::Friday - weekday) : m_displayDate;
}

void TForm1::MarkLessons(QDate day, const QMap<int, QString> &marks)
{
    if (day != TimetableDate())
        return;
    for (int row = 1; row <= kLessons; ++row) {
        QTableWidgetItem *lesson = StringGrid1->item(row, 1);
        if (marks.contains(row)) {
            QFont font = StringGrid1->font();
            font.setStrikeOut(true);
            lesson->setFont(font);
        } else {
            lesson->setData(Qt::FontRole, QVariant()); // the grid's font again, which follows the text size
        }
        lesson->setToolTip(marks.value(row));
        lesson->setData(Qt::AccessibleDescriptionRole, marks.value(row));
    }
}

QString TForm1::PanelDate(int panel) const
{
    const QString caption = GroupBox[panel]->title();
    return caption.mid(qMax(0, caption.indexOf(u'.') - 2));
}

std::pair<QString, QString> TForm1::LabelledHomework() const
{
    const QString label = Label2->text();
    return {label.left(label.indexOf(QStringLiteral(" für den"))), label.mid(label.size() - 12, 10)};
}

void TForm1::SetHomeworkButtonsEnabled(bool enabled)
{
    Button1->setEnabled(enabled);
    SpeedButton5->setEnabled(enabled);
    SpeedButton6->setEnabled(enabled);
}

QListWidgetItem *TForm1::SelectedItem(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
