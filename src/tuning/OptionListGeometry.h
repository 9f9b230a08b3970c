#pragma once

#include "tuning/AdvancedPagePlan.h"

#include <QRect>

namespace solvane::tuning {

// Apart from the option lists in Qt's own geometry types: the report reads the lists and loads no
// Qt library.
//
// Where the popup goes, in the coordinates of the button's rectangle: its width stays; its height
// is the popup's full height for voltage and reference lists, half for the CPU phase list and a
// fifth for the phase, fan and LED lists; its left edge is the button's; it hangs from the button's
// bottom edge or stands on its top edge.
QRect optionListGeometry(ListKind kind, ListOpens opens, QRect button, QSize popupSize);

} // namespace solvane::tuning
