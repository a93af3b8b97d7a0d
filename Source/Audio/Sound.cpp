#include "Audio/Sound.h"

#include "Audio/SoundQueue.h"
#include "Shell/Game.h"

std::unique_ptr<Sound> Sound::clone() const {
    return std::make_unique<Sound>(current_path(), range, x, y);
}

void Sound::play() {
    // The one place where sounds reach up to the game: its queue of this frame's sounds.
    if (SoundQueue* queue = Game::instance().sound_queue.get())
        queue->offer(*this);
}

void Sound::clear() {
    path.clear();
}

void Sound::add_path(const std::string& new_path) {
    path = new_path;
}
