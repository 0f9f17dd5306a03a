// The uninstaller's three windows run one after the other, each in its real modal loop with
// the pointer on its background until it shows its full first picture, and what each showed:
// for tests that compare whole runs made under different conditions.
#pragma once

#include "DialogDriver.h"

#include <windows.h>

#include <memory>

namespace AppTest {

using TestSupport::Frame;

struct WindowShown {
    Frame frame;          // as composed once it showed (the progress dialog: at its end)
    LONG_PTR exStyle = 0; // of the window that showed
    int initDialogs = 0;  // WM_INITDIALOG seen: 2 when the dialog ran again on a new window
};

struct WindowsShown {
    WindowShown main, question, progress;
    // The progress page before its animation and with the bar full.
    std::shared_ptr<const Frame> progressFirst, progressLast;
};

WindowShown ShowMainWindow();
WindowShown ShowQuestion();
WindowShown ShowProgress(std::shared_ptr<const Frame>* first = nullptr,
                         std::shared_ptr<const Frame>* last = nullptr);
WindowsShown ShowAllThree();

// Every pixel the same.
void ExpectSameFrame(const Frame& expected, const Frame& actual, const char* what);

} // namespace AppTest
