#include "tuning/OptionListGeometry.h"

namespace solvane::tuning {

QRect optionListGeometry(ListKind kind, ListOpens opens, QRect button, QSize popupSize) {
    int height = popupSize.height();
    if (kind == ListKind::CpuPhase)
        height /= 2;
    else if (kind == ListKind::Phase || kind == ListKind::Fan || kind == ListKind::LedSwitch)
        height /= 5;
    const int top = opens == ListOpens::Below ? button.y() + button.height() : button.y() - height;
    return {button.x(), top, popupSize.width(), height};
}

} // namespace solvane::tuning
