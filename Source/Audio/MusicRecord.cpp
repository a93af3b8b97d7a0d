#include "Audio/MusicRecord.h"

#include "Audio/MusicEngine.h"
#include "Shell/Game.h"

MusicRecord::MusicRecord(const std::string& path)
    : path(path), file_name(MusicEngine::sound_name(path)) {}

void MusicRecord::start() const {
    if (MusicEngine* engine = Game::instance().music.get())
        engine->add_music(path);
}

void MusicRecord::stop() const {
    if (MusicEngine* engine = Game::instance().music.get())
        engine->remove_music(file_name);
}
