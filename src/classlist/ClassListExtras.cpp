// The class list on the "Extras" tab.
#include "ClassListExtras.h"

#include "ClassListGroup.h"
#include "extras/ExtrasTab.h"

void ClassListExtras::install(ExtrasTab *tab)
{
    tab->addGroup([] { return new ClassListGroup; });
}
