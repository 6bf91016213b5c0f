// The class list on the "Extras" tab of the settings window.
#pragma once

class ExtrasTab;

class ClassListExtras final
{
public:
    /// Adds the group "Klassenliste" to the tab; it is built when the tab first loads.
    static void install(ExtrasTab *tab);
};
