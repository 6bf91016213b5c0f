// The "Noten" tab of the settings window: the grade tree, adding and changing grades, averages and saving.
#pragma once

#include "model/GradeArithmetic.h"
#include "model/GradeTree.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QWidget>

class NeededGradeBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

class GradeTab final : public QWidget
{
    Q_OBJECT
public:
    explicit GradeTab(QWidget *parent = nullptr);

    /// Shows the grade files anew, or the tree built from the timetable when
    /// there is no "NOTEN.DAT"; unsaved changes are lost. What was read stays
    /// shown when the reading fails; the failure (GradeFileError for a bad
    /// line, EInOutError for a missing or short "NOTEN.NOT") is then thrown
    /// for the caller's message box.
    void LoadGradeTab();

    /// The system chosen with the radio buttons.
    MarkingSystem markingSystem() const;

    // The conversions and the category average, as the grade arithmetic gives them.
    static QString SNoten(quint8 value) { return GradeArithmetic::SNoten(value); }
    static QString SPunkte(int value) { return GradeArithmetic::SPunkte(value); }
    static quint8 NotenS(const QString &text) { return GradeArithmetic::NotenS(text); }
    static quint8 PunkteS(const QString &text) { return GradeArithmetic::PunkteS(text); }
    static double Berechne(const GradeNode &category) { return GradeArithmetic::Berechne(category); }

Q_SIGNALS:
    /// "&Abbrechen": the settings window is to be hidden without saving.
    void closeRequested();

private:
    void setupUi();
    void setupTree();
    void setupGradeFields();
    void setupCategoryAndSystem();
    void setupSaveButtons();
    void setupLayout();
    void setupTabOrder();
    void ShowTree();
    QTreeWidgetItem *addItem(GradeNode &node, QTreeWidgetItem *parent);
    GradeNode *selectedNode() const;
    GradeRecord recordFromFields(int weight) const;

    void TreeView2Change();
    void ShowCategory(const GradeNode &category);
    void ShowGrade(const GradeNode &grade);
    void ShowSubject(const GradeNode &subject);
    bool TreeView2Editing(const GradeNode &node) const;
    void TreeView2Edited(QTreeWidgetItem *item);
    void Button13Click();
    void Button15Click();
    void Button12Click();
    bool ConfirmIncompleteSave();
    void Button2Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void ReplaceGradeList(const QStringList &texts);

    QTreeWidget *TreeView2 = nullptr;
    QList<QPixmap> ImageList2;
    QLineEdit *Edit16 = nullptr;
    QComboBox *ComboBox3 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QPushButton *Button13 = nullptr;
    QLabel *NoteD = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    QPushButton *Button15 = nullptr;
    QRadioButton *RadioButton5 = nullptr;
    QRadioButton *RadioButton6 = nullptr;
    QPushButton *Button12 = nullptr;
    QPushButton *Button14 = nullptr;
    NeededGradeBox *m_neededBox = nullptr;            // "Was brauche ich?" for the selected subject or category

    GradeTree m_tree;                                 // the working copy that the view shows
    QHash<const QTreeWidgetItem *, GradeNode *> m_nodes; // the node behind each item of the view
};
