// The box "Was brauche ich?": target, weight and category of the next grade, and the answer.
#include "NeededGradeBox.h"

#include "NeededGrade.h"
#include "model/GradeNode.h"
#include "platform/Errors.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

namespace {

// The categories that a subject's average uses, and so the ones a new grade can go into.
constexpr int kAveragedCategories = 2;

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QString targetHint(MarkingSystem system)
{
    return system == MarkingSystem::Grades ? QStringLiteral("z. B. 2-") : QStringLiteral("z. B. 10");
}

}

NeededGradeBox::NeededGradeBox(QWidget *parent)
    : QGroupBox(parent)
{
    setupUi();
}

void NeededGradeBox::setupUi()
{
    setObjectName(QStringLiteral("NeededGradeBox"));
    setTitle(QStringLiteral("Was brauche ich?"));
    setToolTip(QStringLiteral("Welche Note Sie mindestens brauchen, damit die Durchschnittsnote des gewählten "
                              "Fachs oder Leistungsbereichs Ihr Ziel erreicht. Es wird nichts eingetragen."));

    NeededTargetEdit = new QLineEdit(this);
    NeededTargetEdit->setObjectName(QStringLiteral("NeededTargetEdit"));
    NeededTargetEdit->setPlaceholderText(targetHint(m_system));
    NeededTargetEdit->setToolTip(QStringLiteral("Die Durchschnittsnote, die Sie erreichen wollen: im Notensystem "
                                                "eine Note wie 2-, im Punktesystem Punkte von 0 bis 15"));

    NeededWeightSpin = new QSpinBox(this);
    NeededWeightSpin->setObjectName(QStringLiteral("NeededWeightSpin"));
    NeededWeightSpin->setRange(GradeRecord::MinGradeWeight, GradeRecord::MaxWeight);
    NeededWeightSpin->setValue(GradeRecord::NewWeight);
    NeededWeightSpin->setToolTip(QStringLiteral("Wertigkeit der nächsten Note"));

    NeededCategoryCombo = new QComboBox(this);
    NeededCategoryCombo->setObjectName(QStringLiteral("NeededCategoryCombo"));
    NeededCategoryCombo->setToolTip(QStringLiteral("Der Leistungsbereich, in den die nächste Note kommt. Ist ein "
                                                   "Fach gewählt, wählen Sie hier einen seiner beiden Bereiche; "
                                                   "ist ein Bereich gewählt, kommt sie in diesen."));

    NeededAnswerLabel = new QLabel(this);
    NeededAnswerLabel->setObjectName(QStringLiteral("NeededAnswerLabel"));
    NeededAnswerLabel->setTextFormat(Qt::PlainText);
    NeededAnswerLabel->setWordWrap(true);
    NeededAnswerLabel->setToolTip(QStringLiteral("Die schlechteste Note, mit der die Durchschnittsnote das Ziel erreicht"));
    QFont answerFont = NeededAnswerLabel->font();
    answerFont.setBold(true);
    NeededAnswerLabel->setFont(answerFont);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    layout->addWidget(buddyLabel(QStringLiteral("&Ziel:"), NeededTargetEdit, this), 0, 0);
    layout->addWidget(NeededTargetEdit, 0, 1);
    layout->addWidget(buddyLabel(QStringLiteral("Wer&tigkeit:"), NeededWeightSpin, this), 0, 2, Qt::AlignRight);
    layout->addWidget(NeededWeightSpin, 0, 3);
    layout->addWidget(buddyLabel(QStringLiteral("Ber&eich:"), NeededCategoryCombo, this), 1, 0);
    layout->addWidget(NeededCategoryCombo, 1, 1, 1, 3);
    layout->addWidget(NeededAnswerLabel, 2, 0, 1, 4);
    layout->setColumnStretch(1, 1);

    connect(NeededTargetEdit, &QLineEdit::textChanged, this, &NeededGradeBox::ShowAnswer);
    connect(NeededWeightSpin, &QSpinBox::valueChanged, this, &NeededGradeBox::ShowAnswer);
    connect(NeededCategoryCombo, &QComboBox::currentIndexChanged, this, &NeededGradeBox::NeededCategoryComboChange);
    showNode(nullptr, m_system);
}

void NeededGradeBox::showNode(const GradeNode *node, MarkingSystem system)
{
    m_node = node && node->level() < 2 ? node : nullptr;
    m_system = system;
    NeededTargetEdit->setPlaceholderText(targetHint(m_system));
    setEnabled(m_node != nullptr);
    ShowCategories();
    ShowAnswer();
}

void NeededGradeBox::setMarkingSystem(MarkingSystem system)
{
    if (system == m_system)
        return;
    const QSignalBlocker blocker(NeededTargetEdit);
    try {
        NeededTargetEdit->setText(GradeArithmetic::valueText(GradeArithmetic::readValue(NeededTargetEdit->text(), m_system), system));
    } catch (const KalmoraError &) {
        // A text that was no target before stays as typed.
    }
    m_system = system;
    NeededTargetEdit->setPlaceholderText(targetHint(m_system));
    ShowAnswer();
}

void NeededGradeBox::refresh()
{
    ShowAnswer();
}

// A subject offers its two categories; a category is the only place for the grade.
void NeededGradeBox::ShowCategories()
{
    const QSignalBlocker blocker(NeededCategoryCombo);
    NeededCategoryCombo->clear();
    if (m_node && m_node->level() == 0) {
        for (int i = 0; i < std::min(m_node->childCount(), kAveragedCategories); ++i)
            NeededCategoryCombo->addItem(m_node->child(i).text());
        NeededCategoryCombo->setCurrentIndex(std::min(m_subjectCategory, NeededCategoryCombo->count() - 1));
    } else if (m_node) {
        NeededCategoryCombo->addItem(m_node->text());
    }
    NeededCategoryCombo->setEnabled(m_node && m_node->level() == 0);
}

int NeededGradeBox::chosenCategory() const
{
    return NeededCategoryCombo->currentIndex();
}

// Only the pupil's choice is kept; filling the list for another node blocks the signal.
void NeededGradeBox::NeededCategoryComboChange(int index)
{
    if (index >= 0)
        m_subjectCategory = index;
    ShowAnswer();
}

void NeededGradeBox::ShowAnswer()
{
    const QString target = NeededTargetEdit->text();
    if (!m_node || target.trimmed().isEmpty()) {
        NeededAnswerLabel->clear();
        return;
    }
    try {
        const quint8 value = GradeArithmetic::readValue(target, m_system);
        const auto answer = NeededGrade::compute(*m_node, chosenCategory(), value, quint8(NeededWeightSpin->value()), m_system);
        NeededAnswerLabel->setText(NeededGrade::answerText(answer));
    } catch (const KalmoraError &error) {
        // The same refusal as for a grade typed into the grade field.
        NeededAnswerLabel->setText(error.message());
    }
}
