// The box "Was brauche ich?" on the grades tab: the grade still needed for a target average.
#pragma once

#include "model/GradeArithmetic.h"

#include <QGroupBox>

class GradeNode;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

/// Answers as soon as a field changes. It reads the node it is shown and
/// never changes it; the tab tells it the selected node, the marking system,
/// and when it has changed the tree.
class NeededGradeBox final : public QGroupBox
{
    Q_OBJECT
public:
    explicit NeededGradeBox(QWidget *parent = nullptr);

    /// The subject or category to answer for; a grade or nullptr leaves the
    /// box without a node. The node must live until the next call.
    void showNode(const GradeNode *node, MarkingSystem system);
    /// The system that targets are typed and judged in; a target typed in
    /// the old system is shown in the new one.
    void setMarkingSystem(MarkingSystem system);
    /// Answers anew, after the node's grades or weights have changed.
    void refresh();

private:
    void setupUi();
    void ShowCategories();
    void NeededCategoryComboChange(int index);
    void ShowAnswer();
    int chosenCategory() const;

    QLineEdit *NeededTargetEdit = nullptr;
    QSpinBox *NeededWeightSpin = nullptr;
    QComboBox *NeededCategoryCombo = nullptr;
    QLabel *NeededAnswerLabel = nullptr;

    const GradeNode *m_node = nullptr;
    MarkingSystem m_system = MarkingSystem::Points;
    int m_subjectCategory = 0; // the category last chosen for a subject, kept for the next subject
};
