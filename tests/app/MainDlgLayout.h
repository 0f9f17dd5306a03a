// What the main window should show, drawn independently of the dialog from its layout table:
// each element's own picture (in the look asked for) at its rectangle, stacked as the window
// stacks them. Compared with the frames the software compositor showed.
#pragma once

#include "DialogDriver.h"

#include "DPI.h"
#include "MainDlg.h"

#include "ui/composition/Pixels.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace AppTest {

// Looks of the buttons ("minimize", "close", "uninstall", "exit"), as CSVGButtonEx numbers
// them, or kHidden. A button that is not listed shows its normal look, except the exit button,
// which is hidden unless listed.
using Looks = std::map<std::string, int>;
constexpr int kHidden = -1;

class MainWindowLayout {
  public:
    explicit MainWindowLayout(const CDPI& dpi);
    ~MainWindowLayout();
    MainWindowLayout(const MainWindowLayout&) = delete;
    MainWindowLayout& operator=(const MainWindowLayout&) = delete;

    // The window (732 x 432 design units) and the card inside its margin, in pixels.
    SIZE WindowSize() const { return size_; }
    RECT Card() const { return RectOf("background"); }
    // An element's rectangle in window pixels ("background", "logo", and the buttons).
    RECT RectOf(const std::string& element) const;
    POINT CentreOf(const std::string& element) const;
    // Pixels of the area whose shown colour differs by more than 2 in a channel from what the
    // elements in these looks give there.
    int Mismatches(const Composition::Pixels& frame, const RECT& area, const Looks& looks) const;

  private:
    struct Element;
    std::uint32_t Expected(int x, int y, const Looks& looks) const;
    // The whole window in these looks, drawn once per looks.
    const Composition::Pixels& ExpectedFrame(const Looks& looks) const;

    SIZE size_{};
    std::map<std::string, std::unique_ptr<Element>> elements_;
    mutable std::map<Looks, Composition::Pixels> frames_;
};

// Runs the main window as the program does until the script has ended it (or leaves it to
// RunScripted); the script starts once the window shows, the pointer on the card's background.
using MainWindowScript = std::function<void(TestSupport::Driver&, const MainWindowLayout&)>;
INT_PTR RunMainWindow(TestSupport::Testable<CMainDlg>& dialog, const MainWindowScript& script);

// A point of the card below the drag band that no element covers.
POINT Background(const TestSupport::Driver& d);
void Click(TestSupport::Driver& d, POINT client);
// The frame once the card shows these looks (or after about two seconds), and the check.
TestSupport::Frame CardShowing(TestSupport::Driver& d, const MainWindowLayout& layout,
                               const Looks& looks);
void ExpectCard(TestSupport::Driver& d, const MainWindowLayout& layout, const Looks& looks,
                const char* what);

} // namespace AppTest
