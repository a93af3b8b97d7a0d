#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Render/Camera.h"
#include "Render/Renderer.h"
#include "Scene/GameObject.h"

// A game object that writes what happens to it into a shared log, and may run an action (a
// script, say) from its update.
class ProbeObject : public GameObject {
  public:
    ProbeObject(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    ~ProbeObject() override { log_.push_back("destroy " + name_); }

    bool update(float) override {
        log_.push_back("update " + name_);
        if (on_update)
            on_update();
        return finished;
    }
    void draw(Renderer& renderer, const Color& tint) override {
        log_.push_back("draw " + name_);
        last_tint = tint;
        if (Camera* c = renderer.camera())
            camera_at_draw = c->position;
    }

    bool finished = false;
    std::function<void()> on_update;
    Color last_tint{0, 0, 0, 0};
    Vector2 camera_at_draw{-1, -1};

  private:
    std::string name_;
    std::vector<std::string>& log_;
};
