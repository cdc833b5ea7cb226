// dialog_view_geometry.cpp -- pixel rectangles of the dialog controls' parts.
#include "dialog/dialog_view_geometry.h"

#include "dialog/dialog_host.h"

namespace dlgview {

SDL_Rect ControlRect(const dlgmodel::Control& c) {
    RECT r = dlghost::ToPixels(c.dlu);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SDL_Rect ComboField(const dlgmodel::Control& c) {
    SDL_Rect r = ControlRect(c);
    r.h = kComboFieldHeight;
    return r;
}

SDL_Rect ComboList(const dlgmodel::Control& c) {
    SDL_Rect field = ComboField(c);
    return {field.x, field.y + field.h, field.w, static_cast<int>(c.items.size()) * kComboItemHeight + 2};
}

SDL_Rect TrackChannel(const dlgmodel::Control& c) {
    SDL_Rect r = ControlRect(c);
    return {r.x + kChannelMargin, r.y + r.h / 2 - 2, r.w - 2 * kChannelMargin, 4};
}

SDL_Rect TrackThumb(const dlgmodel::Control& c) {
    SDL_Rect r = ControlRect(c);
    SDL_Rect channel = TrackChannel(c);
    int span = c.rangeMax - c.rangeMin;
    double f = span > 0 ? static_cast<double>(c.pos - c.rangeMin) / span : 0.0;
    int centre = channel.x + static_cast<int>(f * channel.w + 0.5);
    int height = r.h + 4;
    return {centre - kThumbWidth / 2, r.y + r.h / 2 - height / 2, kThumbWidth, height};
}

bool Inside(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

}  // namespace dlgview
