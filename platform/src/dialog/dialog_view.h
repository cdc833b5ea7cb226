// dialog_view.h -- shows a running dialog in its own SDL window and turns the mouse and the
// keyboard into actions on its model.
#pragma once

#include <memory>

#include "dialog/dialog_host.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace dlgtext {
class Font;
}

namespace dlgview {

// The face and the pixel height that dialogs draw their text in.
extern const char* const kDialogFace;
int FontPixels(const layer::DialogResource& res);

class View {
public:
    // The window for the dialog, or null (with the reason on standard error).
    static std::unique_ptr<View> Open(dlghost::Host& host);
    ~View();

    // Waits briefly for input and applies whatever arrived to the model.
    void HandleEvents();
    void Draw();
    // True once another program destroyed the window.
    bool Lost() const;

private:
    View(dlghost::Host& host, SDL_Window* window, SDL_Renderer* renderer, std::unique_ptr<dlgtext::Font> font,
         SDL_Window* glWindow, void* glContext);
    void HandleEvent(const SDL_Event& e);
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void Key(const SDL_Event& e);
    void UpdateIcon();

    dlghost::Host& host_;
    SDL_Window* window_;
    SDL_Renderer* renderer_;
    std::unique_ptr<dlgtext::Font> font_;
    HICON shownIcon_ = nullptr;
    SDL_Texture* iconTexture_ = nullptr;
    int dragging_ = -1;  // index of the trackbar whose thumb is held
    int hotItem_ = -1;  // item under the mouse in an open combo list
    // The OpenGL context that was current before the renderer made its own current.
    SDL_Window* glWindow_;
    void* glContext_;
};

}  // namespace dlgview
