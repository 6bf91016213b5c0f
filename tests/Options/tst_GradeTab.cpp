// The grades tab: the fields of the selected node, adding and changing grades, averages, systems, loading and saving.
#include "Options/GradeTab.h"
#include "platform/Errors.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Deutsch: Diktat 12 in the first category, Referat 9 in the second; Mathematik: Test 11 in the first.
const QByteArray kTreeFile = "Deutsch\r\n\tKurs-/Klassenarbeiten\r\n\t\tDiktat\r\n\tandere Leistungsnachweise\r\n\t\tReferat\r\n"
                             "Mathematik\r\n\tKurs-/Klassenarbeiten\r\n\t\tTest\r\n\tandere Leistungsnachweise\r\n";
const QByteArray kRecordFile("\0\1\14\1\0\1\11\1\0\1\13\1\0\1", 14);

const QString kDeutschFirst = QStringLiteral("Deutsch|Kurs-/Klassenarbeiten");
const QString kDeutschOther = QStringLiteral("Deutsch|andere Leistungsnachweise");
const QString kMathFirst = QStringLiteral("Mathematik|Kurs-/Klassenarbeiten");
const QString kMathOther = QStringLiteral("Mathematik|andere Leistungsnachweise");

QStringList askedTexts()
{
    QStringList texts;
    for (const Prompt::Question &question : Prompt::takeAsked())
        texts.append(question.text);
    return texts;
}

// The tab shown at its size in the settings window, with its controls at hand.
struct ShownTab
{
    explicit ShownTab(const TestEnvironment &env, bool withFiles = true)
    {
        if (withFiles) {
            env.writeFile(QStringLiteral("NOTEN.DAT"), kTreeFile);
            env.writeFile(QStringLiteral("NOTEN.NOT"), kRecordFile);
        }
        tab.resize(640, 395);
        tab.show();
    }
    template <typename T>
    T *control(const char *name)
    {
        return tab.findChild<T *>(QString::fromLatin1(name));
    }
    // Loads the tab; a failure is returned as its message.
    QString load()
    {
        try {
            tab.LoadGradeTab();
        } catch (const KalmoraError &error) {
            return error.message();
        }
        return QString();
    }
    // The node at a path of texts joined by "|".
    QTreeWidgetItem *item(const QString &path) const
    {
        QTreeWidgetItem *found = tree->invisibleRootItem();
        for (const QString &text : path.split(u'|')) {
            QTreeWidgetItem *parent = std::exchange(found, nullptr);
            for (int i = 0; i < parent->childCount() && !found; ++i)
                found = parent->child(i)->text(0) == text ? parent->child(i) : nullptr;
            if (!found)
                qFatal("no node %s", qPrintable(path));
        }
        return found;
    }
    // Clicks a node; a click on the node already selected would start editing it.
    void select(const QString &path)
    {
        QTreeWidgetItem *node = item(path);
        if (node == tree->currentItem())
            return;
        tree->expandAll();
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        QCOMPARE(tree->currentItem(), node);
    }
    // Types description, grade and weight, then presses Button13.
    void enterGrade(const QString &description, const QString &grade, int weight)
    {
        typeInto(Edit16, description);
        typeInto(ComboBox3->lineEdit(), grade);
        SpinEdit1->setValue(weight);
        QTest::mouseClick(Button13, Qt::LeftButton);
    }
    void setCategoryWeight(const QString &path, int weight)
    {
        select(path);
        SpinEdit2->setValue(weight);
        QTest::mouseClick(Button15, Qt::LeftButton);
    }
    static void typeInto(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        // Key by key with the typed character, so that umlauts are typed too.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QStringList childTexts(const QString &path) const
    {
        QStringList texts;
        const QTreeWidgetItem *parent = item(path);
        for (int i = 0; i < parent->childCount(); ++i)
            texts.append(parent->child(i)->text(0));
        return texts;
    }
    // What the grade fields show for a grade: its value and its weight.
    QString gradeShown(const QString &path)
    {
        select(path);
        return ComboBox3->currentText() + u'/' + QString::number(SpinEdit1->value());
    }
    QString averageShown(const QString &path)
    {
        select(path);
        return NoteD->text();
    }

    GradeTab tab;
    QTreeWidget *tree = control<QTreeWidget>("TreeView2");
    QLineEdit *Edit16 = control<QLineEdit>("Edit16");
    QComboBox *ComboBox3 = control<QComboBox>("ComboBox3");
    QSpinBox *SpinEdit1 = control<QSpinBox>("SpinEdit1");
    QSpinBox *SpinEdit2 = control<QSpinBox>("SpinEdit2");
    QPushButton *Button13 = control<QPushButton>("Button13");
    QPushButton *Button15 = control<QPushButton>("Button15");
    QLabel *NoteD = control<QLabel>("NoteD");
    QRadioButton *RadioButton5 = control<QRadioButton>("RadioButton5");
    QRadioButton *RadioButton6 = control<QRadioButton>("RadioButton6");
};

}

