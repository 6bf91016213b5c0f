// The question at the first start after the summer holidays: fill in the next school year's holidays?
#pragma once

class QWidget;

namespace NextSchoolYearOffer {

/// Asks once when `NextSchoolYear::due` names a school year; "Ja" stores its
/// holidays in "FERIEN" (unknown periods keep their dates) and remembers the year.
/// Reads nothing but the settings file while no state was chosen.
void run(QWidget *parent);

}
