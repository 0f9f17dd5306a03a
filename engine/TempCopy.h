#pragma once

// The uninstaller runs from the copy the launcher wrote into the user's temporary folder,
// and a running program cannot delete itself: that copy and its folder are scheduled for
// removal at the next restart. A program started from anywhere else is left alone. True
// when both were scheduled.
bool ScheduleTempCopyRemovalAtRestart();
