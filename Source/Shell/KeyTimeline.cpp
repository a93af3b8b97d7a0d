#include "Shell/KeyTimeline.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "Platform/HeldKeys.h"
#include "Platform/PadMap.h"
#include "Platform/VirtualKeyNames.h"
#include "Platform/VirtualPad.h"

void KeyTimeline::add(int64_t frame, int32_t code, bool down, bool pad) {
    // After every change of the same or an earlier frame, so a frame's changes keep their order.
    auto at = std::upper_bound(changes_.begin(), changes_.end(), frame,
                               [](int64_t f, const Change& c) { return f < c.frame; });
    changes_.insert(at, Change{frame, code, down, pad});
}

namespace {
constexpr long long max_frame = 1000000000000LL;
}

bool KeyTimeline::parse(std::istream& in, std::string& error) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string frame_text, action, key, extra;
        if (!(words >> frame_text))
            continue;
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        };
        if (!(words >> action >> key) || (words >> extra))
            return fail("expected \"<frame> down|up|tap <key>\"");
        char* end = nullptr;
        errno = 0;
        long long frame = std::strtoll(frame_text.c_str(), &end, 10);
        if (*end != '\0' || errno != 0 || frame < 1 || frame > max_frame)
            return fail("bad frame number \"" + frame_text + "\" (frames count from 1)");
        std::string lower = key;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool pad = lower.rfind("pad:", 0) == 0;
        const int32_t code = pad ? PadMap::input(key.substr(4)) : VirtualKeyNames::code(key);
        if (code < 0)
            return fail(std::string(pad ? "unknown pad input" : "unknown key") + " \"" + key +
                        "\"");
        if (action == "down") {
            add(frame, code, true, pad);
        } else if (action == "up") {
            add(frame, code, false, pad);
        } else if (action == "tap") {
            add(frame, code, true, pad);
            add(frame + 1, code, false, pad);
        } else {
            return fail("unknown action \"" + action + "\" (down, up or tap)");
        }
    }
    return true;
}

void KeyTimeline::apply(int64_t frame, HeldKeys& keys, VirtualPad* pad) {
    // Frames only move forward; changes of frames passed already are skipped.
    while (next_ < changes_.size() && changes_[next_].frame <= frame) {
        const Change& c = changes_[next_];
        if (c.frame == frame && !c.pad)
            keys.set(c.code, c.down);
        else if (c.frame == frame && pad)
            pad->set(c.code, c.down);
        ++next_;
    }
}

bool KeyTimeline::uses_pad() const {
    return std::any_of(changes_.begin(), changes_.end(), [](const Change& c) { return c.pad; });
}
