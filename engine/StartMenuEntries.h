#pragma once

// Deletes the product's two Start-menu shortcuts and removes their group folder
// when nothing else is left in it. Never empties the folder by force. Does
// nothing when the Start-menu programs folder cannot be found.
void DeleteStartMenuEntries();
