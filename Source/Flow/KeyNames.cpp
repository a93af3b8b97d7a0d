#include "Flow/KeyNames.h"

KeyNames& KeyNames::instance() {
    // Never destroyed: the table lives as long as the process.
    static KeyNames* names = new KeyNames;
    return *names;
}

bool KeyNames::add(int32_t code, const std::string& name) {
    if (code < first_code || code > last_code)
        return false;
    return names_.emplace(code, name).second;
}

int32_t KeyNames::code_of(const std::string& name) const {
    // The map is ordered by code, so the first match is the smallest code.
    for (const auto& [code, n] : names_)
        if (n == name)
            return code;
    return 0;
}

const std::string* KeyNames::name_of(int32_t code) const {
    auto it = names_.find(code);
    return it == names_.end() ? nullptr : &it->second;
}
