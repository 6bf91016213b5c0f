// Switches every window between the light and the dark palette while the program runs.
#include "Appearance.h"

#include "AppearanceGroup.h"
#include "ColorSchemePortal.h"
#include "ThemeColours.h"
#include "extras/ExtrasTab.h"

#include <QApplication>
#include <QStyle>

Appearance::Appearance(QObject *parent)
    : QObject(parent)
    , m_portal(new ColorSchemePortal(this))
{
    connect(m_portal, &ColorSchemePortal::schemeChanged, this, &Appearance::apply);
}

void Appearance::install(ExtrasTab *tab)
{
    tab->addGroup([this] {
        auto *group = new AppearanceGroup;
        connect(group, &AppearanceGroup::modeChosen, this, &Appearance::setMode);
        return group;
    });
}

void Appearance::setBusConnection(const QString &name)
{
    m_portal->setBusConnection(name);
}

void Appearance::start()
{
    setMode(AppearanceSettings::mode());
}

void Appearance::setMode(AppearanceSettings::Mode mode)
{
    m_mode = mode;
    // The portal is asked once the system's choice is wanted, and followed from then on.
    if (mode == AppearanceSettings::Mode::System)
        m_portal->start();
    apply();
}

void Appearance::apply()
{
    const bool dark = AppearanceSettings::dark(m_mode, m_portal->scheme());
    if (dark == m_dark)
        return; // a light start leaves the palette untouched
    m_dark = dark;
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    ThemeColours::paletteChanged();
    Q_EMIT changed(dark);
}

QPalette Appearance::darkPalette()
{
    const QColor window(0x2d, 0x2d, 0x30);
    const QColor base(0x1e, 0x1e, 0x1f);
    const QColor text(0xe6, 0xe6, 0xe6);
    const QColor disabledText(0x80, 0x80, 0x80);
    const QColor highlight(0x3d, 0x7a, 0xd6);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, QColor(0x28, 0x28, 0x2a));
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3d));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x38, 0x38, 0x3b));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4e));
    palette.setColor(QPalette::Midlight, QColor(0x3e, 0x3e, 0x42));
    palette.setColor(QPalette::Mid, QColor(0x26, 0x26, 0x28));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1a, 0x1b));
    palette.setColor(QPalette::Shadow, QColor(0x0a, 0x0a, 0x0a));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x6c, 0xa8, 0xf0));
    palette.setColor(QPalette::LinkVisited, QColor(0xb0, 0x8c, 0xe8));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x54));
    palette.setColor(QPalette::Disabled, QPalette::Button, window);
    return palette;
}
