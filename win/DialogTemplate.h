#pragma once
// A dialog template of a module's resources, copied with extended style bits added. Some bits
// take effect only when CreateWindowEx makes the window (WS_EX_NOREDIRECTIONBITMAP: adding it
// later leaves the window its redirection surface), so a dialog that needs one is run from such
// a copy (DialogBoxIndirectParamW) instead of being given the bit in WM_INITDIALOG.
#include <windows.h>

#include <vector>

// The template's bytes with exStyle or-ed into its extended style (DLGTEMPLATEEX or the plain
// DLGTEMPLATE); everything else as in the resource. Empty when the template is not there.
// The vector's storage is aligned for DialogBoxIndirectParamW.
std::vector<BYTE> DialogTemplateWithExStyle(HINSTANCE module, LPCWSTR name, DWORD exStyle);
