// The common controls library (comctl32.dll), loaded the first time the view needs it: for a form's tooltip, made
// just after the form is first shown, and for the subclassed controls of the Options dialog, made at its first show.
// Imported, it would be loaded and set up (all its window classes and their images) at every start, before the
// caption window, which needs none of it to appear.
#pragma once

#include "platform/win32/win32_services.h"

#include <commctrl.h>

namespace lumoff::platform::win32::common_controls {

// Loads the library and registers its classes; true once it is loaded. Called on the user-interface thread only.
bool Load();

// SetWindowSubclass and DefSubclassProc of the library; false when it cannot be loaded.
bool SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace lumoff::platform::win32::common_controls
