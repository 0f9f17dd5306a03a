#pragma once

// The removal itself: deletes the product's shortcuts, tells the shell, deletes
// the uninstall entry, stops the product's programs that run from the install
// folder and hands the deletion of that folder to a hidden cmd.exe that outlives
// the uninstaller. Reports nothing; every step is attempted once.
void RunRemovalSteps();
