// Message boxes of the program, answerable in advance so that tests never block.
#include "Prompt.h"

#include <QAbstractButton>
#include <QQueue>

namespace {
struct PromptState
{
    QQueue<Prompt::Button> answers;
    QList<Prompt::Question> asked;
    bool unattended = false;
};

PromptState &state()
{
    static PromptState s;
    return s;
}

const QList<std::pair<QMessageBox::StandardButton, const char16_t *>> kGermanTexts = {
    {QMessageBox::Yes, u"&Ja"},
    {QMessageBox::No, u"&Nein"},
    {QMessageBox::Cancel, u"Abbrechen"},
    {QMessageBox::Ok, u"OK"},
};

Prompt::Button closeAnswer(QMessageBox::StandardButtons buttons)
{
    for (auto b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::NoButton;
}
}

Prompt::Button Prompt::ask(QWidget *parent, const Question &question)
{
    PromptState &s = state();
    s.asked.append(question);
    if (!s.answers.isEmpty())
        return s.answers.dequeue();
    if (s.unattended) {
        if (question.defaultButton != QMessageBox::NoButton)
            return question.defaultButton;
        return closeAnswer(question.buttons);
    }
    QMessageBox box(question.icon, question.title, question.text, question.buttons, parent);
    for (const auto &[button, text] : kGermanTexts) {
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf16(text));
    }
    if (question.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(question.defaultButton);
    box.setEscapeButton(box.button(closeAnswer(question.buttons)));
    const auto result = static_cast<Button>(box.exec());
    return result == QMessageBox::NoButton ? closeAnswer(question.buttons) : result;
}

void Prompt::inform(QWidget *parent, const QString &title, const QString &text, QMessageBox::Icon icon)
{
    ask(parent, {title, text, icon, QMessageBox::Ok, QMessageBox::Ok});
}

void Prompt::queueAnswers(const QList<Button> &answers)
{
    for (Button b : answers)
        state().answers.enqueue(b);
}

void Prompt::setUnattended(bool unattended)
{
    state().unattended = unattended;
}

QList<Prompt::Question> Prompt::takeAsked()
{
    return std::exchange(state().asked, {});
}
