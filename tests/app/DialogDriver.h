// Runs one of the uninstaller's dialogs in its real modal loop on the test's thread while a
// script drives it from a second thread with real X input (run_with_input.sh), as a user
// would. What the script needs of the dialog's thread (the frames the compositor showed, the
// capture) it reads there, through a message the test dialog handles.
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

namespace AppTest {

using Frame = Composition::Pixels;

// DoModal's result when the safety time ran out, and when the script left the dialog open.
constexpr INT_PTR kTimedOut = -99;
constexpr INT_PTR kLeftOpen = -98;

// What a test dialog saw, for the script's thread.
class DialogRecord {
  public:
    // Around the dialog's own message map: before it (true: the test's own message, handled)
    // and after it.
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

// The script's hands on the dialog; points in client pixels. Each step waits (bounded) until
// the dialog has handled it, and is false if it did not.
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
    // With CORVANE_UI_FRAMES naming a folder, the frame is kept there as name@percent.png.
    void SaveFrame(const Frame& frame, const std::wstring& name) const;

  private:
    const CDCompUtil& host_;
};

// Waits on a thread without windows; false after the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

// Runs the dialog modally; once it shows, the script runs on a second thread. A dialog the
// script leaves open is ended with kLeftOpen; one that outlives the safety time, with kTimedOut.
INT_PTR RunScripted(const std::function<INT_PTR()>& doModal, Driver driver,
                    const std::function<void(Driver&)>& script);

template <class Dialog>
INT_PTR RunScripted(Testable<Dialog>& dialog, const std::function<void(Driver&)>& script) {
    return RunScripted([&] { return dialog.DoModal(nullptr); },
                       Driver(dialog.record, dialog.m_dpi, dialog.Host()), script);
}

} // namespace AppTest
