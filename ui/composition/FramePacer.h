#pragma once
// Paces presentation like a desktop compositor that shows 60 frames a second: a present after
// a pause goes through at once; in a loop, each waits for the next frame slot, one period after
// the previous one. The schedule follows the slots, not the wake-ups, so a loop does not drift.
#include <windows.h>

namespace Composition {

class FramePacer {
  public:
    explicit FramePacer(int framesPerSecond = 60);
    // Returns at the next free frame slot. Only the presenting thread calls it.
    void WaitForSlot();

  private:
    LONGLONG frequency_;
    LONGLONG period_;
    LONGLONG lastSlot_ = 0;
    bool started_ = false;
};

} // namespace Composition
