// dialog_paint.h -- draws a dialog's controls in the classic raised-and-sunken look.
#pragma once

#include "dialog_model.h"

struct SDL_Renderer;

namespace dlgtext {
class Font;
}

namespace dlgview {

// The whole client area: face colour, every visible control, the open combo list on top.
// hotItem is the list item under the mouse (-1 for none).
void PaintDialog(SDL_Renderer* renderer, dlgtext::Font& font, dlgmodel::Model& model, int hotItem);

}  // namespace dlgview
