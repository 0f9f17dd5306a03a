#pragma once
// The page a software swap chain shows: replaced by Present on any thread, read by the
// compositor on the UI thread. Each page is immutable once published.
#include "Pixels.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace Composition {

class PresentedPage {
  public:
    void Publish(std::shared_ptr<const Pixels> page) {
        std::lock_guard<std::mutex> lock(mutex_);
        page_ = std::move(page);
        ++version_;
    }
    // The page shown now (null before the first Present) and its number.
    std::shared_ptr<const Pixels> Current(std::uint64_t* version) const {
        std::lock_guard<std::mutex> lock(mutex_);
        if (version)
            *version = version_;
        return page_;
    }
    std::uint64_t Version() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return version_;
    }

  private:
    mutable std::mutex mutex_;
    std::shared_ptr<const Pixels> page_;
    std::uint64_t version_ = 0;
};

} // namespace Composition
