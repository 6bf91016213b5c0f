// The grades tab: the tree of subjects, categories and grades, the fields of the selected node, and saving.
#include "GradeTab.h"

#include "GradeImages.h"
#include "model/GradeStore.h"
#include "grades/NeededGradeBox.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The entry that a tree built from the timetable puts into the grade field: "12" in the points list.
constexpr int kBuiltTreeGradeIndex = 11;

const QString kAdd = QStringLiteral("&Hinzufügen");
const QString kChange = QStringLiteral("Ä&ndern");

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QSpinBox *weightBox(const char *name, int minimum, const QString &toolTip, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, GradeRecord::MaxWeight);
    box->setValue(GradeRecord::NewWeight);
    box->setToolTip(toolTip);
    return box;
}

QPushButton *button(const char *name, const QString &caption, const QString &toolTip, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setToolTip(toolTip);
    return result;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}

GradeTab::GradeTab(QWidget *parent)
    : QWidget(parent)
    , ImageList2(GradeImages::draw())
{
    setupUi();
}

void GradeTab::setupUi()
{
    setObjectName(QStringLiteral("GradeTab"));
    setupTree();
    setupGradeFields();
    setupCategoryAndSystem();
    setupSaveButtons();
    m_neededBox = new NeededGradeBox(this);
    setupLayout();
    setupTabOrder();
}

void GradeTab::setupTree()
{
    TreeView2 = new QTreeWidget(this);
    TreeView2->setObjectName(QStringLiteral("TreeView2"));
    TreeView2->setHeaderHidden(true);
    TreeView2->setAccessibleName(QStringLiteral("Noten"));
    TreeView2->setAccessibleDescription(QStringLiteral("Die Fächer mit ihren Kategorien und Noten"));
    TreeView2->setRootIsDecorated(true);
    TreeView2->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    TreeView2->setToolTip(QStringLiteral("Fächer, Leistungsbereiche und Noten"));
    connect(TreeView2, &QTreeWidget::currentItemChanged, this, ErrorReporter::handler(this, &GradeTab::TreeView2Change));
    connect(TreeView2, &QTreeWidget::itemChanged, this, &GradeTab::TreeView2Edited);
}

void GradeTab::setupGradeFields()
{
    Edit16 = new QLineEdit(this);
    Edit16->setObjectName(QStringLiteral("Edit16"));
    Edit16->setToolTip(QStringLiteral("Beschreibung der Note"));

    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setEditable(true);
    ComboBox3->setInsertPolicy(QComboBox::NoInsert);
    // Completing "1" to "1+" while typing would store another grade than the one typed.
    ComboBox3->setCompleter(nullptr);
    ComboBox3->addItems(GradeArithmetic::PointTexts());
    ComboBox3->setToolTip(QStringLiteral("Note oder Punktzahl"));

    SpinEdit1 = weightBox("SpinEdit1", GradeRecord::MinGradeWeight, QStringLiteral("Wertigkeit der Note"), this);
    Button13 = button("Button13", kAdd, QStringLiteral("Note hinzufügen"), this);
    Button13->setEnabled(false);
    connect(Button13, &QPushButton::clicked, this, ErrorReporter::handler(this, &GradeTab::Button13Click));

    NoteD = new QLabel(this);
    NoteD->setObjectName(QStringLiteral("NoteD"));
    NoteD->setTextFormat(Qt::PlainText);
    NoteD->setToolTip(QStringLiteral("Durchschnitt des gewählten Fachs oder Leistungsbereichs"));
    QFont averageFont = NoteD->font();
    averageFont.setBold(true);
    NoteD->setFont(averageFont);
}

void GradeTab::setupCategoryAndSystem()
{
    SpinEdit2 = weightBox("SpinEdit2", GradeRecord::MinCategoryWeight, QStringLiteral("Wertigkeit des Leistungsbereichs"), this);
    Button15 = button("Button15", kChange, QStringLiteral("Strangwertigkeit bestätigen"), this);
    Button15->setEnabled(false);
    connect(Button15, &QPushButton::clicked, this, ErrorReporter::handler(this, &GradeTab::Button15Click));

    RadioButton5 = new QRadioButton(QStringLiteral("N&otensystem"), this);
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    RadioButton5->setToolTip(QStringLiteral("Noten von 1+ bis 6"));
    RadioButton6 = new QRadioButton(QStringLiteral("&Punktesystem"), this);
    RadioButton6->setObjectName(QStringLiteral("RadioButton6"));
    RadioButton6->setToolTip(QStringLiteral("Punkte von 15 bis 0"));
    RadioButton6->setChecked(true);
    connect(RadioButton5, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton5Click(); });
    connect(RadioButton6, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton6Click(); });
}

