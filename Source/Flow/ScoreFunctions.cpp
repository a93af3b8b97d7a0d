// Script functions of points, combos, grades, the level name and the level timer.
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

namespace {

Score& score() {
    return Game::instance().score;
}

}  // namespace

const char* LuaFunctions::get_level_name(int32_t points) {
    return score().level_for(points);
}

void LuaFunctions::points_reset(int32_t time_limit, int32_t max_combo) {
    score().reset(time_limit, max_combo);
}

void LuaFunctions::add_points(int32_t points) {
    score().add(points);
}

void LuaFunctions::add_point_level(const std::string& name, int32_t min_points) {
    score().add_level(min_points, name);
}

const char* LuaFunctions::level_name() {
    const auto& name = Game::instance().level_name;
    return name ? name->c_str() : nullptr;
}

void LuaFunctions::set_level_name(const std::string& name) {
    Game::instance().level_name = name;
}

int32_t LuaFunctions::get_points() {
    return score().points;
}

int32_t LuaFunctions::get_timed_points() {
    return score().timed_points();
}

int32_t LuaFunctions::get_time() {
    return score().time();
}

void LuaFunctions::timer_start() {
    score().timer_running = true;
}

void LuaFunctions::timer_stop() {
    score().timer_running = false;
}

void LuaFunctions::set_point_settings(int32_t points_per_second, int32_t combo_divisor) {
    score().set_settings(points_per_second, combo_divisor);
}

int32_t LuaFunctions::get_combo() {
    return score().combo;
}

int32_t LuaFunctions::get_max_combo() {
    return score().max_combo;
}

int32_t LuaFunctions::get_combo_multiplier() {
    return score().multiplier();
}