class tst_GradeTab final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldsFollowTheSelection();
    void changingKeepsThePosition();
    void averagesShowOnSelection();
    void markingSystems();
    void refusedGradeTexts();
    void nodesWithoutRecords();
    void editingInPlace();
    void savingAndReading();
    void incompleteTreeAsksBeforeSaving();
    void neededGrade();
};

void tst_GradeTab::fieldsFollowTheSelection()
{
    TestEnvironment env;
    ShownTab shown(env);
    QCOMPARE(shown.load(), QString());

    // A grade fills the grade fields and offers "Ä&ndern".
    QCOMPARE(shown.gradeShown(kDeutschFirst + QStringLiteral("|Diktat")), QStringLiteral("12/1"));
    QCOMPARE(shown.Edit16->text(), QStringLiteral("Diktat"));
    QCOMPARE(shown.Button13->text(), QStringLiteral("Ä&ndern"));
    QVERIFY(shown.Button13->isEnabled() && !shown.Button15->isEnabled());

    // A category keeps the description, so "&Hinzufügen" adds a second grade with it.
    shown.select(kDeutschFirst);
    QCOMPARE(shown.Edit16->text(), QStringLiteral("Diktat"));
    QCOMPARE(shown.Button13->text(), QStringLiteral("&Hinzufügen"));
    QVERIFY(shown.Button13->isEnabled() && shown.Button15->isEnabled());
    QTest::mouseClick(shown.Button13, Qt::LeftButton);
    QCOMPARE(shown.childTexts(kDeutschFirst), (QStringList{"Diktat", "Diktat"}));
    QCOMPARE(shown.tree->currentItem(), shown.item(kDeutschFirst));

    // A subject offers neither button.
    shown.select(QStringLiteral("Mathematik"));
    QVERIFY(!shown.Button13->isEnabled() && !shown.Button15->isEnabled());
}

void tst_GradeTab::changingKeepsThePosition()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();
    shown.select(kDeutschFirst);
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("8"), 2);
    shown.enterGrade(QStringLiteral("Vokabeltest"), QStringLiteral("14"), 1);

    shown.select(kDeutschFirst + QStringLiteral("|Aufsatz"));
    shown.enterGrade(QStringLiteral("Erörterung"), QStringLiteral("10"), 3);
    QCOMPARE(shown.childTexts(kDeutschFirst), (QStringList{"Diktat", "Erörterung", "Vokabeltest"}));
    QCOMPARE(shown.tree->currentItem(), shown.item(kDeutschFirst + QStringLiteral("|Erörterung")));
    // Only the changed grade has the new value and weight.
    QCOMPARE(shown.gradeShown(kDeutschFirst + QStringLiteral("|Diktat")), QStringLiteral("12/1"));
    QCOMPARE(shown.gradeShown(kDeutschFirst + QStringLiteral("|Erörterung")), QStringLiteral("10/3"));
    QCOMPARE(shown.gradeShown(kDeutschFirst + QStringLiteral("|Vokabeltest")), QStringLiteral("14/1"));
}

void tst_GradeTab::averagesShowOnSelection()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();

    // After "&Hinzufügen" the old average stays until the category is selected anew.
    QCOMPARE(shown.averageShown(kDeutschFirst), QStringLiteral("12"));
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("6"), 1);
    QCOMPARE(shown.NoteD->text(), QStringLiteral("12"));
    QCOMPARE(shown.averageShown(kDeutschFirst + QStringLiteral("|Aufsatz")), QStringLiteral("12"));
    QCOMPARE(shown.averageShown(kDeutschFirst), QStringLiteral("9"));

    // Categories of 12 and 9: the new weight 2 of the first gives (2 * 12 + 9) / 3.
    shown.select(kDeutschFirst + QStringLiteral("|Aufsatz"));
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("12"), 1);
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("10,5"));
    shown.setCategoryWeight(kDeutschFirst, 2);
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("11"));
    shown.select(kDeutschFirst);
    QCOMPARE(shown.SpinEdit2->value(), 2);

    // An empty category counts with its full weight; two weights of 0 average 0.
    QCOMPARE(shown.averageShown(QStringLiteral("Mathematik")), QStringLiteral("5,5"));
    shown.setCategoryWeight(kMathFirst, 0);
    shown.setCategoryWeight(kMathOther, 0);
    QCOMPARE(shown.averageShown(QStringLiteral("Mathematik")), QStringLiteral("0"));
    QVERIFY(askedTexts().isEmpty());
}

