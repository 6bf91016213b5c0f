// Recurring homework on the "Extras" tab.
#include "RecurringExtras.h"

#include "RecurringGroup.h"
#include "extras/ExtrasTab.h"

void RecurringExtras::install(ExtrasTab *tab)
{
    tab->addGroup([] { return new RecurringGroup; });
}
