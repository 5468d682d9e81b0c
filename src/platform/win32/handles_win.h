// Owning wrappers for the Win32 objects the backend creates, each counting the live objects of its kind: GDI objects
// (brushes, fonts, bitmaps, memory and screen DCs), menus, icons, timers and open registry keys. The counts are what
// a long run reads to show that nothing accumulates (see LiveCountsLine); they decide nothing.
//
// Every object of these kinds that the backend makes goes through one of these. Shared system objects (stock
// objects, system brushes, the arrow cursor) are not the program's and are not counted.
// All of them are made and freed on the user-interface thread, so the counts are plain integers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace lumoff::platform::win32 {

enum class Live { Gdi, Menu, Icon, Timer, RegKey, kKinds };

inline long live_counts[static_cast<int>(Live::kKinds)] = {};

inline long LiveCount(Live kind) { return live_counts[static_cast<int>(kind)]; }
inline void CountLive(Live kind, long change) { live_counts[static_cast<int>(kind)] += change; }

// One object of kind K, freed by Free when the wrapper goes. Counted from a successful creation to its freeing.
template <typename H, Live K, typename Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(H created) : h_(created) {
        if (h_) CountLive(K, 1);
    }
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = other.h_;
            other.h_ = nullptr;
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (!h_) return;
        Free{}(h_);
        CountLive(K, -1);
        h_ = nullptr;
    }

private:
    H h_ = nullptr;
};

struct FreeGdi {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct FreeDc {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct FreeMenu {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct FreeIcon {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct FreeKey {
    void operator()(HKEY h) const { RegCloseKey(h); }
};

using OwnedGdi = Owned<HGDIOBJ, Live::Gdi, FreeGdi>;
using OwnedDc = Owned<HDC, Live::Gdi, FreeDc>;
using OwnedMenu = Owned<HMENU, Live::Menu, FreeMenu>;
using OwnedIcon = Owned<HICON, Live::Icon, FreeIcon>;
using OwnedKey = Owned<HKEY, Live::RegKey, FreeKey>;

// The screen's DC for one scope.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {
        if (dc_) CountLive(Live::Gdi, 1);
    }
    ~ScreenDc() {
        if (!dc_) return;
        ReleaseDC(nullptr, dc_);
        CountLive(Live::Gdi, -1);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A window's timer, running from Start until Stop or the wrapper's end. Starting a running timer again restarts it
// with the new interval, as SetTimer does; it stays one timer.
class OwnedTimer {
public:
    OwnedTimer() = default;
    ~OwnedTimer() { Stop(); }
    OwnedTimer(const OwnedTimer&) = delete;
    OwnedTimer& operator=(const OwnedTimer&) = delete;

    void Start(HWND window, UINT_PTR id, UINT ms) {
        if (window_ && (window_ != window || id_ != id)) Stop();
        if (!SetTimer(window, id, ms, nullptr)) return;
        if (!window_) CountLive(Live::Timer, 1);
        window_ = window;
        id_ = id;
    }
    void Stop() {
        if (!window_) return;
        KillTimer(window_, id_);
        CountLive(Live::Timer, -1);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

// "gdi N menus N icons N timers N keys N": one line of the counts, for a file a long run reads.
inline void WriteLiveCounts(std::FILE* f, unsigned long tick) {
    std::string line = std::to_string(tick);
    for (auto [name, live] : {std::pair{" gdi ", Live::Gdi}, {" menus ", Live::Menu}, {" icons ", Live::Icon},
                              {" timers ", Live::Timer}, {" keys ", Live::RegKey}})
        line += name + std::to_string(LiveCount(live));
    std::fputs((line + "\n").c_str(), f);
}

}  // namespace lumoff::platform::win32
