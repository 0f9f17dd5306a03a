// A window moved to a monitor of another DPI looks as if it had started there: each of the
// uninstaller's three windows, shown at 100 % and sent WM_DPICHANGED for 144 DPI with the
// rectangle the system suggests, shows exactly the pixels of the same window started on a
// 150 % display. The run at 144 DPI (DpiChange/*.StartedAt150) keeps the frames of the windows
// started there beside the test program; the run at 96 DPI (DpiChange/*.MovedTo150) compares.
#include "Colours.h"
#include "DialogDriver.h"
#include "FrameChecks.h"

#include "MainDlg.h"
#include "MsgDlg.h"
#include "ProgressDlg.h"
#include "RealInput.h"
#include "TestProgramFolder.h"
#include "UninstallWorkflow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace AppTest;
using namespace TestSupport;

// The progress dialog's bar stops there (design units), so both runs show it at one place.
constexpr int kHeldBar = 40;

// The progress dialog, its bar held at kHeldBar.
class HeldProgressDlg : public Testable<CDXGIProgressDlg> {
  protected:
    bool StartAnimation() override {
        AnimatedPage().SetTarget(m_dpi.Scale(kHeldBar));
        return CDXGIProgressDlg::StartAnimation();
    }
};

// Runs one window with the script (which ends it) and gives DoModal's result.
using WindowRun = std::function<INT_PTR(const std::function<void(Driver&)>& script)>;

struct WindowCase {
    const char* name;
    WindowRun run;
};
void PrintTo(const WindowCase& window, std::ostream* out) {
    *out << window.name;
}
std::wstring WideName(const WindowCase& window) {
    const std::string name = window.name;
    return std::wstring(name.begin(), name.end());
}

const WindowCase kWindows[] = {
    {"main",
     [](const std::function<void(Driver&)>& script) {
         Testable<CMainDlg> dialog;
         return RunScripted([&] { return dialog.DoModal(nullptr); },
                            Driver(dialog.record, dialog.Dpi(), dialog.Host()), script);
     }},
    {"question",
     [](const std::function<void(Driver&)>& script) {
         Testable<CDXGIMsgDlg> dialog;
         FillForceRemovalQuestion(dialog);
         return RunScripted(dialog, script);
     }},
    {"progress",
     [](const std::function<void(Driver&)>& script) {
         HeldProgressDlg dialog;
         FillRemovalProgress(dialog);
         return RunScripted(dialog, script);
     }},
};

bool SameFrame(const Frame& a, const Frame& b) {
    return a.width == b.width && a.height == b.height && a.data == b.data;
}

// The frame once it has stayed the same for a while (the pages' first presents, the held bar).
Frame SettledFrame(Driver& d) {
    Frame last = d.ShownFrame();
    for (ULONGLONG end = GetTickCount64() + 10000, since = GetTickCount64(); GetTickCount64() < end;
         Sleep(50)) {
        const Frame now = d.ShownFrame();
        if (!SameFrame(now, last)) {
            last = now;
            since = GetTickCount64();
        } else if (GetTickCount64() - since >= 500) {
            break;
        }
    }
    return last;
}

std::wstring ReferencePath(const WindowCase& window) {
    const std::wstring folder = TestProgramFolder() + L"\\dpi-change";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + WideName(window) + L"@150.frame";
}

bool WriteFrame(const Frame& frame, const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const int size[2] = {frame.width, frame.height};
    const bool written =
        std::fwrite(size, sizeof size, 1, file) == 1 &&
        std::fwrite(frame.data.data(), 4, frame.data.size(), file) == frame.data.size();
    return std::fclose(file) == 0 && written;
}

Frame ReadFrame(const std::wstring& path) {
    Frame frame;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return frame;
    int size[2] = {};
    if (std::fread(size, sizeof size, 1, file) == 1 && size[0] > 0 && size[1] > 0 &&
        size[0] <= 4096 && size[1] <= 4096) {
        Frame read(size[0], size[1]);
        if (std::fread(read.data.data(), 4, read.data.size(), file) == read.data.size())
            frame = std::move(read);
    }
    std::fclose(file);
    return frame;
}

// Where two frames of one size differ.
struct Difference {
    int pixels = 0, largest = 0;
    POINT first{-1, -1};
};
Difference Compare(const Frame& shown, const Frame& expected) {
    Difference difference;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const std::uint32_t a = shown.At(x, y), b = expected.At(x, y);
            if (a == b)
                continue;
            if (difference.pixels++ == 0)
                difference.first = {x, y};
            for (int shift = 0; shift < 32; shift += 8)
                difference.largest =
                    std::max(difference.largest, std::abs(Channel(a, shift) - Channel(b, shift)));
        }
    }
    return difference;
}

class DpiChange : public ::testing::TestWithParam<WindowCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        // Away from every window, so that no button shows its hover look.
        ASSERT_TRUE(RealInput::MoveTo(2, 2));
    }
    void Run(const std::function<void(Driver&)>& script) {
        GetParam().run([&](Driver& d) {
            script(d);
            d.OnDialogThread([&] { EndDialog(d.Window(), kLeftOpen); });
        });
    }
};

// The run at 144 DPI: the window as it starts at 150 %.
TEST_P(DpiChange, StartedAt150) {
    Run([&](Driver& d) {
        ASSERT_EQ(d.dpi.Scale(100), 150) << "run this at 144 DPI";
        const Frame frame = SettledFrame(d);
        ASSERT_GT(frame.width, 0);
        d.SaveFrame(frame, L"dpi-change-started-" + WideName(GetParam()));
        EXPECT_TRUE(WriteFrame(frame, ReferencePath(GetParam())));
    });
}

// The run at 96 DPI: the window shown at 100 %, then moved to a monitor at 150 %.
TEST_P(DpiChange, MovedTo150) {
    const Frame expected = ReadFrame(ReferencePath(GetParam()));
    ASSERT_GT(expected.width, 0) << "no frame of the window started at 150 % (DpiChange/"
                                 << GetParam().name << ".StartedAt150 at 144 DPI)";
    Run([&](Driver& d) {
        ASSERT_EQ(d.dpi.Scale(100), 100) << "run this at 96 DPI";
        SettledFrame(d);
        RECT window{};
        GetWindowRect(d.Window(), &window);
        // What the system suggests: the window's rectangle at the new DPI, here in its place.
        const RECT suggested{window.left, window.top,
                             window.left + MulDiv(window.right - window.left, 150, 100),
                             window.top + MulDiv(window.bottom - window.top, 150, 100)};
        d.OnDialogThread([&] {
            SendMessageW(d.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                         reinterpret_cast<LPARAM>(&suggested));
        });
        RECT moved{};
        GetWindowRect(d.Window(), &moved);
        EXPECT_EQ(moved, suggested) << "the window does not take the suggested rectangle";
        EXPECT_EQ(d.dpi.Scale(100), 150) << "the DPI of the message is not taken";

        const Frame shown = d.ShownFrame([&](const Frame& f) { return SameFrame(f, expected); });
        d.SaveFrame(shown, L"dpi-change-moved-" + WideName(GetParam()));
        ASSERT_EQ(shown.width, expected.width);
        ASSERT_EQ(shown.height, expected.height);
        const Difference difference = Compare(shown, expected);
        EXPECT_EQ(difference.pixels, 0)
            << "pixels differ from the window started at 150 %, the first at " << difference.first.x
            << "," << difference.first.y << " by up to " << difference.largest;
    });
}

INSTANTIATE_TEST_SUITE_P(Windows, DpiChange, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
