#include "screens/figure_preview.h"

#include "world/appearance.h"
#include "world/human_image_lib.h"

namespace vs::screens {

net::Appearance PreviewAppearance(int style, bool female) {
    net::Appearance a;
    a.kind = net::Appearance::kCharacter;
    a.gender = female ? 1 : 0;
    a.state = 0;
    a.head = uint8_t(style);
    a.body = 0;
    a.weapon = world::kNoWeapon;
    a.shield = 255;
    return a;
}

void DrawPreview(graphics::Canvas& canvas, const base::Rect& box, int style, bool female,
                 const WalkInPlace& walk) {
    auto* figures = world::HumanImageLib::instance();
    if (!figures) return;
    const net::Appearance a = PreviewAppearance(style, female);
    base::Rect bounds, shadow;
    figures->GetFullBounds(a, walk.direction(), 0, 0, walk.walkFrame(), bounds, shadow);
    if (bounds.empty()) return;
    // Frame (0, 12) is the foot; the bounds are in cell coordinates, frame (0, 0) at (12, 12).
    const int32_t footX = (box.left + box.right) / 2, footY = box.bottom - 12;
    const base::Point at{footX + bounds.left - 12, footY - 12 + bounds.top - 12};
    figures->DrawCharacter(canvas, at, a, walk.direction(), 0, 0, walk.walkFrame());
}

}  // namespace vs::screens
