#pragma once
// GDI+ started once for a whole test run, before the first test, and shut down after the last.
#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <memory>

namespace TestSupport {

class GdiplusForTheRun : public testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;

  private:
    std::unique_ptr<SVGEngine::GDIPlusSession> session_;
};

} // namespace TestSupport
