// The application of one homework.
#include "TForm3.h"

#include "model/AppStore.h"
#include "platform/ErrorReporter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr qsizetype kDateLength = 10;                   // "dd.mm.yyyy"
constexpr qsizetype kCaptionTail = 3 + kDateLength;     // " - " and the date
}

TForm3::TForm3(QWidget *parent)
    : ApplicationDialog(parent, Qt::Tool)
{
    setupUi();
}

void TForm3::setupUi()
{
    setObjectName(QStringLiteral("TForm3"));
    setupFields();
    setTabOrder(ComboBox1, Edit1);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    connect(Button2, &QPushButton::clicked, this, ErrorReporter::handler(this, &TForm3::Button2Click));
}

void TForm3::openForHomework(const QString &subject, const QString &date)
{
    setWindowTitle(subject + QStringLiteral(" - ") + date);
    ShowValue(AppStore::homeworkApplication(date, subject));
    if (!isVisible())
        centreOnScreen();
    show();
    raise();
    activateWindow();
}

void TForm3::FormShow()
{
    FillProgramList();
}

void TForm3::Button2Click()
{
    // The caption names the homework: subject, " - ", date.
    const QString caption = windowTitle();
    const QString subject = caption.left(qMax<qsizetype>(0, caption.size() - kCaptionTail));
    const QString date = caption.right(kDateLength);
    AppStore::setHomeworkApplication(date, subject, EnteredValue());
    hide();
}

void TForm3::centreOnScreen()
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
