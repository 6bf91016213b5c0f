// What both application dialogs share.
#include "ApplicationDialog.h"

#include "AppStore.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace {
const QString kOpenTitle = QStringLiteral("Öffnen");

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
    Label1->setGeometry(8, 10, 72, 24);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert); // only "&Hinzufügen" adds to the list
    ComboBox1->setCompleter(nullptr);                // a typed text is stored as typed
    ComboBox1->setGeometry(84, 10, 232, 24);
    Label1->setBuddy(ComboBox1);
    SpeedButton1 = browseButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("Programm auswählen"));
    SpeedButton1->setGeometry(320, 10, 24, 24);

    Label2 = new QLabel(QStringLiteral("Datei:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 42, 72, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(84, 42, 232, 24);
    Label2->setBuddy(Edit1);
    SpeedButton2 = browseButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("Datei auswählen"));
    SpeedButton2->setGeometry(320, 42, 24, 24);

    Button1 = pushButton(this, QStringLiteral("Button1"), QStringLiteral("&Hinzufügen"));
    Button1->setGeometry(8, 78, 104, 28);
    Button2 = pushButton(this, QStringLiteral("Button2"), QStringLiteral("&OK"));
    Button2->setGeometry(168, 78, 84, 28);
    Button3 = pushButton(this, QStringLiteral("Button3"), QStringLiteral("&Abbruch"));
    Button3->setGeometry(260, 78, 84, 28);
    setFixedSize(352, 114);

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
