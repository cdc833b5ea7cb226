// dialog_view.cpp -- the dialog's SDL window: opening it at the template's size, the modal
// event handling (mouse and keyboard to the model) and presenting each drawn frame.
#include "dialog/dialog_view.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "dialog/dialog_paint.h"
#include "dialog/dialog_text.h"
#include "dialog/dialog_view_geometry.h"
#include "layer/resources.h"
#include "sdl/x11_lost_windows.h"
#include "win32/window_registry.h"

namespace dlgview {

// "MS Shell Dlg" is a logical face; Windows maps it to a sans face of Arial's metrics.
const char* const kDialogFace = "Arial";
// The template's point size at 96 dots an inch (8 points: 11 pixels).
int FontPixels(const layer::DialogResource& res) { return ((res.fontPoints ? res.fontPoints : 8) * 96 + 36) / 72; }

namespace {

SDL_Renderer* CreateRenderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return renderer;
}

// The renderer makes its own OpenGL context current, and none is current once it is gone: the
// device that was drawing when the dialog came up (an error box in the game) gets its own back.
void RestoreContext(SDL_Window* window, SDL_GLContext context) {
    if (context) SDL_GL_MakeCurrent(window, context);
}

bool KeyOf(SDL_Keycode key, bool shift, layer::DialogKey* out) {
    using layer::DialogKey;
    switch (key) {
        case SDLK_TAB: *out = shift ? DialogKey::ShiftTab : DialogKey::Tab; return true;
        case SDLK_SPACE: *out = DialogKey::Space; return true;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: *out = DialogKey::Enter; return true;
        case SDLK_ESCAPE: *out = DialogKey::Escape; return true;
        case SDLK_UP: *out = DialogKey::Up; return true;
        case SDLK_DOWN: *out = DialogKey::Down; return true;
        case SDLK_LEFT: *out = DialogKey::Left; return true;
        case SDLK_RIGHT: *out = DialogKey::Right; return true;
        case SDLK_HOME: *out = DialogKey::Home; return true;
        case SDLK_END: *out = DialogKey::End; return true;
        case SDLK_PAGEUP: *out = DialogKey::PageUp; return true;
        case SDLK_PAGEDOWN: *out = DialogKey::PageDown; return true;
        default: return false;
    }
}

bool Operable(const dlgmodel::Control& c) {
    return c.visible && c.kind != dlgmodel::Kind::Static && c.kind != dlgmodel::Kind::GroupBox;
}

// The part of a control that takes clicks: a combo box only by its closed field.
SDL_Rect ClickArea(const dlgmodel::Control& c) {
    return c.kind == dlgmodel::Kind::ComboBox ? ComboField(c) : ControlRect(c);
}

// A window without a frame of the system's: the caption bar drawn by the view moves it.
SDL_HitTestResult CaptionHitTest(SDL_Window*, const SDL_Point* point, void*) {
    return point->y < kCaptionHeight ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

SDL_Surface* IconSurface(HICON icon) {
    auto* res = reinterpret_cast<const layer::IconResource*>(icon);
    if (!res || !res->argb) return nullptr;
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(res->argb), res->width, res->height, 32,
                                              res->width * 4, SDL_PIXELFORMAT_ARGB8888);
}

}  // namespace

std::unique_ptr<View> View::Open(dlghost::Host& host) {
    const layer::DialogResource& res = host.model.Resource();
    RECT size = dlghost::ToPixels({0, 0, res.cx, res.cy});
    SDL_Window* const glWindow = SDL_GL_GetCurrentWindow();
    const SDL_GLContext glContext = SDL_GL_GetCurrentContext();
    // No close box, as the template has no system menu: the caption is the view's own.
    SDL_Window* window = SDL_CreateWindow(res.title ? res.title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          size.right, size.bottom + kCaptionHeight,
                                          SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (window) SDL_SetWindowHitTest(window, CaptionHitTest, nullptr);
    SDL_Renderer* renderer = window ? CreateRenderer(window) : nullptr;
    std::unique_ptr<dlgtext::Font> font = renderer ? dlgtext::Font::Open(kDialogFace, FontPixels(res)) : nullptr;
    if (!font) {
        std::fprintf(stderr, "trevok: cannot show the dialog \"%s\" (%s)\n", res.title ? res.title : "", SDL_GetError());
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        RestoreContext(glWindow, glContext);
        return nullptr;
    }
    return std::unique_ptr<View>(new View(host, window, renderer, std::move(font), glWindow, glContext));
}

View::View(dlghost::Host& host, SDL_Window* window, SDL_Renderer* renderer, std::unique_ptr<dlgtext::Font> font,
           SDL_Window* glWindow, void* glContext)
    : host_(host), window_(window), renderer_(renderer), font_(std::move(font)), glWindow_(glWindow),
      glContext_(glContext) {
    // Shown once watched: SDL waits for the window to be mapped, which a lost window never is.
    x11lost::Watch(window_);
    if (x11lost::Show(window_)) SDL_RaiseWindow(window_);
}

View::~View() {
    if (iconTexture_) SDL_DestroyTexture(iconTexture_);
    font_.reset();  // its textures belong to the renderer
    SDL_DestroyRenderer(renderer_);
    x11lost::Destroy(window_);
    RestoreContext(glWindow_, glContext_);
}

bool View::Lost() const { return x11lost::IsGone(window_); }

void View::HandleEvents() {
    SDL_WaitEventTimeout(nullptr, 30);
    SDL_Event e;
    while (!host_.ended && SDL_PollEvent(&e)) HandleEvent(e);
}

void View::HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: SendMessageA(host_.hwnd, WM_CLOSE, 0, 0); break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE && e.window.windowID == SDL_GetWindowID(window_))
                SendMessageA(host_.hwnd, WM_CLOSE, 0, 0);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && e.button.y >= kCaptionHeight)
                MouseDown(e.button.x, e.button.y - kCaptionHeight);
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) dragging_ = -1;
            break;
        case SDL_MOUSEMOTION: MouseMove(e.motion.x, e.motion.y - kCaptionHeight); break;
        case SDL_KEYDOWN: Key(e); break;
        default: break;
    }
}

