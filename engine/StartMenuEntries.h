#pragma once

// Deletes the product's two Start-menu shortcuts and removes their group folder
// when nothing else is left in it. Never empties the folder by force.
void DeleteStartMenuEntries();
