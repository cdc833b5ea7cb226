// dialog_text.h -- text of the dialogs drawn with FreeType from the face fontconfig picks.
#pragma once

#include <map>
#include <memory>
#include <string>

struct SDL_Renderer;
struct SDL_Texture;

namespace dlgtext {

class Font {
public:
    // The face fontconfig matches for family at the given pixel height, or null when none loads.
    static std::unique_ptr<Font> Open(const char* family, int pixelHeight);
    ~Font();

    // Draws UTF-8 text with its top-left corner at (x, y) in the colour 0xRRGGBB.
    void Draw(SDL_Renderer* renderer, const std::string& text, int x, int y, unsigned rgb);
    int Width(const std::string& text);
    int LineHeight() const { return lineHeight_; }

private:
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl, int lineHeight);
    SDL_Texture* Texture(SDL_Renderer* renderer, const std::string& text, int* w, int* h);

    std::unique_ptr<Impl> impl_;
    int lineHeight_;
    std::map<std::string, SDL_Texture*> cache_;
    std::map<std::string, std::pair<int, int>> sizes_;
};

}  // namespace dlgtext
