#pragma once
// Where the parts of the uninstaller's three windows sit, in design units (the DPI scales them
// when a window is laid out). The windows lay themselves out from here, and their tests check
// what they show against the same rectangles.
#include <windows.h>

namespace DialogLayout {

// The main window: a 700 x 400 card inside a 16-unit transparent margin that holds its
// shadow. Rectangles in window coordinates, bottom to top as the window stacks them.
namespace Main {
constexpr int kWidth = 732;
constexpr int kHeight = 432;
// The band at its top that drags it.
constexpr int kCaptionHeight = 40;
constexpr RECT kBackground{16, 16, 716, 416};
constexpr RECT kLogo{34, 31, 165, 55};
constexpr RECT kMinimize{648, 28, 672, 52};
constexpr RECT kClose{680, 28, 704, 52};
// The uninstall button, and the exit button in its place once the workflow has run.
constexpr RECT kAction{243, 332, 443, 376};
} // namespace Main

// The question whether to force the removal; rectangles in its client area.
namespace Question {
constexpr int kWidth = 390;
constexpr int kHeight = 160;
constexpr RECT kTitle{30, 30, 360, 54};
constexpr RECT kMessage{30, 70, 358, 118};
constexpr RECT kConfirm{202, 114, 280, 154};
constexpr RECT kCancel{292, 114, 370, 154};
} // namespace Question

// The progress dialog; rectangles in its client area.
namespace Progress {
constexpr int kWidth = 390;
constexpr int kHeight = 136;
constexpr RECT kTitle{30, 30, 160, 54};
constexpr RECT kStatus{30, 56, 260, 78};
// The bar's full length: its animation draws one frame per pixel of it.
constexpr int kBarLength = 330;
// The bar's track.
constexpr RECT kBar{30, 92, 30 + kBarLength, 97};
} // namespace Progress

} // namespace DialogLayout
