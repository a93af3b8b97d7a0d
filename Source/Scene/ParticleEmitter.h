#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Scene/Particle.h"
#include "Scene/Sprite.h"

// Releases clones of a particle template with random parameters drawn from its ranges, and
// updates and draws them; a particle whose life runs out is reborn at the emitter, unless the
// emitter is a one-shot burst: then the particle goes, and the emitter asks to be removed once
// its last particle has gone. The emitter itself is never drawn. Far from the player it
// freezes; without a player it always runs.
//
// Others that move an emitter (a creature carrying it) hold it by Ref<ParticleEmitter> and set
// its transform's position; the reference empties when the emitter's layer destroys it.
class ParticleEmitter : public Sprite {
  public:
    // Live particles one emitter keeps at most; requests beyond it are cut short.
    static constexpr int32_t max_particles = 10000;
    // Emitters this far from the player or farther neither update nor draw.
    static constexpr float near_distance = 800.0f;
    // The largest magnitude a range value may have (speeds, spins, lives, scales); larger
    // values are brought down to it so particles stay finite.
    static constexpr float range_limit = 1.0e6f;

    explicit ParticleEmitter(std::unique_ptr<Particle> particle_template);

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;
    // An emitter cannot be copied: null.
    std::unique_ptr<Sprite> clone() const override { return nullptr; }

    // The same with the player's position given (none: no player).
    void draw_near(Renderer& renderer, const Color& tint, std::optional<Vector2> player);
    void update_near(float dt, std::optional<Vector2> player);
    bool is_near(std::optional<Vector2> player) const;

    // Replaces the template, destroying the old one.
    void set_template(std::unique_ptr<Particle> particle_template);
    // Emits count particles, fewer when the cap is reached; nothing without a template.
    // Returns how many were emitted.
    int32_t emit(int32_t count);

    // Each pair is stored only when both values are finite and max is not below min.
    void set_ranges(float life_min, float life_max, float spin_min, float spin_max, float speed_min,
                    float speed_max);
    void set_scales(bool separate_end, float start_min, float start_max, float end_min,
                    float end_max);
    // Clamped to [0, pi]; not a number gives 0.
    void set_spread(float angle);

    float spread = 0.0f;  // radians, 0..pi around axis_x
    float speed_min = 0.0f, speed_max = 0.0f;
    float spin_min = 0.0f, spin_max = 0.0f;
    float life_min = 0.0f, life_max = 0.0f;
    bool separate_end_scale = true;
    float start_scale_min = 1.0f, start_scale_max = 1.0f;
    float end_scale_min = 1.0f, end_scale_max = 1.0f;
    std::unique_ptr<Particle> particle_template;
    std::vector<std::unique_ptr<Particle>> particles;
    // Particles live once; the emitter goes when none is left.
    bool one_shot = false;

  private:
    void emit_one();
};
