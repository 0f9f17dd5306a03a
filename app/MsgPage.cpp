#include "MsgPage.h"

namespace {

// Design units, relative to the page.
constexpr RECT kTitleRect{30, 30, 360, 54};
constexpr RECT kMessageRect{30, 70, 358, 118};

} // namespace

CMsgPage::CMsgPage() : CTextPage(kTitleRect, kMessageRect) {}