void GradeTab::setupSaveButtons()
{
    Button12 = button("Button12", QStringLiteral("Ü&bernehmen"), QStringLiteral("Änderungen übernehmen"), this);
    connect(Button12, &QPushButton::clicked, this, ErrorReporter::handler(this, &GradeTab::Button12Click));
    Button14 = button("Button14", QStringLiteral("&Abbrechen"), QStringLiteral("Abbrechen"), this);
    connect(Button14, &QPushButton::clicked, this, &GradeTab::Button2Click);
}

void GradeTab::setupLayout()
{
    // One grid for the fields, so that the weights and their buttons stand in one column.
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(8);
    fields->addWidget(buddyLabel(QStringLiteral("&Was:"), Edit16, this), 0, 0);
    fields->addWidget(Edit16, 0, 1, 1, 3);
    fields->addWidget(buddyLabel(QStringLiteral("&Note:"), ComboBox3, this), 1, 0);
    fields->addWidget(ComboBox3, 1, 1);
    fields->addWidget(buddyLabel(QStringLiteral("&Wertigkeit:"), SpinEdit1, this), 1, 2, Qt::AlignRight);
    fields->addWidget(SpinEdit1, 1, 3);
    fields->addWidget(Button13, 2, 3);
    fields->addWidget(separator(this), 3, 0, 1, 4);
    auto *average = new QHBoxLayout;
    average->addWidget(new QLabel(QStringLiteral("Durchschnittsnote:"), this));
    average->addWidget(NoteD, 1);
    fields->addLayout(average, 4, 0, 1, 4);
    fields->addWidget(separator(this), 5, 0, 1, 4);
    fields->addWidget(buddyLabel(QStringLiteral("&Strangwertigkeit:"), SpinEdit2, this), 6, 0, 1, 3, Qt::AlignRight);
    fields->addWidget(SpinEdit2, 6, 3);
    fields->addWidget(Button15, 7, 3);
    fields->addWidget(separator(this), 8, 0, 1, 4);
    fields->setColumnStretch(1, 1);

    auto *systems = new QHBoxLayout;
    systems->addWidget(RadioButton5);
    systems->addSpacing(12);
    systems->addWidget(RadioButton6);
    systems->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button12);
    buttons->addWidget(Button14);

    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    side->addLayout(fields);
    side->addLayout(systems);
    side->addWidget(m_neededBox);
    side->addStretch(1);
    side->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(12);
    layout->addWidget(TreeView2, 1);
    layout->addLayout(side, 1);
}

void GradeTab::setupTabOrder()
{
    const QList<QWidget *> order = {TreeView2, Edit16,    ComboBox3, Button13,     Button12,    Button14,
                                    SpinEdit1, SpinEdit2, Button15,  RadioButton5, RadioButton6};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setTabOrder(RadioButton6, m_neededBox);
}

MarkingSystem GradeTab::markingSystem() const
{
    return RadioButton5->isChecked() ? MarkingSystem::Grades : MarkingSystem::Points;
}

void GradeTab::LoadGradeTab()
{
    m_neededBox->showNode(nullptr, markingSystem()); // its node goes with the old tree
    m_nodes.clear();
    TreeView2->clear();
    GradeStore::Source source = GradeStore::Source::File;
    try {
        source = GradeStore::LoadGrades(m_tree);
    } catch (...) {
        ShowTree();
        throw;
    }
    ShowTree();
    if (source == GradeStore::Source::Timetable)
        ComboBox3->setCurrentIndex(kBuiltTreeGradeIndex);
}

// Fills the view from the working copy. Nothing is selected afterwards, so
// the buttons that act on a selected node are set for that.
void GradeTab::ShowTree()
{
    for (int i = 0; i < m_tree.rootCount(); ++i)
        addItem(m_tree.root(i), nullptr);
    TreeView2Change();
}

QTreeWidgetItem *GradeTab::addItem(GradeNode &node, QTreeWidgetItem *parent)
{
    auto *item = new QTreeWidgetItem;
    item->setText(0, node.text());
    item->setIcon(0, QIcon(ImageList2.value(node.image())));
    if (TreeView2Editing(node))
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_nodes.insert(item, &node);
    if (parent)
        parent->addChild(item);
    else
        TreeView2->addTopLevelItem(item);
    for (int i = 0; i < node.childCount(); ++i)
        addItem(node.child(i), item);
    return item;
}

GradeNode *GradeTab::selectedNode() const
{
    return m_nodes.value(TreeView2->currentItem());
}

// The record typed into the grade fields: the value first, so that a text
// that is no grade stops the action before anything changes.
GradeRecord GradeTab::recordFromFields(int weight) const
{
    const quint8 value = GradeArithmetic::readValue(ComboBox3->currentText(), markingSystem());
    return GradeRecord{value, quint8(weight)};
}