void View::MouseDown(int x, int y) {
    dlgmodel::Model& model = host_.model;
    if (dlgmodel::Control* dropped = model.DroppedCombo()) {
        SDL_Rect list = ComboList(*dropped);
        if (Inside(list, x, y))
            model.ChooseItem(*dropped, (y - list.y - 1) / kComboItemHeight);
        else
            model.Click(*dropped);  // any click elsewhere only closes the list
        hotItem_ = -1;
        return;
    }
    auto& controls = model.Controls();
    for (size_t i = controls.size(); i-- > 0;) {
        dlgmodel::Control& c = controls[i];
        if (!Operable(c) || !Inside(ClickArea(c), x, y)) continue;
        if (c.kind == dlgmodel::Kind::Trackbar) {
            dragging_ = static_cast<int>(i);
            MouseMove(x, y);
        } else {
            model.Click(c);
        }
        return;
    }
}

void View::MouseMove(int x, int y) {
    dlgmodel::Model& model = host_.model;
    if (dlgmodel::Control* dropped = model.DroppedCombo()) {
        SDL_Rect list = ComboList(*dropped);
        hotItem_ = Inside(list, x, y) ? (y - list.y - 1) / kComboItemHeight : -1;
        if (hotItem_ >= static_cast<int>(dropped->items.size())) hotItem_ = -1;
    }
    if (dragging_ < 0) return;
    dlgmodel::Control& c = model.Controls()[static_cast<size_t>(dragging_)];
    SDL_Rect channel = TrackChannel(c);
    model.DragTrackbar(c, channel.w > 0 ? static_cast<double>(x - channel.x) / channel.w : 0.0);
}

void View::Key(const SDL_Event& e) {
    layer::DialogKey key;
    if (KeyOf(e.key.keysym.sym, (e.key.keysym.mod & KMOD_SHIFT) != 0, &key)) host_.model.Key(key);
}

void View::UpdateIcon() {
    wintable::Window* w = wintable::FindLive(host_.hwnd);
    HICON icon = w ? (w->bigIcon ? w->bigIcon : w->smallIcon) : nullptr;
    if (icon == shownIcon_) return;
    shownIcon_ = icon;
    if (iconTexture_) SDL_DestroyTexture(iconTexture_);
    iconTexture_ = nullptr;
    if (SDL_Surface* surface = IconSurface(icon)) {
        SDL_SetWindowIcon(window_, surface);
        iconTexture_ = SDL_CreateTextureFromSurface(renderer_, surface);
        SDL_FreeSurface(surface);
    }
}

void View::Draw() {
    UpdateIcon();
    int width, height;
    SDL_GetWindowSize(window_, &width, &height);
    SDL_Rect client = {0, kCaptionHeight, width, height - kCaptionHeight};
    SDL_RenderSetViewport(renderer_, &client);
    PaintDialog(renderer_, *font_, host_.model, hotItem_);
    SDL_RenderSetViewport(renderer_, nullptr);
    const char* title = host_.model.Resource().title;
    PaintCaption(renderer_, *font_, title ? title : "", iconTexture_, width, height);
    SDL_RenderPresent(renderer_);
}

}  // namespace dlgview

namespace layer {

bool RenderDialogToPixels(HWND hDlg, std::vector<uint32_t>* pixels, int* width, int* height) {
    dlghost::Host* host = dlghost::Find(hDlg);
    if (!host || !pixels || !width || !height) return false;
    const layer::DialogResource& res = host->model.Resource();
    RECT size = dlghost::ToPixels({0, 0, res.cx, res.cy});
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, size.right, size.bottom, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = surface ? SDL_CreateSoftwareRenderer(surface) : nullptr;
    std::unique_ptr<dlgtext::Font> font =
        renderer ? dlgtext::Font::Open(dlgview::kDialogFace, dlgview::FontPixels(res)) : nullptr;
    if (font) {
        dlgview::PaintDialog(renderer, *font, host->model, -1);
        SDL_RenderPresent(renderer);
        *width = surface->w;
        *height = surface->h;
        pixels->resize(static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h));
        for (int y = 0; y < surface->h; ++y)
            std::memcpy(&(*pixels)[static_cast<size_t>(y) * static_cast<size_t>(surface->w)],
                        static_cast<const char*>(surface->pixels) + y * surface->pitch,
                        static_cast<size_t>(surface->w) * 4);
    }
    const bool drawn = font != nullptr;
    font.reset();  // its textures belong to the renderer
    if (renderer) SDL_DestroyRenderer(renderer);
    if (surface) SDL_FreeSurface(surface);
    return drawn;
}

}  // namespace layer
