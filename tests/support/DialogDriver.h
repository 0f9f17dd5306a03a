// Drives a window of the tests with real X input (run_with_input.sh), as a user would, and reads
// what it shows. Either one of the uninstaller's dialogs runs in its real modal loop on the
// test's thread while a script drives it from a second thread (RunScripted), or a test window
// of the test's own thread is driven from that thread, its messages handled while each step
// waits. What the driver needs of the window's thread (the frames the compositor showed, the
// capture) it reads there, through a message the window passes to its record.
#pragma once

#include "DCompUtil.h"
#include "DPI.h"

#include "ui/composition/Pixels.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace TestSupport {

using Frame = Composition::Pixels;

// DoModal's result when the safety time ran out, and when the script left the dialog open.
constexpr INT_PTR kTimedOut = -99;
constexpr INT_PTR kLeftOpen = -98;

// What a test dialog saw, for the script's thread.
class DialogRecord {
  public:
    // Around the window's own handling: before it (true: the test's own message, handled)
    // and after it. A window that gets no WM_INITDIALOG sets `window` itself.
    bool Before(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void After(HWND window, UINT message, LPARAM lParam);

    DWORD safetyMs = 60000;
    std::atomic<HWND> window{nullptr};
    std::atomic<int> presses{0}, releases{0};
    std::atomic<LPARAM> lastMove{-1};
    // The WM_COMMAND ids the dialog received, in order.
    std::vector<int> Commands() const;

  private:
    mutable std::mutex mutex_;
    std::vector<int> commands_;
};

// A dialog class of the uninstaller with the record added.
template <class Dialog> class Testable : public Dialog {
  public:
    DialogRecord record;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override {
        if (record.Before(window, message, wParam, lParam, &result))
            return TRUE;
        const BOOL handled =
            Dialog::ProcessWindowMessage(window, message, wParam, lParam, result, mapId);
        record.After(window, message, lParam);
        return handled;
    }
};

// The script's hands on the window; points in client pixels. Each step waits (bounded) until
// the window has handled it, and is false if it did not; on the window's own thread its
// messages are handled meanwhile.
class Driver {
  public:
    Driver(DialogRecord& record, const CDPI& dpi, const CDCompUtil& host)
        : record(record), dpi(dpi), host_(host) {}

    DialogRecord& record;
    const CDPI& dpi;

    HWND Window() const { return record.window; }
    bool IsOpen() const;
    // Runs fn on the dialog's thread.
    bool OnDialogThread(const std::function<void()>& fn);
    bool MoveTo(POINT client);
    bool Press();
    bool Release();
    bool WaitForEnd(DWORD milliseconds);
    // Escape and Enter on the keyboard; true once both have reached the dialog (as the IDCANCEL
    // and IDOK commands the dialog manager makes of them).
    bool PressEscapeAndEnter();
    // The frame the compositor last showed; with a check, once it holds (a swap chain's page
    // reaches the window a little after its present) or after about two seconds.
    Frame ShownFrame(const std::function<bool(const Frame&)>& check = nullptr);
    // With CORVANE_UI_FRAMES naming a folder, the frame is kept there as name@percent.png;
    // false if it could not be.
    bool SaveFrame(const Frame& frame, const std::wstring& name) const;

  private:
    // Waits for the condition, handling messages when the window is this thread's.
    bool Wait(const std::function<bool()>& condition, DWORD milliseconds) const;

    const CDCompUtil& host_;
};

// Runs the dialog modally; once it shows, the script runs on a second thread. A dialog the
// script leaves open is ended with kLeftOpen; one that outlives the safety time, with kTimedOut.
INT_PTR RunScripted(const std::function<INT_PTR()>& doModal, Driver driver,
                    const std::function<void(Driver&)>& script);

template <class Dialog>
INT_PTR RunScripted(Testable<Dialog>& dialog, const std::function<void(Driver&)>& script) {
    return RunScripted([&] { return dialog.DoModal(nullptr); },
                       Driver(dialog.record, dialog.m_dpi, dialog.Host()), script);
}

} // namespace TestSupport
