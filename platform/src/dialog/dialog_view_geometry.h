// dialog_view_geometry.h -- where the parts of each control lie on screen, shared by drawing and
// hit-testing.
#pragma once

#include <SDL.h>

#include "dialog/dialog_model.h"

namespace dlgview {

constexpr int kComboFieldHeight = 20;
constexpr int kComboItemHeight = 16;
constexpr int kComboButtonWidth = 17;
constexpr int kCheckBoxSize = 13;
constexpr int kThumbWidth = 11;
constexpr int kChannelMargin = 8;

SDL_Rect ControlRect(const dlgmodel::Control& c);
// The closed field of a combo box, and its list when open.
SDL_Rect ComboField(const dlgmodel::Control& c);
SDL_Rect ComboList(const dlgmodel::Control& c);
// The trackbar's channel (where the thumb's centre may go) and its thumb.
SDL_Rect TrackChannel(const dlgmodel::Control& c);
SDL_Rect TrackThumb(const dlgmodel::Control& c);
bool Inside(const SDL_Rect& r, int x, int y);

}  // namespace dlgview
