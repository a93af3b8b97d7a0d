#include "Map/LayerData.h"

#include <zlib.h>

#include <cctype>

std::string LayerData::decode(const std::string& encoding, const std::string& compression,
                              const std::string& text, int64_t count,
                              std::vector<uint32_t>& cells) {
    if (count < 0 || count > max_cells)
        return "a layer of " + std::to_string(count) + " cells is too large";
    if (encoding == "csv") {
        if (!compression.empty())
            return "CSV data cannot be compressed";
        return decode_csv(text, count, cells);
    }
    if (encoding != "base64")
        return "unsupported layer encoding \"" + encoding + "\"";
    std::vector<uint8_t> bytes;
    if (!decode_base64(text, bytes))
        return "damaged base64 layer data";
    const size_t expected = static_cast<size_t>(count) * 4;
    if (compression == "zlib" || compression == "gzip") {
        std::vector<uint8_t> packed;
        packed.swap(bytes);
        std::string error = inflate(packed, compression == "gzip", expected, bytes);
        if (!error.empty())
            return error;
    } else if (!compression.empty()) {
        return "unsupported layer compression \"" + compression + "\"";
    }
    if (bytes.size() != expected)
        return "layer data holds " + std::to_string(bytes.size() / 4) + " cells instead of " +
               std::to_string(count);
    cells.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < cells.size(); ++i)
        cells[i] = uint32_t(bytes[4 * i]) | uint32_t(bytes[4 * i + 1]) << 8 |
                   uint32_t(bytes[4 * i + 2]) << 16 | uint32_t(bytes[4 * i + 3]) << 24;
    return "";
}

std::string LayerData::decode_csv(const std::string& text, int64_t count,
                                  std::vector<uint32_t>& cells) {
    cells.clear();
    cells.reserve(static_cast<size_t>(count));
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() &&
               (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == ','))
            ++i;
        if (i == text.size())
            break;
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return "damaged CSV layer data";
        uint64_t value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            value = value * 10 + static_cast<uint64_t>(text[i] - '0');
            if (value > 0xffffffffu)
                return "a tile id in CSV layer data is out of range";
            ++i;
        }
        if (static_cast<int64_t>(cells.size()) == count)
            return "CSV layer data holds more than " + std::to_string(count) + " cells";
        cells.push_back(static_cast<uint32_t>(value));
    }
    if (static_cast<int64_t>(cells.size()) != count)
        return "CSV layer data holds " + std::to_string(cells.size()) + " cells instead of " +
               std::to_string(count);
    return "";
}

bool LayerData::decode_base64(const std::string& text, std::vector<uint8_t>& bytes) {
    uint32_t buffer = 0;
    int bits = 0;
    bool ended = false;
    for (char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        else if (c == '=') {
            ended = true;
            continue;
        } else if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        else
            return false;
        if (ended)
            return false;
        buffer = (buffer << 6) | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<uint8_t>(buffer >> bits));
        }
    }
    return true;
}

std::string LayerData::inflate(const std::vector<uint8_t>& packed, bool gzip, size_t expected,
                               std::vector<uint8_t>& bytes) {
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 15 + 16 : 15) != Z_OK)
        return "cannot start decompression";
    // One byte more than expected tells a stream that holds too much.
    bytes.assign(expected + 1, 0);
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = bytes.data();
    stream.avail_out = static_cast<uInt>(bytes.size());
    const int result = ::inflate(&stream, Z_FINISH);
    const size_t produced = bytes.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::string("damaged ") + (gzip ? "gzip" : "zlib") + " layer data";
    bytes.resize(produced);
    return "";
}
