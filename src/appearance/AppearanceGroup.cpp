// The group "Darstellung": the option is stored at once when chosen, as in the other groups of the tab.
#include "AppearanceGroup.h"

#include "platform/ErrorReporter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>
#include <iterator>

namespace {
// In the order of the list.
const AppearanceSettings::Mode kModes[] = {AppearanceSettings::Mode::System, AppearanceSettings::Mode::Light,
                                           AppearanceSettings::Mode::Dark};
}

AppearanceGroup::AppearanceGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Darstellung"), parent)
{
    setupUi();
}

void AppearanceGroup::setupUi()
{
    setObjectName(QStringLiteral("AppearanceGroup"));
    ModeBox = new QComboBox(this);
    ModeBox->setObjectName(QStringLiteral("AppearanceModeBox"));
    ModeBox->addItems({QStringLiteral("wie das System"), QStringLiteral("hell"), QStringLiteral("dunkel")});
    ModeBox->setToolTip(QStringLiteral("Helle oder dunkle Fenster; „wie das System“ folgt der Einstellung des Desktops"));
    ModeLabel = new QLabel(QStringLiteral("Dar&stellung:"), this);
    ModeLabel->setObjectName(QStringLiteral("AppearanceModeLabel"));
    ModeLabel->setBuddy(ModeBox);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ModeLabel);
    layout->addWidget(ModeBox);
    layout->addStretch(1);

    // Choices by the pupil only: loading the box must not count as a change.
    connect(ModeBox, &QComboBox::activated, this, ErrorReporter::handler(this, &AppearanceGroup::ModeBoxActivated));
}

void AppearanceGroup::load()
{
    const AppearanceSettings::Mode mode = AppearanceSettings::mode();
    m_stored = int(std::find(std::begin(kModes), std::end(kModes), mode) - std::begin(kModes));
    ModeBox->setCurrentIndex(m_stored);
}

void AppearanceGroup::ModeBoxActivated()
{
    const int index = ModeBox->currentIndex();
    if (index < 0 || index >= int(std::size(kModes)) || index == m_stored)
        return;
    try {
        AppearanceSettings::setMode(kModes[index]);
    } catch (...) {
        ModeBox->setCurrentIndex(m_stored); // the box shows what is stored
        throw;
    }
    m_stored = index;
    Q_EMIT modeChosen(kModes[index]);
}