void GradeTab::TreeView2Change()
{
    const GradeNode *node = selectedNode();
    m_neededBox->showNode(node, markingSystem());
    if (!node) {
        // Nothing to add to or to change, as right after the tree is reloaded.
        Button13->setEnabled(false);
        Button15->setEnabled(false);
        return;
    }
    switch (node->level()) {
    case 0:
        ShowSubject(*node);
        break;
    case 1:
        ShowCategory(*node);
        break;
    default:
        ShowGrade(*node);
        break;
    }
}

// A category read without its record (a short "NOTEN.NOT") has no weight and no average to show.
void GradeTab::ShowCategory(const GradeNode &category)
{
    if (category.record()) {
        SpinEdit2->setValue(category.record()->weight);
        NoteD->setText(GradeArithmetic::averageText(Berechne(category), markingSystem()));
    } else {
        NoteD->clear();
    }
    Button13->setText(kAdd);
    Button13->setEnabled(true);
    Button15->setEnabled(true);
}

// A grade read without its record shows an empty grade field.
void GradeTab::ShowGrade(const GradeNode &grade)
{
    Edit16->setText(grade.text());
    Button13->setText(kChange);
    Button13->setEnabled(true);
    Button15->setEnabled(false);
    const auto &record = grade.record();
    ComboBox3->setEditText(record ? GradeArithmetic::valueText(record->value, markingSystem()) : QString());
    if (record)
        SpinEdit1->setValue(record->weight);
}

void GradeTab::ShowSubject(const GradeNode &subject)
{
    NoteD->setText(GradeArithmetic::averageText(GradeArithmetic::subjectAverage(subject), markingSystem()));
    Button13->setText(kAdd);
    Button13->setEnabled(false);
    Button15->setEnabled(false);
}

bool GradeTab::TreeView2Editing(const GradeNode &node) const
{
    return node.level() == 2;
}

// The text edited in place becomes the grade's description.
void GradeTab::TreeView2Edited(QTreeWidgetItem *item)
{
    GradeNode *node = m_nodes.value(item);
    if (node && TreeView2Editing(*node))
        node->setText(item->text(0));
}

void GradeTab::Button13Click()
{
    GradeNode *node = selectedNode();
    if (!node || node->level() == 0)
        return;
    SpinEdit1->interpretText();
    const GradeRecord record = recordFromFields(SpinEdit1->value());
    QTreeWidgetItem *item = TreeView2->currentItem();
    if (node->level() == 1) {
        addItem(node->addChild(Edit16->text(), GradeNode::GradeImage, record), item);
        item->setExpanded(true);
    } else {
        node->setText(Edit16->text());
        node->setRecord(record);
        item->setText(0, node->text());
    }
    m_neededBox->refresh();
}

void GradeTab::Button15Click()
{
    GradeNode *node = selectedNode();
    if (!node || node->level() != 1)
        return;
    SpinEdit2->interpretText();
    node->setRecord(GradeRecord{0, quint8(SpinEdit2->value())});
}

void GradeTab::Button12Click()
{
    if (!m_tree.isComplete() && !ConfirmIncompleteSave())
        return;
    GradeStore::ApplyGrades(m_tree);
}

// A tree that was read only in part replaces the grade files only when the pupil agrees.
bool GradeTab::ConfirmIncompleteSave()
{
    const Prompt::Question question{
        QStringLiteral("Achtung!"),
        QStringLiteral("Die Notendateien wurden nur teilweise gelesen. Soll der unvollständige Notenbaum die "
                       "Dateien %1 und %2 ersetzen?\nDie bisherigen Dateien werden als %3 und %4 aufbewahrt.")
            .arg(GradeStore::TreeFileName(), GradeStore::RecordFileName(), GradeStore::TreeBackupName(),
                 GradeStore::RecordBackupName()),
        QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    return Prompt::ask(this, question) == QMessageBox::Yes;
}

void GradeTab::Button2Click()
{
    Q_EMIT closeRequested();
}

void GradeTab::RadioButton5Click()
{
    ReplaceGradeList(GradeArithmetic::GradeTexts());
    m_neededBox->setMarkingSystem(MarkingSystem::Grades);
}

void GradeTab::RadioButton6Click()
{
    ReplaceGradeList(GradeArithmetic::PointTexts());
    m_neededBox->setMarkingSystem(MarkingSystem::Points);
}

// The text standing in the field stays, also when the new list does not hold it.
void GradeTab::ReplaceGradeList(const QStringList &texts)
{
    const QString text = ComboBox3->currentText();
    ComboBox3->clear();
    ComboBox3->addItems(texts);
    ComboBox3->setCurrentIndex(ComboBox3->findText(text));
    ComboBox3->setEditText(text);
}
