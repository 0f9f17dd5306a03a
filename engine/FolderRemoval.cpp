#include "FolderRemoval.h"

#include "RemovalOrder.h"
#include "RestartRemoval.h"

#include <utility>

FolderRemoval::FolderRemoval(std::wstring guardedFolder, UniqueHandle command)
    : guardedFolder_(std::move(guardedFolder)), command_(std::move(command)) {}

bool FolderRemoval::ScheduleLeftoversAtRestart() const {
    if (guardedFolder_.empty() || !command_)
        return false;
    const std::vector<RemovalItem> leftovers = ListForRemoval(guardedFolder_);
    return !leftovers.empty() && ScheduleRemovalAtRestart(leftovers);
}
