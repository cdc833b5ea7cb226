// dialog_paint.cpp -- drawing of push buttons, group boxes, statics (text and icons), check boxes,
// drop-down combo boxes and trackbars.
#include "dialog/dialog_paint.h"

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "dialog/dialog_stock_icons.h"
#include "dialog/dialog_text.h"
#include "dialog/dialog_view_geometry.h"

namespace dlgview {
namespace {

constexpr unsigned kFace = 0xD4D0C8, kLight = 0xFFFFFF, kShadow = 0x808080, kDark = 0x404040;
constexpr unsigned kCaptionLeft = 0x0A246A, kCaptionRight = 0xA6CAF0;
constexpr unsigned kText = 0x000000, kWindow = 0xFFFFFF, kHighlight = 0x0A246A, kHighlightText = 0xFFFFFF;

struct Painter {
    SDL_Renderer* r;
    dlgtext::Font& font;

    void Colour(unsigned rgb) { SDL_SetRenderDrawColor(r, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, 255); }
    void Fill(const SDL_Rect& rc, unsigned rgb) {
        Colour(rgb);
        SDL_RenderFillRect(r, &rc);
    }
    void Line(int x1, int y1, int x2, int y2, unsigned rgb) {
        Colour(rgb);
        SDL_RenderDrawLine(r, x1, y1, x2, y2);
    }
    void Frame(const SDL_Rect& rc, unsigned rgb) {
        Colour(rgb);
        SDL_RenderDrawRect(r, &rc);
    }
    // Light on the top and left, dark on the bottom and right (swapped when sunken).
    void Bevel(const SDL_Rect& rc, bool sunken) {
        unsigned topLeft = sunken ? kShadow : kLight, bottomRight = sunken ? kLight : kDark;
        Line(rc.x, rc.y, rc.x + rc.w - 1, rc.y, topLeft);
        Line(rc.x, rc.y, rc.x, rc.y + rc.h - 1, topLeft);
        Line(rc.x, rc.y + rc.h - 1, rc.x + rc.w - 1, rc.y + rc.h - 1, bottomRight);
        Line(rc.x + rc.w - 1, rc.y, rc.x + rc.w - 1, rc.y + rc.h - 1, bottomRight);
    }
    void DottedFrame(const SDL_Rect& rc) {
        Colour(kText);
        for (int x = rc.x; x < rc.x + rc.w; x += 2) {
            SDL_RenderDrawPoint(r, x, rc.y);
            SDL_RenderDrawPoint(r, x, rc.y + rc.h - 1);
        }
        for (int y = rc.y; y < rc.y + rc.h; y += 2) {
            SDL_RenderDrawPoint(r, rc.x, y);
            SDL_RenderDrawPoint(r, rc.x + rc.w - 1, y);
        }
    }
    void TextCentred(const std::string& text, const SDL_Rect& rc, unsigned rgb) {
        font.Draw(r, text, rc.x + (rc.w - font.Width(text)) / 2, rc.y + (rc.h - font.LineHeight()) / 2, rgb);
    }
    void DownArrow(int cx, int cy) {
        for (int i = 0; i < 4; ++i) Line(cx - 3 + i, cy - 1 + i, cx + 3 - i, cy - 1 + i, kText);
    }
};

void PaintButton(Painter& p, const dlgmodel::Control& c, bool focused) {
    SDL_Rect rc = ControlRect(c);
    p.Fill(rc, kFace);
    if (c.kind == dlgmodel::Kind::DefPushButton || focused) {
        p.Frame(rc, kText);
        rc = {rc.x + 1, rc.y + 1, rc.w - 2, rc.h - 2};
    }
    p.Bevel(rc, false);
    p.TextCentred(c.text, rc, kText);
    if (focused) p.DottedFrame({rc.x + 3, rc.y + 3, rc.w - 6, rc.h - 6});
}

void PaintGroupBox(Painter& p, const dlgmodel::Control& c) {
    SDL_Rect rc = ControlRect(c);
    int top = rc.y + p.font.LineHeight() / 2;
    SDL_Rect etch = {rc.x, top, rc.w - 1, rc.y + rc.h - top - 1};
    p.Frame(etch, kShadow);
    p.Frame({etch.x + 1, etch.y + 1, etch.w, etch.h}, kLight);
    SDL_Rect label = {rc.x + 7, rc.y, p.font.Width(c.text) + 4, p.font.LineHeight()};
    p.Fill(label, kFace);
    p.font.Draw(p.r, c.text, label.x + 2, rc.y - 1, kText);
}

void PaintCheckBox(Painter& p, const dlgmodel::Control& c, bool focused) {
    SDL_Rect rc = ControlRect(c);
    SDL_Rect box = {rc.x, rc.y + (rc.h - kCheckBoxSize) / 2, kCheckBoxSize, kCheckBoxSize};
    p.Fill(box, kWindow);
    p.Frame(box, (c.style & BS_FLAT) ? kText : kShadow);
    if (c.check == BST_CHECKED) {
        for (int i = 0; i < 3; ++i) {
            p.Line(box.x + 3, box.y + 5 + i, box.x + 5, box.y + 7 + i, kText);
            p.Line(box.x + 5, box.y + 7 + i, box.x + 9, box.y + 3 + i, kText);
        }
    }
    int textX = box.x + kCheckBoxSize + 4;
    int textY = rc.y + (rc.h - p.font.LineHeight()) / 2;
    p.font.Draw(p.r, c.text, textX, textY, kText);
    if (focused) p.DottedFrame({textX - 2, textY, p.font.Width(c.text) + 4, p.font.LineHeight() + 1});
}

void PaintCombo(Painter& p, const dlgmodel::Control& c, bool focused) {
    SDL_Rect field = ComboField(c);
    p.Fill(field, kWindow);
    p.Bevel(field, true);
    SDL_Rect button = {field.x + field.w - kComboButtonWidth - 2, field.y + 2, kComboButtonWidth, field.h - 4};
    p.Fill(button, kFace);
    p.Bevel(button, c.dropped);
    p.DownArrow(button.x + button.w / 2, button.y + button.h / 2);
    SDL_Rect textArea = {field.x + 3, field.y + 3, button.x - field.x - 4, field.h - 6};
    if (focused && !c.dropped) p.Fill(textArea, kHighlight);
    if (c.selection >= 0) {
        unsigned colour = (focused && !c.dropped) ? kHighlightText : kText;
        p.font.Draw(p.r, c.items[static_cast<size_t>(c.selection)], textArea.x + 1,
                    textArea.y + (textArea.h - p.font.LineHeight()) / 2, colour);
    }
}

void PaintComboList(Painter& p, const dlgmodel::Control& c, int hotItem) {
    SDL_Rect list = ComboList(c);
    p.Fill(list, kWindow);
    p.Frame(list, kText);
    int marked = hotItem >= 0 ? hotItem : c.selection;
    for (size_t i = 0; i < c.items.size(); ++i) {
        SDL_Rect row = {list.x + 1, list.y + 1 + static_cast<int>(i) * kComboItemHeight, list.w - 2, kComboItemHeight};
        bool hot = static_cast<int>(i) == marked;
        if (hot) p.Fill(row, kHighlight);
        p.font.Draw(p.r, c.items[i], row.x + 2, row.y + (row.h - p.font.LineHeight()) / 2,
                    hot ? kHighlightText : kText);
    }
}

void PaintTrackbar(Painter& p, const dlgmodel::Control& c, bool focused) {
    SDL_Rect channel = TrackChannel(c);
    p.Fill(channel, kWindow);
    p.Bevel(channel, true);
    SDL_Rect thumb = TrackThumb(c);
    p.Fill(thumb, kFace);
    p.Bevel(thumb, false);
    if (focused) {
        SDL_Rect rc = ControlRect(c);
        p.DottedFrame({rc.x, rc.y - 3, rc.w, rc.h + 6});
    }
}

// Text, one line for each line break in it.
void PaintStatic(Painter& p, const dlgmodel::Control& c) {
    SDL_Rect rc = ControlRect(c);
    size_t from = 0;
    for (int line = 0; from <= c.text.size(); ++line) {
        size_t end = c.text.find('\n', from);
        if (end == std::string::npos) end = c.text.size();
        p.font.Draw(p.r, c.text.substr(from, end - from), rc.x, rc.y + line * p.font.LineHeight(), kText);
        from = end + 1;
    }
}

// An icon static names its icon as a resource number ("#32513"); the stock icons are drawn.
void PaintIcon(Painter& p, const dlgmodel::Control& c) {
    if (c.text.size() < 2 || c.text[0] != '#') return;
    const int size = 32;
    std::vector<uint32_t> pixels = StockIconPixels(std::atoi(c.text.c_str() + 1), size);
    SDL_Texture* texture = SDL_CreateTexture(p.r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, size, size);
    if (!texture) return;
    SDL_UpdateTexture(texture, nullptr, pixels.data(), size * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_Rect rc = ControlRect(c);
    SDL_Rect dst = {rc.x, rc.y, size, size};
    SDL_RenderCopy(p.r, texture, nullptr, &dst);
    SDL_DestroyTexture(texture);
}

void PaintControl(Painter& p, const dlgmodel::Control& c, bool focused) {
    switch (c.kind) {
        case dlgmodel::Kind::PushButton:
        case dlgmodel::Kind::DefPushButton: PaintButton(p, c, focused); break;
        case dlgmodel::Kind::GroupBox: PaintGroupBox(p, c); break;
        case dlgmodel::Kind::CheckBox: PaintCheckBox(p, c, focused); break;
        case dlgmodel::Kind::ComboBox: PaintCombo(p, c, focused); break;
        case dlgmodel::Kind::Trackbar: PaintTrackbar(p, c, focused); break;
        case dlgmodel::Kind::Static:
            if ((c.style & SS_TYPEMASK) == SS_ICON)
                PaintIcon(p, c);
            else
                PaintStatic(p, c);
            break;
    }
}

unsigned Blend(unsigned a, unsigned b, int i, int n) {
    unsigned out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<unsigned>(ca + (cb - ca) * i / (n > 0 ? n : 1)) << shift;
    }
    return out;
}

}  // namespace

void PaintCaption(SDL_Renderer* renderer, dlgtext::Font& font, const std::string& title, SDL_Texture* icon, int width,
                  int height) {
    Painter p{renderer, font};
    SDL_Rect outer = {0, 0, width, height};
    p.Bevel(outer, false);
    for (int x = 1; x < width - 1; ++x) p.Line(x, 1, x, kCaptionHeight, Blend(kCaptionLeft, kCaptionRight, x, width));
    int textX = 5;
    if (icon) {
        SDL_Rect dst = {3, 2, 16, 16};
        SDL_RenderCopy(renderer, icon, nullptr, &dst);
        textX = 22;
    }
    font.Draw(renderer, title, textX, 1 + (kCaptionHeight - font.LineHeight()) / 2, kHighlightText);
}

void PaintDialog(SDL_Renderer* renderer, dlgtext::Font& font, dlgmodel::Model& model, int hotItem) {
    Painter p{renderer, font};
    p.Colour(kFace);
    SDL_RenderClear(renderer);
    dlgmodel::Control* focused = model.Focused();
    for (const dlgmodel::Control& c : model.Controls())
        if (c.visible) PaintControl(p, c, &c == focused);
    if (dlgmodel::Control* dropped = model.DroppedCombo()) PaintComboList(p, *dropped, hotItem);
}

}  // namespace dlgview
