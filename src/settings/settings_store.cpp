#include "settings/settings_store.h"

#include <array>
#include <cmath>
#include <cstring>

namespace lumoff::settings {

namespace {

constexpr std::uint32_t kReadBufferSize = 255;

std::uint32_t DataLength(const Write& w) {
    switch (w.form) {
        case ValueForm::Flag:
        case ValueForm::ListPosition:
            return 1;
        case ValueForm::TwoDigit:
            return 2;
        case ValueForm::Text:
            break;
    }
    return static_cast<std::uint32_t>(w.text.size());
}

}  // namespace

void WriteValues(platform::Registry& registry, platform::RegKey key, std::initializer_list<Write> writes) {
    for (const Write& w : writes) {
        // The fixed-length forms take their first characters and pad a short text with NULs.
        std::uint32_t length = DataLength(w);
        std::string data(w.text);
        if (data.size() < length) data.resize(length, '\0');
        registry.SetValue(key, w.name, platform::kRegSz, data.data(), length);
    }
}

void Store(platform::Registry& registry, std::initializer_list<Write> writes) {
    platform::RegKey key = registry.Open(kSettingsKey);
    if (!key) return;
    WriteValues(registry, key, writes);
    registry.Close(key);
}

std::string PositionText(float value) { return std::to_string(std::lrint(value)); }

std::string ReadSettingValue(platform::Registry& registry, platform::RegKey key, std::string_view name) {
    std::array<char, kReadBufferSize> buffer{};
    std::uint32_t length = kReadBufferSize;
    std::uint32_t type = 0;  // not looked at
    if (registry.QueryValue(key, name, &type, buffer.data(), &length) != platform::kErrorSuccess) return {};
    // A text needs its NUL inside the buffer: the system's A functions add one to text data stored without it, and
    // so fail for such data of 255 bytes. Data of another type that fills the buffer is treated the same way.
    size_t text_length = strnlen(buffer.data(), kReadBufferSize);
    if (text_length == kReadBufferSize) return {};
    return std::string(buffer.data(), text_length);
}

std::optional<long> ParseStoredNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) value = value * 10 + (text[i] - '0');
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    if (digits == 0 || i != text.size()) return std::nullopt;
    value = std::floor(negative ? -value : value);
    if (value < -2147483648.0 || value > 2147483647.0) return std::nullopt;
    return static_cast<long>(value);
}

}  // namespace lumoff::settings
