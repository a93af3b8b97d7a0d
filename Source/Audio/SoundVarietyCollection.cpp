#include "Audio/SoundVarietyCollection.h"

#include <cstdlib>

void SoundVarietyCollection::pick() {
    if (paths.empty())
        path.clear();
    else
        path = paths[static_cast<size_t>(std::rand()) % paths.size()];
}

void SoundVarietyCollection::play() {
    pick();
    Sound::play();
}

void SoundVarietyCollection::clear() {
    paths.clear();
}

void SoundVarietyCollection::add_path(const std::string& new_path) {
    paths.push_back(new_path);
}