void tst_GradeTab::markingSystems()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();
    QVERIFY(shown.RadioButton6->isChecked());
    const QString test = kMathFirst + QStringLiteral("|Test");
    QCOMPARE(shown.gradeShown(test), QStringLiteral("11/1"));

    // The list changes at once and the text in the field stays; the fields change at the next selection.
    QTest::mouseClick(shown.RadioButton5, Qt::LeftButton);
    QVERIFY(!shown.RadioButton6->isChecked());
    QCOMPARE(shown.ComboBox3->count(), 16);
    QCOMPARE(shown.ComboBox3->itemText(0), QStringLiteral("1+"));
    QCOMPARE(shown.ComboBox3->currentText(), QStringLiteral("11"));
    shown.select(kMathFirst);
    QCOMPARE(shown.gradeShown(test), QStringLiteral("2/1"));

    // Averages as grades, halves to the even value: 10.5 is "2-".
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("2-"));
    // A grade text typed is stored as its value.
    shown.select(kDeutschOther);
    shown.enterGrade(QStringLiteral("Heft"), QStringLiteral("1-"), 1);

    QTest::mouseClick(shown.RadioButton6, Qt::LeftButton);
    QCOMPARE(shown.ComboBox3->count(), 15);
    QCOMPARE(shown.ComboBox3->currentText(), QStringLiteral("1-"));
    QCOMPARE(shown.gradeShown(test), QStringLiteral("11/1"));
    QCOMPARE(shown.gradeShown(kDeutschOther + QStringLiteral("|Heft")), QStringLiteral("13/1"));
    QCOMPARE(shown.averageShown(kDeutschOther), QStringLiteral("11"));
}

void tst_GradeTab::refusedGradeTexts()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();
    const QString diktat = kDeutschFirst + QStringLiteral("|Diktat");

    // A text outside the grade table adds nothing and changes nothing.
    QTest::mouseClick(shown.RadioButton5, Qt::LeftButton);
    shown.select(kDeutschFirst);
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("7+"), 1);
    shown.select(diktat);
    shown.enterGrade(QStringLiteral("Anders"), QStringLiteral("6+"), 4);
    QCOMPARE(askedTexts(), (QStringList{"'7+' ist keine gültige Note.", "'6+' ist keine gültige Note."}));
    QCOMPARE(shown.childTexts(kDeutschFirst), QStringList{QStringLiteral("Diktat")});

    // Points: a text that is no whole number, or a number that no grade has.
    QTest::mouseClick(shown.RadioButton6, Qt::LeftButton);
    shown.select(kDeutschFirst);
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("zwölf"), 1);
    shown.enterGrade(QStringLiteral("Aufsatz"), QStringLiteral("16"), 1);
    const QStringList messages = askedTexts();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0], QStringLiteral("'zwölf' is not a valid integer value"));
    QVERIFY2(messages[1].contains(QStringLiteral("keine gültige Punktzahl")), qPrintable(messages[1]));
    QCOMPARE(shown.childTexts(kDeutschFirst), QStringList{QStringLiteral("Diktat")});
    QCOMPARE(shown.gradeShown(diktat), QStringLiteral("12/1"));
}

