// dialog_paint.h -- draws a dialog's controls in the classic raised-and-sunken look.
#pragma once

#include "dialog/dialog_model.h"

#include <string>

struct SDL_Renderer;
struct SDL_Texture;

namespace dlgtext {
class Font;
}

namespace dlgview {

// The whole client area: face colour, every visible control, the open combo list on top.
// hotItem is the list item under the mouse (-1 for none).
void PaintDialog(SDL_Renderer* renderer, dlgtext::Font& font, dlgmodel::Model& model, int hotItem);

// The caption bar across the top of a window width pixels wide, with the icon (may be null) and
// the title, and a raised frame around the whole window of the given height.
constexpr int kCaptionHeight = 18;
void PaintCaption(SDL_Renderer* renderer, dlgtext::Font& font, const std::string& title, SDL_Texture* icon, int width,
                  int height);

}  // namespace dlgview
