#pragma once

#include <cstdint>
#include <map>
#include <string>

// The process-wide names of Windows virtual-key codes, through which scripts bind keys. Entries
// are only ever added, and a code keeps the first name it was given.
class KeyNames {
  public:
    static KeyNames& instance();

    // Adds code -> name unless the code already has a name; true when added. Only the codes
    // of keys, 1 to 255, are taken: another number could never be down, and keeping it would
    // let a script grow the table without bound.
    bool add(int32_t code, const std::string& name);

    static constexpr int32_t first_code = 1, last_code = 255;
    // The smallest code carrying the name, or 0 when no code does.
    int32_t code_of(const std::string& name) const;
    // The name of the code, or null.
    const std::string* name_of(int32_t code) const;
    size_t size() const { return names_.size(); }
    // Forgets every name, for a restart of the game.
    void clear() { names_.clear(); }

  private:
    KeyNames() = default;
    std::map<int32_t, std::string> names_;
};
