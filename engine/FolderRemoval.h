#pragma once
#include "WinHandles.h"

#include <string>

// The install folder's removal once its command has started: the command's process, to
// wait for, and the folder the guard let it remove in this run. What the command cannot
// remove (files another program holds open) is left for the next restart.
class FolderRemoval {
  public:
    // No command started: nothing to wait for, nothing to schedule.
    FolderRemoval() = default;
    FolderRemoval(std::wstring guardedFolder, UniqueHandle command);

    // The command's process; null when no command started.
    HANDLE Command() const { return command_.Get(); }

    // Schedules whatever is left of the folder for removal at the next restart: its files,
    // then its folders deepest first, the folder itself last, never entering a link. False
    // when there was nothing to schedule or Windows refused (no administrator rights).
    bool ScheduleLeftoversAtRestart() const;

  private:
    std::wstring guardedFolder_;
    UniqueHandle command_;
};
