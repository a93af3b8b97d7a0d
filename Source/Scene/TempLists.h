#pragma once

#include <memory>
#include <optional>

#include "Core/TempList.h"
#include "Creatures/PendingPath.h"
#include "Creatures/UserController.h"
#include "Physics/SegmentStripBuilder.h"
#include "Physics/Shape.h"
#include "Scene/GameObject.h"
#include "Scene/KeyFrame.h"

// Defined with the level mechanisms; only their script functions reach into this list.
class Trigger;
class MusicRecord;
class Sound;
struct DialogFrame;
struct DialogLine;
struct DialogQuestion;

// The process-wide tables of objects under construction. They belong to no level and survive
// level changes.
class TempLists {
  public:
    static TempLists& instance();
    // Destroys every table with what waits in it and starts empty ones, for a restart of the
    // game; references into the old tables must be gone.
    static void reset();

    TempList<GameObject> game_objects;
    TempList<Shape> shapes;
    TempList<Trigger> triggers;
    TempList<Sound> sounds;
    TempList<MusicRecord> music;
    // The segment strip being laid out and the pen point.
    SegmentStripBuilder strips;
    // The key frame being built by add_key_frame, until upload_key_frame inserts it.
    std::optional<KeyFrame> pending_key_frame;
    // The keyboard controller being bound by add_input_listener, until upload_controller.
    std::unique_ptr<UserController> pending_controller;
    // The waypoints laid out by create_pathing_graph and add_pathing_graph_point, until
    // create_ai copies them.
    PendingPath pending_path;

    // The dialog builders: the line and the frame being built, and the pending question. Line
    // and question settings persist between uses.
    std::unique_ptr<DialogLine> dialog_line;
    std::unique_ptr<DialogQuestion> pending_question;
    std::unique_ptr<DialogFrame> dialog_frame;

  private:
    TempLists();
};
