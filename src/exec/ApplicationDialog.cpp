// What both application dialogs share.
#include "ApplicationDialog.h"

#include "model/AppStore.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace {
const QString kOpenTitle = QStringLiteral("Öffnen");
constexpr int kPathLength = 40; // characters of a path that "Programm:" shows whole

// Programs: on Linux most have no suffix, so they come first, and no suffix
// is added to a typed name.
QString programFilter()
{
    const QString windowsPrograms = FileDialog::fromWindowsFilter(
        QStringLiteral("Ausführbare Dateien|*.exe;*.com;*.bat|Alle Dateien|*.*"));
#ifdef Q_OS_WIN
    return windowsPrograms;
#else
    return QStringLiteral("Programme (*);;") + windowsPrograms;
#endif
}

QString programSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral("exe");
#else
    return QString();
#endif
}

QString fileFilter()
{
    return FileDialog::fromWindowsFilter(QStringLiteral(
        "Alle Dateien|*.*|Textdateien|*.txt|Word-Dokument|*.doc|WordPro-Dokument|*.wps|"
        "Excel-Tabelle|*.exl|Write-Datei|*.wri|Bitmap|*.bmp"));
}

QToolButton *browseButton(QWidget *parent, const QString &name, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    button->setToolTip(hint);
    return button;
}

QPushButton *pushButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}
}

ApplicationDialog::ApplicationDialog(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
}

void ApplicationDialog::setupFields()
{
    Label1 = new QLabel(QStringLiteral("Programm:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert); // only "&Hinzufügen" adds to the list
    ComboBox1->setCompleter(nullptr);                // a typed text is stored as typed
    // Wide enough for an ordinary full path; a long path in the list does not
    // widen the dialog.
    ComboBox1->setMinimumContentsLength(kPathLength);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1->setBuddy(ComboBox1);
    SpeedButton1 = browseButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("Programm auswählen"));

    Label2 = new QLabel(QStringLiteral("Datei:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2->setBuddy(Edit1);
    SpeedButton2 = browseButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("Datei auswählen"));

    Button1 = pushButton(this, QStringLiteral("Button1"), QStringLiteral("&Hinzufügen"));
    Button2 = pushButton(this, QStringLiteral("Button2"), QStringLiteral("&OK"));
    Button3 = pushButton(this, QStringLiteral("Button3"), QStringLiteral("&Abbruch"));

    // "Datei:" shares the column of "Programm:", so it is at least as wide.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(8);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(ComboBox1, 0, 1);
    layout->addWidget(SpeedButton1, 0, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(Edit1, 1, 1);
    layout->addWidget(SpeedButton2, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 4, 0, 0);
    buttons->setSpacing(8);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    layout->addLayout(buttons, 2, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate(); // the size is known before the first showing, for centring

    connect(SpeedButton1, &QToolButton::clicked, this, &ApplicationDialog::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &ApplicationDialog::SpeedButton2Click);
    connect(Button1, &QPushButton::clicked, this, ErrorReporter::handler(this, &ApplicationDialog::Button1Click));
    connect(Button3, &QPushButton::clicked, this, &ApplicationDialog::Button3Click);
}

void ApplicationDialog::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores it
        ErrorReporter::guarded([&] { FormShow(); });
}

void ApplicationDialog::FillProgramList()
{
    const QString program = ComboBox1->currentText();
    ComboBox1->clear();
    ComboBox1->addItems(AppStore::programs());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(program);
}

void ApplicationDialog::ShowValue(const AppValue &value)
{
    ComboBox1->setEditText(value.program);
    Edit1->setText(value.file);
}

AppValue ApplicationDialog::EnteredValue() const
{
    return {ComboBox1->currentText(), Edit1->text()};
}

void ApplicationDialog::Button1Click()
{
    const QString program = ComboBox1->currentText();
    if (AppStore::addProgram(program))
        ComboBox1->addItem(program);
    ComboBox1->setEditText(program); // the first item added would otherwise replace the text
}

void ApplicationDialog::Button3Click()
{
    hide();
}

void ApplicationDialog::SpeedButton1Click()
{
    const QString name = FileDialog::getOpenFileName(this, kOpenTitle, programFilter(), programSuffix(), ComboBox1->currentText());
    if (!name.isEmpty())
        ComboBox1->setEditText(name);
}

void ApplicationDialog::SpeedButton2Click()
{
    const QString name = FileDialog::getOpenFileName(this, kOpenTitle, fileFilter(), QStringLiteral("txt"), Edit1->text());
    if (!name.isEmpty())
        Edit1->setText(name);
}
