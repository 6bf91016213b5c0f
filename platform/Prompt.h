// Message boxes of the program, answerable in advance so that tests never block.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class Prompt final
{
public:
    using Button = QMessageBox::StandardButton;

    struct Question
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        Button defaultButton = QMessageBox::NoButton;
    };

    /// Shows a modal message box with German button texts and returns the
    /// button pressed. Closing the box gives Cancel, or No, or OK, whichever it has.
    static Button ask(QWidget *parent, const Question &question);
    /// An OK box with the information icon.
    static void inform(QWidget *parent, const QString &title, const QString &text,
                       QMessageBox::Icon icon = QMessageBox::Information);

    /// Tests: the next questions are answered with these buttons instead of being shown.
    static void queueAnswers(const QList<Button> &answers);
    /// Tests: with no answer queued, a question takes its default button unseen.
    static void setUnattended(bool unattended);
    /// Every question asked so far (also the shown ones), oldest first; clears the record.
    static QList<Question> takeAsked();
};
