#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

class HeldKeys;
class VirtualPad;

// Key presses and releases by frame number, read from a text file, one change a line:
//   <frame> down <key>    the key goes down before that frame runs
//   <frame> up <key>      the key comes up before that frame runs
//   <frame> tap <key>     down before that frame, up before the next one
// Keys are names or codes (see VirtualKeyNames), or a game controller's inputs as "pad:" and the
// input's name (see PadMap), played on a virtual pad. Blank lines and text after "#" are
// ignored. Lines may come in any order; changes of the same frame apply in the file's order.
class KeyTimeline {
  public:
    struct Change {
        int64_t frame;
        int32_t code;  // a virtual-key code, or a pad input
        bool down;
        bool pad = false;
    };

    // Reads the lines; false with "line N: what is wrong" in error on the first bad line.
    bool parse(std::istream& in, std::string& error);
    // Applies the changes of this frame to the keyboard and the pad (which may be null when
    // the timeline has no pad inputs).
    void apply(int64_t frame, HeldKeys& keys, VirtualPad* pad = nullptr);
    void add(int64_t frame, int32_t code, bool down, bool pad = false);
    // True when some change is a pad input's.
    bool uses_pad() const;

    const std::vector<Change>& changes() const { return changes_; }

  private:
    std::vector<Change> changes_;  // ordered by frame
    size_t next_ = 0;
};
