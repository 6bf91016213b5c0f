// The "Extras" menu behind its toolbar button in the main window.
#pragma once

#include <QMenu>

#include <functional>

class QToolButton;

class ExtrasMenu final : public QMenu
{
    Q_OBJECT
public:
    /// The menu of `button`: a click on the button opens it below the button.
    explicit ExtrasMenu(QToolButton *button);

    /// Adds an entry at the end. `handler` runs when the entry is chosen; a
    /// failure inside it is shown like every failure, and the program goes on.
    QAction *addEntry(const QString &text, const QString &toolTip, std::function<void()> handler);

    /// Opens the menu below its button without waiting for a choice.
    void openBelowButton();

private:
    QToolButton *m_button = nullptr;
};