void tst_GradeTab::nodesWithoutRecords()
{
    TestEnvironment env;
    ShownTab shown(env);
    // Records for Deutsch's first category and Diktat only.
    env.writeFile(QStringLiteral("NOTEN.NOT"), kRecordFile.left(4));
    const QString message = shown.load();
    QVERIFY2(message.contains(QStringLiteral("zu kurz")), qPrintable(message));
    // The whole tree is shown even so.
    QCOMPARE(shown.childTexts(kMathFirst), QStringList{QStringLiteral("Test")});
    QCOMPARE(shown.averageShown(kDeutschFirst), QStringLiteral("12"));

    // A category without a record shows no average, a grade without one no grade.
    QVERIFY(shown.averageShown(kDeutschOther).isEmpty());
    QCOMPARE(shown.gradeShown(kDeutschOther + QStringLiteral("|Referat")), QStringLiteral("/1"));
    QCOMPARE(shown.Edit16->text(), QStringLiteral("Referat"));
    QCOMPARE(shown.averageShown(QStringLiteral("Mathematik")), QStringLiteral("0"));
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("12"));

    // Giving such nodes records repairs them.
    shown.select(kDeutschOther + QStringLiteral("|Referat"));
    shown.enterGrade(QStringLiteral("Referat"), QStringLiteral("9"), 1);
    shown.setCategoryWeight(kDeutschOther, 1);
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("10,5"));
    QVERIFY(askedTexts().isEmpty());
}

void tst_GradeTab::editingInPlace()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();

    // Subjects and categories cannot be renamed.
    for (const QString &path : {QStringLiteral("Deutsch"), kDeutschFirst}) {
        shown.select(path);
        QTest::keyClick(shown.tree, Qt::Key_F2);
        QVERIFY2(!shown.tree->indexWidget(shown.tree->currentIndex()), qPrintable(path));
    }

    // A grade's description can, and the new one is what is saved.
    shown.select(kDeutschFirst + QStringLiteral("|Diktat"));
    QTest::keyClick(shown.tree, Qt::Key_F2);
    QWidget *editor = shown.tree->indexWidget(shown.tree->currentIndex());
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Diktat 2"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view takes the edited text in a posted call
    QCOMPARE(shown.childTexts(kDeutschFirst), QStringList{QStringLiteral("Diktat 2")});
    QTest::mouseClick(shown.control<QPushButton>("Button12"), Qt::LeftButton);
    QVERIFY(env.readFile(QStringLiteral("NOTEN.DAT")).contains("\t\tDiktat 2\r\n"));
}

void tst_GradeTab::savingAndReading()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n2=Deutsch\n[Dienstag]\n1=mathematik\n"));
    ShownTab shown(env, false);
    // Each weight is one byte; a grade weighs at least 1, a category may weigh 0.
    QCOMPARE(QPair(shown.SpinEdit1->minimum(), shown.SpinEdit1->maximum()), QPair(1, 255));
    QCOMPARE(QPair(shown.SpinEdit2->minimum(), shown.SpinEdit2->maximum()), QPair(0, 255));

    // Without grade files the tree is built from the timetable, and the grade field shows the twelfth entry.
    QCOMPARE(shown.load(), QString());
    QCOMPARE(shown.tree->topLevelItemCount(), 2);
    QCOMPARE(shown.childTexts(QStringLiteral("Deutsch")), (QStringList{"Kurs-/Klassenarbeiten", "andere Leistungsnachweise"}));
    QCOMPARE(shown.ComboBox3->currentText(), QStringLiteral("12"));

    shown.select(kDeutschFirst);
    shown.enterGrade(QStringLiteral("1. Klassenarbeit"), QStringLiteral("11"), 2);
    shown.setCategoryWeight(kMathOther, 3);
    QTest::mouseClick(shown.control<QPushButton>("Button12"), Qt::LeftButton);
    QVERIFY(askedTexts().isEmpty());
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.DAT")),
             QByteArray("Deutsch\r\n\tKurs-/Klassenarbeiten\r\n\t\t1. Klassenarbeit\r\n\tandere Leistungsnachweise\r\n"
                        "Mathematik\r\n\tKurs-/Klassenarbeiten\r\n\tandere Leistungsnachweise\r\n"));
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), QByteArray("\0\1\13\2\0\1\0\1\0\3", 10));

    // "&Abbrechen" asks for the window to close; an unsaved grade is gone at the next loading.
    shown.select(kDeutschOther);
    shown.enterGrade(QStringLiteral("Referat"), QStringLiteral("9"), 1);
    QSignalSpy closing(&shown.tab, &GradeTab::closeRequested);
    QTest::mouseClick(shown.control<QPushButton>("Button14"), Qt::LeftButton);
    QCOMPARE(closing.size(), 1);
    QCOMPARE(shown.load(), QString());
    QVERIFY(shown.childTexts(kDeutschOther).isEmpty());

    // Nothing is selected after loading, so neither button acts on a node that is gone.
    QVERIFY(!shown.tree->currentItem());
    QVERIFY(!shown.Button13->isEnabled() && !shown.Button15->isEnabled());
    QCOMPARE(shown.gradeShown(kDeutschFirst + QStringLiteral("|1. Klassenarbeit")), QStringLiteral("11/2"));
    shown.select(kMathOther);
    QCOMPARE(shown.SpinEdit2->value(), 3);
}

