#include "RestartRemoval.h"

#include <windows.h>

bool ScheduleRemovalAtRestart(const std::vector<RemovalItem>& items) {
    for (const RemovalItem& item : items) {
        // MoveFileExW with no new name and MOVEFILE_DELAY_UNTIL_REBOOT deletes the file at the
        // next restart, a folder only if it is empty by then; it needs administrator rights.
        if (!MoveFileExW(ExtendedLengthPath(item.path).c_str(), nullptr,
                         MOVEFILE_DELAY_UNTIL_REBOOT))
            return false;
    }
    return true;
}
