// The evening reminder in a window of its own.
#include "PackingWindow.h"

#include "platform/Pixmaps.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PackingWindow::PackingWindow(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("PackingWindow"));
    setWindowIcon(Pixmaps::programIcon());
    setModal(false);
    TextLabel = new QLabel(this);
    TextLabel->setObjectName(QStringLiteral("PackingTextLabel"));
    TextLabel->setTextFormat(Qt::PlainText);
    TextLabel->setWordWrap(true);
    TextLabel->setMinimumWidth(420);
    OkButton = new QPushButton(QStringLiteral("&OK"), this);
    OkButton->setObjectName(QStringLiteral("PackingOkButton"));
    OkButton->setToolTip(QStringLiteral("Erinnerung schließen"));
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TextLabel);
    layout->addLayout(buttons);
}

void PackingWindow::showReminder(const QString &summary, const QString &body)
{
    setWindowTitle(summary);
    TextLabel->setText(body);
    adjustSize();
    show();
    raise();
    activateWindow();
}

QString PackingWindow::text() const
{
    return TextLabel->text();
}
