// dialog_text.cpp -- rasterises dialog text with FreeType into cached SDL textures.
#include "dialog/dialog_text.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <vector>

namespace dlgtext {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int ascent = 0;
    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

namespace {

std::string MatchFontFile(const char* family) {
    std::string file;
    if (!FcInit()) return file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return file;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

// The next code point of UTF-8 text (a lone bad byte reads as itself).
uint32_t NextCodePoint(const std::string& s, size_t* i) {
    unsigned char c = static_cast<unsigned char>(s[*i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
    size_t start = (*i)++;
    for (int k = 0; k < extra && *i < s.size(); ++k, ++*i) {
        unsigned char cc = static_cast<unsigned char>(s[*i]);
        if ((cc & 0xC0) != 0x80) return static_cast<unsigned char>(s[start]);
        cp = (cp << 6) | (cc & 0x3F);
    }
    return cp;
}

}  // namespace

Font::Font(std::unique_ptr<Impl> impl, int lineHeight) : impl_(std::move(impl)), lineHeight_(lineHeight) {}

Font::~Font() {
    for (auto& entry : cache_) SDL_DestroyTexture(entry.second);
}

std::unique_ptr<Font> Font::Open(const char* family, int pixelHeight) {
    std::string file = MatchFontFile(family);
    auto impl = std::make_unique<Impl>();
    if (file.empty() || FT_Init_FreeType(&impl->library) || FT_New_Face(impl->library, file.c_str(), 0, &impl->face) ||
        FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(pixelHeight))) {
        std::fprintf(stderr, "trevok: no font for \"%s\" could be loaded\n", family);
        return nullptr;
    }
    impl->ascent = static_cast<int>(impl->face->size->metrics.ascender >> 6);
    int line = static_cast<int>(impl->face->size->metrics.height >> 6);
    return std::unique_ptr<Font>(new Font(std::move(impl), line));
}

int Font::Width(const std::string& text) {
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        if (FT_Load_Char(impl_->face, NextCodePoint(text, &i), FT_LOAD_DEFAULT)) continue;
        width += static_cast<int>(impl_->face->glyph->advance.x >> 6);
    }
    return width;
}

SDL_Texture* Font::Texture(SDL_Renderer* renderer, const std::string& text, int* w, int* h) {
    auto found = cache_.find(text);
    if (found != cache_.end()) {
        *w = sizes_[text].first;
        *h = sizes_[text].second;
        return found->second;
    }
    *w = Width(text) + 2;
    *h = lineHeight_ + 2;
    std::vector<uint32_t> pixels(static_cast<size_t>(*w) * static_cast<size_t>(*h), 0x00FFFFFFu);
    int penX = 0;
    for (size_t i = 0; i < text.size();) {
        if (FT_Load_Char(impl_->face, NextCodePoint(text, &i), FT_LOAD_RENDER)) continue;
        FT_GlyphSlot g = impl_->face->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                int x = penX + g->bitmap_left + static_cast<int>(col);
                int y = impl_->ascent - g->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= *w || y >= *h) continue;
                uint32_t a = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
                uint32_t& p = pixels[static_cast<size_t>(y) * static_cast<size_t>(*w) + static_cast<size_t>(x)];
                if ((a << 24) > (p & 0xFF000000u)) p = (a << 24) | 0x00FFFFFFu;
            }
        }
        penX += static_cast<int>(g->advance.x >> 6);
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, *w, *h);
    if (texture) {
        SDL_UpdateTexture(texture, nullptr, pixels.data(), *w * 4);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    }
    cache_[text] = texture;
    sizes_[text] = {*w, *h};
    return texture;
}

void Font::Draw(SDL_Renderer* renderer, const std::string& text, int x, int y, unsigned rgb) {
    if (text.empty()) return;
    int w, h;
    SDL_Texture* texture = Texture(renderer, text, &w, &h);
    if (!texture) return;
    SDL_SetTextureColorMod(texture, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    SDL_Rect dst = {x, y, w, h};
    SDL_RenderCopy(renderer, texture, nullptr, &dst);
}

}  // namespace dlgtext
