#pragma once
// How a Present on any thread reaches the compositor on the UI thread: a message posted to a
// hidden window of the UI thread, at most one waiting at a time. Posting never waits for the
// UI thread, so a presenting thread can neither block nor deadlock a modal loop, and a UI
// thread that waits for the presenting thread (to join it) is never waited for in return.
#include <windows.h>

#include <atomic>
#include <mutex>

namespace Composition {

class PresentChannel {
  public:
    PresentChannel(HWND window, UINT message) : window_(window), message_(message) {}

    // Any thread: asks the UI thread to show the newest pages.
    void Notify() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (window_ && !posted_.exchange(true))
            PostMessageW(window_, message_, 0, 0);
    }
    // UI thread, on the message: later presents post again.
    void Received() { posted_ = false; }
    // UI thread: the compositor is going away; presents from now on show nothing.
    void Close() {
        std::lock_guard<std::mutex> lock(mutex_);
        window_ = nullptr;
    }

  private:
    std::mutex mutex_;
    HWND window_;
    UINT message_;
    std::atomic<bool> posted_{false};
};

} // namespace Composition
