#include "platform/win32/common_controls_win.h"

namespace lumoff::platform::win32::common_controls {

namespace {

using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using SetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using DefSubclassProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

SetWindowSubclassFn set_window_subclass = nullptr;
DefSubclassProcFn def_subclass_proc = nullptr;

template <typename Function>
Function Find(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool Load() {
    static bool loaded = false;
    static bool tried = false;
    if (tried) return loaded;
    tried = true;
    // By its bare name: the program's manifest asks for version 6, which the system then takes from its side-by-side
    // store before any folder is searched; a full path would name the older version 5.
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return false;
    auto init = Find<InitCommonControlsExFn>(library, "InitCommonControlsEx");
    set_window_subclass = Find<SetWindowSubclassFn>(library, "SetWindowSubclass");
    def_subclass_proc = Find<DefSubclassProcFn>(library, "DefSubclassProc");
    if (!init || !set_window_subclass || !def_subclass_proc) return false;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    init(&classes);
    loaded = true;
    return true;
}

bool SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    return Load() && set_window_subclass(window, proc, id, data);
}

LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    // Only a subclassed window calls it, and only a loaded library subclasses.
    return def_subclass_proc(window, msg, wp, lp);
}

}  // namespace lumoff::platform::win32::common_controls
