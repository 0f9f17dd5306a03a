#pragma once
#include "FolderRemoval.h"

// The removal itself: deletes the product's shortcuts, tells the shell, deletes
// the uninstall entry, stops the product's programs that run from the install
// folder and hands the deletion of that folder to a hidden cmd.exe that outlives
// the uninstaller, if the folder is the product's. Reports nothing; every step is
// attempted once. Returns that command's removal, for the caller to see it through.
FolderRemoval RunRemovalSteps();
