#include "GdiplusForTheRun.h"

namespace TestSupport {

void GdiplusForTheRun::SetUp() {
    session_ = std::make_unique<SVGEngine::GDIPlusSession>();
    ASSERT_TRUE(session_->Started());
}

void GdiplusForTheRun::TearDown() {
    session_.reset();
}

} // namespace TestSupport
