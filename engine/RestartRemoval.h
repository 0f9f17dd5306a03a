#pragma once
#include "RemovalOrder.h"

#include <vector>

// Has Windows delete these at the next restart, in this order. Stops at the first one
// refused: only administrators and the system may ask for it. True when every one was
// registered (also when there is none).
bool ScheduleRemovalAtRestart(const std::vector<RemovalItem>& items);
