// The default application of a subject.
#include "TForm7.h"

#include "model/AppStore.h"
#include "platform/ErrorReporter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TForm7::TForm7(QWidget *parent)
    : ApplicationDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                                    | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setupUi();
}

void TForm7::setupUi()
{
    setObjectName(QStringLiteral("TForm7"));
    setupFields();
    // Each file button follows its field, so the keyboard reaches it too.
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, ComboBox1);
    setTabOrder(ComboBox1, SpeedButton1);
    setTabOrder(SpeedButton1, Edit1);
    setTabOrder(Edit1, SpeedButton2);
    setTabOrder(SpeedButton2, Button1);
    connect(Button2, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm7::Button2Click));
}

void TForm7::openForSubject(const QString &subject)
{
    // An empty subject would be written as a key the settings file cannot
    // hold; keys lose their outer blanks, so a blank subject is empty too.
    if (subject.trimmed().isEmpty())
        return;
    setWindowTitle(subject);
    // Showing a shown window does not run FormShow, and the fields would
    // still hold the previous subject's application.
    if (isVisible())
        FormShow();
    show();
    Button2->setFocus();
    raise();
    activateWindow();
}

void TForm7::FormShow()
{
    FillProgramList();
    ShowValue(AppStore::defaultApplication(windowTitle()));
}

void TForm7::Button2Click()
{
    // Without a subject there is no key to store under.
    if (!windowTitle().trimmed().isEmpty())
        AppStore::setDefaultApplication(windowTitle(), EnteredValue());
    hide();
}
