#pragma once

#include <cstdint>
#include <string>

// Readable names of the virtual-key codes, for files people write (the runner's key timeline).
class VirtualKeyNames {
  public:
    // The code of a name ("left", "space", "f5", "escape", ...; any case), of a single letter or
    // digit (the key with that character), or of a number of two or more digits ("37") or in
    // hexadecimal ("0x25") from 0 to 255; -1 when it is none of these.
    static int32_t code(const std::string& name);
};
