// Script functions of particle templates and emitters.
#include "Scene/FindObject.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"

void LuaFunctions::particle_start_color(const std::string& name, float r, float g, float b,
                                        float a) {
    if (Particle* particle = find_object<Particle>(name, __func__, "particle template"))
        particle->start_colour = {r, g, b, a};
}

void LuaFunctions::particle_end_color(const std::string& name, float r, float g, float b, float a) {
    if (Particle* particle = find_object<Particle>(name, __func__, "particle template"))
        particle->end_colour = {r, g, b, a};
}

void LuaFunctions::emitter_range(const std::string& name, float life_min, float life_max,
                                 float spin_min, float spin_max, float speed_min, float speed_max) {
    if (auto* emitter = find_object<ParticleEmitter>(name, __func__, "emitter"))
        emitter->set_ranges(life_min, life_max, spin_min, spin_max, speed_min, speed_max);
}

void LuaFunctions::emitter_scale(const std::string& name, bool separate_end_scale, float start_min,
                                 float start_max, float end_min, float end_max) {
    if (auto* emitter = find_object<ParticleEmitter>(name, __func__, "emitter"))
        emitter->set_scales(separate_end_scale, start_min, start_max, end_min, end_max);
}

void LuaFunctions::emitter_particle_amount(const std::string& name, int32_t count) {
    if (auto* emitter = find_object<ParticleEmitter>(name, __func__, "emitter"))
        emitter->emit(count);
}

void LuaFunctions::emitter_angle(const std::string& name, float angle) {
    if (auto* emitter = find_object<ParticleEmitter>(name, __func__, "emitter"))
        emitter->set_spread(angle);
}

void LuaFunctions::emitter_timer_delay(const std::string& name, float) {
    // Accepted for the scripts that call it; emitters release particles only when asked.
    find_object<ParticleEmitter>(name, __func__, "emitter");
}

// Engine extensions.

void LuaFunctions::emitter_burst(const std::string& name, int32_t count) {
    auto* emitter = find_object<ParticleEmitter>(name, __func__, "emitter");
    if (!emitter)
        return;
    emitter->one_shot = true;
    emitter->emit(count);
}
