// Recurring homework on the "Extras" tab of the settings window.
#pragma once

class ExtrasTab;

class RecurringExtras final
{
public:
    /// Adds the group "Wiederkehrende Hausaufgaben" to the tab; it is built when the tab first loads.
    static void install(ExtrasTab *tab);
};
