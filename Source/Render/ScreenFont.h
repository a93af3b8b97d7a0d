#pragma once

#include <cstdint>

#include "Render/BitmapFont.h"
#include "Render/Color.h"

class Renderer;

// The engine's own monospaced font for text in window pixels (the author's error strip and
// frame overlay): a system font that no game names, with its letter width and line height.
class ScreenFont {
  public:
    ScreenFont();

    // Makes the font's display lists on the renderer (once per renderer); false without a
    // system font.
    bool upload(Renderer& renderer);
    // Text with its baseline at (x, y) pixels from the window's lower-left corner.
    void draw(Renderer& renderer, int32_t x, int32_t y, const Color& color, const char* text);

    int32_t advance() const { return advance_; }
    int32_t line_height() const { return line_height_; }

  private:
    BitmapFont font_;
    int32_t advance_ = 8;
    int32_t line_height_ = 16;
};
