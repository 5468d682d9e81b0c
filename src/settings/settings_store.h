// The Settings key: where every option lives, how values are written and the one read.
//
// All values are REG_SZ single-byte text under HKEY_CURRENT_USER\Software\Lumoff, written without a terminating
// NUL. Every write opens the key, writes and closes it again; only the settings loader creates the key, so a write
// while the key is missing does nothing. Not here: which control a value belongs to (the loader and the handlers
// know that).
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace lumoff::settings {

inline constexpr std::string_view kSettingsKey = "Software\\Lumoff";
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Lumoff";

// Value names.
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kTray = "Tray";
inline constexpr std::string_view kVersion = "Version";
inline constexpr std::string_view kTimerHr = "TimerHr";
inline constexpr std::string_view kTimerMn = "TimerMn";
inline constexpr std::string_view kTimerSc = "TimerSc";
inline constexpr std::string_view kTimerIdle = "TimerIdle";
inline constexpr std::string_view kTimerSaver = "TimerSaver";
inline constexpr std::string_view kTimerOther = "TimerOther";
inline constexpr std::string_view kTimerOtherSelect = "TimerOtherSelect";
inline constexpr std::string_view kSchedule = "Schedule";
inline constexpr std::string_view kScheduleHr = "ScheduleHr";
inline constexpr std::string_view kScheduleMn = "ScheduleMn";
inline constexpr std::string_view kScheduleSc = "ScheduleSc";
inline constexpr std::string_view kScheduleOther = "ScheduleOther";
inline constexpr std::string_view kScheduleOtherSelect = "ScheduleOtherSelect";
inline constexpr std::string_view kHotKeyA = "HotKeyA";
inline constexpr std::string_view kHotKeyB = "HotKeyB";
inline constexpr std::string_view kHotKeyMouse = "HotKeyMouse";
inline constexpr std::string_view kHotKeyEnter = "HotKeyEnter";
inline constexpr std::string_view kHotKeySpace = "HotKeySpace";
inline constexpr std::string_view kHotKeySet = "HotKeySet";
inline constexpr std::string_view kOffMsg = "OffMsg";
inline constexpr std::string_view kIDate = "IDate";

// How a value's text is cut to its stored data length.
enum class ValueForm {
    Flag,          // "1" or "0": one byte
    ListPosition,  // a list's position: one byte, so only its first digit
    TwoDigit,      // a time box: two bytes, a one-character text followed by its NUL
    Text,          // number text or other text: as many bytes as characters
};

struct Write {
    std::string_view name;
    std::string_view text;
    ValueForm form = ValueForm::Text;
};

// Writes the values in order into a key that is open already; results are not looked at.
void WriteValues(platform::Registry& registry, platform::RegKey key, std::initializer_list<Write> writes);

// Opens the Settings key, writes the values in order and closes it. Does nothing when the key is missing;
// write failures are not reported (a failed write is simply lost).
void Store(platform::Registry& registry, std::initializer_list<Write> writes);
inline void Store(platform::Registry& registry, std::string_view name, std::string_view text,
                  ValueForm form = ValueForm::Text) {
    Store(registry, {Write{name, text, form}});
}

// The text of one value of an open key: at most 255 bytes, up to the first NUL; empty on any failure (no such
// value, a key that is not open, data longer than 255 bytes). The stored type is not checked, so a number stored
// as REG_DWORD reads as its bytes up to the first zero byte. Data of exactly 255 bytes without a NUL reads whole.
std::string ReadSettingValue(platform::Registry& registry, platform::RegKey key, std::string_view name);

// An open registry key that closes itself.
class OpenKey {
public:
    OpenKey(platform::Registry& registry, platform::RegKey key) : registry_(registry), key_(key) {}
    ~OpenKey() { Close(); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool is_open() const { return key_ != 0; }
    platform::RegKey get() const { return key_; }
    void reset(platform::RegKey key) {
        Close();
        key_ = key;
    }
    std::string Read(std::string_view name) const { return ReadSettingValue(registry_, key_, name); }
    void Close() {
        if (key_) registry_.Close(key_);
        key_ = 0;
    }

private:
    platform::Registry& registry_;
    platform::RegKey key_;
};

// The Settings key opened (never created) for the reads of one event.
class SettingsKey : public OpenKey {
public:
    explicit SettingsKey(platform::Registry& registry) : OpenKey(registry, registry.Open(kSettingsKey)) {}
};

// The decimal text of a window position in whole twips (positions are kept whole; a fraction is rounded).
std::string PositionText(float value);

// A stored number: decimal text, optionally signed, with a fraction after "." or ",", rounded down.
// Anything else (empty, letters, trailing junk, out of range) is no number.
std::optional<long> ParseStoredNumber(std::string_view text);

}  // namespace lumoff::settings
