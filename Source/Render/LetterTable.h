#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "Core/Tracked.h"
#include "Render/Letter.h"

// Letters cut out of a texture, keyed by character (one byte). Texts hold checked references
// to their table, which a newer font of the same name may replace.
class LetterTable : public Tracked {
  public:
    // The letter of a character, or null when it has none.
    const Letter* find(unsigned char c) const { return present_[c] ? &letters_[c] : nullptr; }
    // Stores or replaces the letter of a character.
    void set(unsigned char c, const Letter& letter) {
        letters_[c] = letter;
        present_[c] = true;
    }
    int32_t size() const;

    // Width of a line of text: the letters found, each aspect x height wide, with
    // letter_spacing between them, all times scale. Characters without a letter are skipped.
    float line_width(const std::string& line, float height, float letter_spacing,
                     float scale) const;

  private:
    // A flat table: lookups happen for every letter drawn.
    std::array<Letter, 256> letters_{};
    std::array<bool, 256> present_{};
};

// Letter tables by name, as the game keeps its fonts.
using LetterTables = std::map<std::string, std::unique_ptr<LetterTable>>;
