// The "Extras" menu: entries added by the functions that offer themselves there.
#include "ExtrasMenu.h"

#include "platform/ErrorReporter.h"

#include <QToolButton>

#include <utility>

// Resources of a static library are registered by hand; this must stand outside any namespace.
static void initExtrasResources()
{
    Q_INIT_RESOURCE(extras);
}

ExtrasMenu::ExtrasMenu(QToolButton *button)
    : QMenu(button)
    , m_button(button)
{
    initExtrasResources();
    setObjectName(QStringLiteral("ExtrasMenu"));
    setToolTipsVisible(true);
    connect(button, &QToolButton::clicked, this, &ExtrasMenu::openBelowButton);
}

QAction *ExtrasMenu::addEntry(const QString &text, const QString &toolTip, std::function<void()> handler)
{
    QAction *action = addAction(text);
    action->setToolTip(toolTip);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { ErrorReporter::guarded(handler); });
    return action;
}

void ExtrasMenu::openBelowButton()
{
    popup(m_button->mapToGlobal(QPoint(0, m_button->height())));
}
