#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The cells of a tile layer (or of one chunk) as Tiled writes them: CSV, or base64 of
// little-endian 32-bit ids, maybe compressed with zlib or gzip.
class LayerData {
  public:
    // Layers and chunks larger than this many cells are refused as absurd.
    static constexpr int64_t max_cells = 1 << 24;

    // Decodes exactly count ids into cells. encoding is "csv" or "base64" (an empty one, the
    // XML of each tile, is read by the TMX reader); compression is "", "zlib" or "gzip".
    // Returns "" or why the data cannot be used.
    static std::string decode(const std::string& encoding, const std::string& compression,
                              const std::string& text, int64_t count, std::vector<uint32_t>& cells);

  private:
    static std::string decode_csv(const std::string& text, int64_t count,
                                  std::vector<uint32_t>& cells);
    static bool decode_base64(const std::string& text, std::vector<uint8_t>& bytes);
    static std::string inflate(const std::vector<uint8_t>& packed, bool gzip, size_t expected,
                               std::vector<uint8_t>& bytes);
};
