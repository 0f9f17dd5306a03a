#include "DialogDriver.h"

#include "Pictures.h"
#include "RealInput.h"
#include "StandInBackend.h"
#include "Wait.h"

#include "ui/composition/SoftwareDevice.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace TestSupport {
namespace {

constexpr UINT kRunOnDialogThread = WM_APP + 0x3A0;
constexpr UINT_PTR kSafetyTimer = 0x7E57;
constexpr DWORD kStepMs = 5000;

} // namespace

bool DialogRecord::Before(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
    if (message == WM_INITDIALOG)
        SetTimer(window, kSafetyTimer, safetyMs, nullptr);
    if (message == WM_COMMAND) {
        std::lock_guard<std::mutex> lock(mutex_);
        commands_.push_back(LOWORD(wParam));
    }
    if (message == WM_TIMER && wParam == kSafetyTimer) {
        EndDialog(window, kTimedOut);
    } else if (message == kRunOnDialogThread) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    } else {
        return false;
    }
    *result = 1;
    return true;
}

void DialogRecord::After(HWND handle, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        window = handle;
    else if (message == WM_NCDESTROY)
        window = nullptr;
    else if (message == WM_LBUTTONDOWN)
        ++presses;
    else if (message == WM_LBUTTONUP)
        ++releases;
    else if (message == WM_MOUSEMOVE)
        lastMove = lParam;
}

std::vector<int> DialogRecord::Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

bool Driver::Wait(const std::function<bool()>& condition, DWORD milliseconds) const {
    const bool ownThread = GetWindowThreadProcessId(Window(), nullptr) == GetCurrentThreadId();
    return ownThread ? PumpUntil(condition, milliseconds) : WaitUntil(condition, milliseconds);
}

bool Driver::IsOpen() const {
    return Window() && IsWindow(Window());
}

bool Driver::OnDialogThread(const std::function<void()>& fn) {
    DWORD_PTR answer = 0;
    return IsOpen() &&
           SendMessageTimeoutW(Window(), kRunOnDialogThread, 0, reinterpret_cast<LPARAM>(&fn),
                               SMTO_NORMAL, kStepMs, &answer) &&
           answer == 1;
}

bool Driver::MoveTo(POINT client) {
    POINT screen = client, now{};
    if (!IsOpen() || !ClientToScreen(Window(), &screen))
        return false;
    // A move to where the pointer already is reports nothing.
    if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y)
        RealInput::MoveTo(screen.x + 1, screen.y + 1);
    return RealInput::MoveTo(screen.x, screen.y) &&
           Wait([&] { return record.lastMove == MAKELPARAM(client.x, client.y); }, kStepMs);
}

bool Driver::Press() {
    const int before = record.presses;
    return RealInput::Press() && Wait([&] { return record.presses > before; }, kStepMs);
}

bool Driver::Release() {
    const int before = record.releases;
    return RealInput::Release() && Wait([&] { return record.releases > before; }, kStepMs);
}

bool Driver::PressEscapeAndEnter() {
    return RealInput::Key("Escape") && RealInput::Key("Return") &&
           Wait(
               [&] {
                   const std::vector<int> c = record.Commands();
                   return std::count(c.begin(), c.end(), IDCANCEL) &&
                          std::count(c.begin(), c.end(), IDOK);
               },
               2000);
}

bool Driver::WaitForEnd(DWORD milliseconds) {
    return Wait([&] { return !IsOpen(); }, milliseconds);
}

Frame Driver::ShownFrame(const std::function<bool(const Frame&)>& check) {
    Frame frame;
    const auto read = [&] {
        OnDialogThread([&] {
            if (auto* device = CompositionTest::SoftwareDeviceBehind(host_.CompositionDevice()))
                device->ReadLastFrame(Window(), &frame);
        });
        return !check || (frame.width > 0 && check(frame));
    };
    Wait(read, check ? 2000 : 0);
    return frame;
}

bool Driver::SaveFrame(const Frame& frame, const std::wstring& name) const {
    return KeepForPeople(frame, name, dpi.Scale(100));
}

INT_PTR RunScripted(const std::function<INT_PTR()>& doModal, Driver driver,
                    const std::function<void(Driver&)>& script) {
    std::atomic<bool> ended{false};
    std::thread scriptThread([&] {
        // The window shows when the modal loop first waits for input.
        if (!WaitUntil(
                [&] { return ended || (driver.IsOpen() && IsWindowVisible(driver.Window())); },
                driver.record.safetyMs) ||
            ended)
            return;
        script(driver);
        RealInput::Release(); // nothing stays pressed for the next test
        if (!driver.WaitForEnd(kStepMs))
            driver.OnDialogThread([&] { EndDialog(driver.Window(), kLeftOpen); });
    });
    const INT_PTR result = doModal();
    ended = true;
    scriptThread.join();
    return result;
}

} // namespace TestSupport
