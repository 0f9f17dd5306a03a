// A composition backend that a test stands between the toolkit's hosts and the layer, through
// the toolkit's seams (CompositionBackend.h): every call goes on to a real software compositor,
// but one chosen step answers a failure (the first n times it is reached), as DirectComposition
// or a lost device would on a real Windows. Standing in for DirectComposition it also acts as
// that backend where the toolkit can tell: the backend is chosen for new windows (which are
// then made with WS_EX_NOREDIRECTIONBITMAP), it is not software (the host draws its frame
// through BeginDraw) and it takes no pixels copied in (CopyPixels answers E_NOTIMPL).
#pragma once

#include "GraphicsDevices.h"

#include "ui/composition/Composition.h"
#include "ui/composition/SoftwareDevice.h"
#include "ui/composition/SoftwareSwapChain.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace CompositionTest {

enum class Step {
    None,
    CreateDevice,
    CreateTarget,
    CreateVisual,
    CreateSurface,
    BeginDraw,
    EndDraw,
    CreateSwapChain,
    Present,
    Commit,
};
const char* StepName(Step step);

struct StandInPlan {
    bool asDirectComposition = false;
    Step failing = Step::None;
    HRESULT answer = E_FAIL;
    int times = 1; // calls answered with the failure...
    int after = 0; // ...once this many calls of the step have gone through
};

class StandInBackend {
  public:
    // Installs the stand-in for the hosts made from now on; the destructor puts the real
    // backends back and lets the next window choose again.
    explicit StandInBackend(const StandInPlan& plan);
    ~StandInBackend();
    StandInBackend(const StandInBackend&) = delete;
    StandInBackend& operator=(const StandInBackend&) = delete;

    struct Counts {
        int devicesMade = 0; // composition devices asked for by hosts
        // The graphics sets they were asked for with, in order (kept alive here).
        std::vector<std::shared_ptr<CGraphicsDevices>> sets;
        int reached = 0; // calls of the failing step
        int failed = 0;  // of them answered with the failure
        std::vector<HWND> targetWindows;
        std::vector<LONG_PTR> targetExStyles; // each window's extended style at its target
    };
    Counts Seen() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

// The software compositor's device behind a host's device: the device itself, or the one a
// stand-in hands its calls to. Null for DirectComposition.
Composition::SoftwareDevice* SoftwareDeviceBehind(Composition::Device* device);

// The same for a swap chain.
std::shared_ptr<Composition::SoftwareSwapChain>
SoftwareSwapChainBehind(const std::shared_ptr<Composition::SwapChain>& swapChain);

} // namespace CompositionTest