void tst_GradeTab::incompleteTreeAsksBeforeSaving()
{
    TestEnvironment env;
    ShownTab shown(env);
    auto *save = shown.control<QPushButton>("Button12");
    const QByteArray shortRecords = kRecordFile.left(4);
    const auto files = [&env] {
        QByteArrayList bytes;
        for (const char *name : {"NOTEN.DAT", "NOTEN.NOT", "NOTEN.DAT.bak", "NOTEN.NOT.bak"})
            bytes.append(QFile::exists(env.path(QString::fromLatin1(name))) ? env.readFile(QString::fromLatin1(name)) : "-");
        return bytes;
    };

    // A whole load saves without a question and keeps no backup.
    QCOMPARE(shown.load(), QString());
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(askedTexts().isEmpty());
    QCOMPARE(files(), (QByteArrayList{kTreeFile, kRecordFile, "-", "-"}));

    // A short "NOTEN.NOT": the question has Yes and No, with No the default; "Nein" writes nothing.
    env.writeFile(QStringLiteral("NOTEN.NOT"), shortRecords);
    QVERIFY(!shown.load().isEmpty());
    Prompt::queueAnswers({QMessageBox::No});
    QTest::mouseClick(save, Qt::LeftButton);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].text.contains(QStringLiteral("nur teilweise gelesen")), qPrintable(asked[0].text));
    QCOMPARE(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(asked[0].defaultButton, QMessageBox::No);
    QCOMPARE(files(), (QByteArrayList{kTreeFile, shortRecords, "-", "-"}));

    // "Ja" keeps the previous pair as backups, then saves; a second save neither asks nor touches the backups.
    Prompt::queueAnswers({QMessageBox::Yes});
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(askedTexts().size(), 1);
    QByteArrayList saved = files();
    QCOMPARE(saved.mid(2), (QByteArrayList{kTreeFile, shortRecords}));
    QCOMPARE(saved[0], kTreeFile);
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(askedTexts().isEmpty());
    QCOMPARE(files(), saved);

    // Loading anew judges again: the saved pair is whole.
    QCOMPARE(shown.load(), QString());
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(askedTexts().isEmpty());
    QCOMPARE(files(), saved);

    // A level jump: unanswered, the question takes "Nein"; with "Ja" the cut tree replaces the files.
    const QByteArray jumped = "Deutsch\r\n\tKurs-/Klassenarbeiten\r\n\t\t\t\tDiktat\r\nMathematik\r\n";
    env.writeFile(QStringLiteral("NOTEN.DAT"), jumped);
    QVERIFY(shown.load().startsWith(QStringLiteral("Ungültige Ebene")));
    const QByteArray records = env.readFile(QStringLiteral("NOTEN.NOT"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(askedTexts().size(), 1);
    QCOMPARE(files(), (QByteArrayList{jumped, records, kTreeFile, shortRecords}));
    Prompt::queueAnswers({QMessageBox::Yes});
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(askedTexts().size(), 1);
    QCOMPARE(files(), (QByteArrayList{"Deutsch\r\n\tKurs-/Klassenarbeiten\r\n", records.left(2), jumped, records}));

    // No "NOTEN.NOT": the old record backup goes, so no backup is paired with another's records.
    QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
    QVERIFY(shown.load().contains(QStringLiteral("fehlt")));
    Prompt::queueAnswers({QMessageBox::Yes});
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(askedTexts().size(), 1);
    QCOMPARE(files().mid(2), (QByteArrayList{"Deutsch\r\n\tKurs-/Klassenarbeiten\r\n", "-"}));
}

void tst_GradeTab::neededGrade()
{
    TestEnvironment env;
    ShownTab shown(env);
    shown.load();
    auto *box = shown.control<QGroupBox>("NeededGradeBox");
    auto *target = shown.control<QLineEdit>("NeededTargetEdit");
    auto *weight = shown.control<QSpinBox>("NeededWeightSpin");
    auto *category = shown.control<QComboBox>("NeededCategoryCombo");
    auto *answer = shown.control<QLabel>("NeededAnswerLabel");
    QVERIFY(box && target && weight && category && answer);
    QCOMPARE(box->title(), QStringLiteral("Was brauche ich?"));
    // The next grade weighs what a new grade weighs, within the grade field's range.
    QCOMPARE(weight->value(), shown.SpinEdit1->value());
    QCOMPARE(QPair(weight->minimum(), weight->maximum()), QPair(shown.SpinEdit1->minimum(), shown.SpinEdit1->maximum()));

    // A category (Diktat 12) takes the grade itself: 6 is kept even with a 0, unless the grade weighs 2.
    shown.select(kDeutschFirst);
    ShownTab::typeInto(target, QStringLiteral("12"));
    QCOMPARE(answer->text(), QStringLiteral("mindestens 2+ (12 Punkte)"));
    QVERIFY(!category->isEnabled());
    QCOMPARE(category->currentText(), QStringLiteral("Kurs-/Klassenarbeiten"));
    ShownTab::typeInto(target, QStringLiteral("6"));
    QCOMPARE(answer->text(), QStringLiteral("schon erreicht"));
    weight->setValue(2);
    QCOMPARE(answer->text(), QStringLiteral("mindestens 5+ (3 Punkte)"));
    weight->setValue(1);
    ShownTab::typeInto(target, QStringLiteral("15"));
    QCOMPARE(answer->text(), QStringLiteral("nicht erreichbar"));

    // A subject (10,5) takes it into the category chosen: 11 needs 14 in the first, 11 in the second.
    shown.select(QStringLiteral("Deutsch"));
    QVERIFY(category->isEnabled());
    QCOMPARE(category->count(), 2);
    ShownTab::typeInto(target, QStringLiteral("11"));
    QCOMPARE(answer->text(), QStringLiteral("mindestens 1 (14 Punkte)"));
    category->setCurrentIndex(1);
    QCOMPARE(answer->text(), QStringLiteral("mindestens 2 (11 Punkte)"));

    // A grade added answers anew at once: Referat 9 needs 11 for 10, with another 11 beside it 10.
    shown.select(kDeutschOther);
    ShownTab::typeInto(target, QStringLiteral("10"));
    QCOMPARE(answer->text(), QStringLiteral("mindestens 2 (11 Punkte)"));
    shown.enterGrade(QStringLiteral("Referat 2"), QStringLiteral("11"), 1);
    QCOMPARE(answer->text(), QStringLiteral("mindestens 2- (10 Punkte)"));
    // The tab agrees that this 11 lifts the subject to 11; the category chosen for the subject stays.
    ShownTab::typeInto(target, QStringLiteral("11"));
    QCOMPARE(shown.averageShown(QStringLiteral("Deutsch")), QStringLiteral("11"));
    QCOMPARE(category->currentIndex(), 1);
    QCOMPARE(answer->text(), QStringLiteral("mindestens 2- (10 Punkte)"));

    // The grade system shows the target as a grade and counts the rounded average: 10,5 is only "2-".
    QTest::mouseClick(shown.RadioButton5, Qt::LeftButton);
    QCOMPARE(target->text(), QStringLiteral("2"));
    QCOMPARE(answer->text(), QStringLiteral("mindestens 3 (8 Punkte)"));

    // A target that is no grade gets the grade field's refusal, in either system.
    ShownTab::typeInto(target, QStringLiteral("7+"));
    QCOMPARE(answer->text(), QStringLiteral("'7+' ist keine gültige Note."));
    QTest::mouseClick(shown.RadioButton6, Qt::LeftButton);
    QCOMPARE(answer->text(), QStringLiteral("'7+' is not a valid integer value"));
    ShownTab::typeInto(target, QStringLiteral("16"));
    QVERIFY2(answer->text().contains(QStringLiteral("keine gültige Punktzahl")), qPrintable(answer->text()));

    // A grade is no place for a target; nothing was asked, and the tree holds only the grade entered.
    shown.select(kDeutschFirst + QStringLiteral("|Diktat"));
    QVERIFY(!box->isEnabled());
    QVERIFY(answer->text().isEmpty());
    QVERIFY(askedTexts().isEmpty());
    QCOMPARE(shown.childTexts(kDeutschFirst), QStringList{QStringLiteral("Diktat")});
    QCOMPARE(shown.childTexts(kDeutschOther), (QStringList{"Referat", "Referat 2"}));
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), kRecordFile);
}

QTEST_MAIN(tst_GradeTab)
#include "tst_GradeTab.moc"
