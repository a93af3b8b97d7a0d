#pragma once

// Takes waiting window-system events without blocking: key presses go to the SDL keyboard,
// game-controller events to the pads, and a quit request (the window closed, SIGINT, SIGTERM)
// is the quit message.
class EventPump {
  public:
    // True when the quit message was taken; pumping stops there.
    static bool pump();
    // Asks the pump to report the quit message (as closing the window does).
    static void post_quit();
};
