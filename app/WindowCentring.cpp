#include "WindowCentring.h"

namespace vindrel {

void CentredPosition(const platform::Rect& window, const platform::Rect& centre,
                     const platform::Rect& area, int& x, int& y) {
    const int w = window.Width();
    const int h = window.Height();
    x = (centre.left + centre.right) / 2 - w / 2;
    y = (centre.top + centre.bottom) / 2 - h / 2;
    if (x + w > area.right)
        x = area.right - w;
    if (x < area.left)
        x = area.left;
    if (y + h > area.bottom)
        y = area.bottom - h;
    if (y < area.top)
        y = area.top;
}

void placeCentred(platform::DialogWindow& window, platform::DialogWindow* reference) {
    if (reference == nullptr)
        reference = window.Parent();
    if (reference != nullptr && (!reference->IsVisible() || reference->IsMinimised()))
        reference = nullptr;
    platform::Rect area;
    const bool known =
        reference != nullptr ? reference->NearestWorkArea(area) : window.NearestWorkArea(area);
    if (!known)
        return;
    const platform::Rect centre = reference != nullptr ? reference->WindowRect() : area;
    int x = 0, y = 0;
    CentredPosition(window.WindowRect(), centre, area, x, y);
    window.MoveTo(x, y);
}

} // namespace vindrel
