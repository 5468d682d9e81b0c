// libFuzzer target for stored values: any bytes of any type under a Settings value go through the read (255-byte
// buffer, up to the first NUL) and the number reader that every loaded option and the window position pass through.
// A user or another program can put anything there, so nothing may crash, and a number read must be one a control
// or a position can take as it is.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

// One value with the fuzzer's bytes and type, answered as the system's A functions do: text stored without its NUL
// comes back with one added and needs the room for it; data that does not fit fails with ERROR_MORE_DATA.
class OneValue : public lumoff::platform::Registry {
public:
    OneValue(std::uint32_t type, std::string data) : type_(type), data_(std::move(data)) {}
    lumoff::platform::RegKey Open(std::string_view) override { return 1; }
    lumoff::platform::RegKey Create(std::string_view) override { return 1; }
    void Close(lumoff::platform::RegKey) override {}
    long SetValue(lumoff::platform::RegKey, std::string_view, std::uint32_t, const void*, std::uint32_t) override {
        return lumoff::platform::kErrorSuccess;
    }
    long QueryValue(lumoff::platform::RegKey, std::string_view, std::uint32_t* type, void* data,
                    std::uint32_t* length) override {
        if (type) *type = type_;
        std::string bytes = data_;
        const bool text = type_ == lumoff::platform::kRegSz || type_ == 2 || type_ == 7;
        if (text && (bytes.empty() || bytes.back() != '\0')) bytes.push_back('\0');
        if (bytes.size() > *length) {
            *length = static_cast<std::uint32_t>(bytes.size());
            return lumoff::platform::kErrorMoreData;
        }
        std::memcpy(data, bytes.data(), bytes.size());
        *length = static_cast<std::uint32_t>(bytes.size());
        return lumoff::platform::kErrorSuccess;
    }
    long DeleteValue(lumoff::platform::RegKey, std::string_view) override { return 0; }
    long DeleteKey(lumoff::platform::RegKey, std::string_view) override { return 0; }
    long EnumValueName(lumoff::platform::RegKey, std::uint32_t, std::string*) override { return 259; }
    long SetUnicodeText(lumoff::platform::RegKey, std::string_view, std::string_view) override { return 0; }
    long QueryUnicodeText(lumoff::platform::RegKey, std::string_view, std::string*) override { return 2; }

private:
    std::uint32_t type_;
    std::string data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the stored type (REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, ...).
    const std::uint32_t type = data[0] % 12;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    OneValue registry(type, bytes);
    const std::string text = lumoff::settings::ReadSettingValue(registry, 1, "Value");
    Check(text.size() < 255);
    Check(text.find('\0') == std::string::npos);
    Check(bytes.compare(0, text.size(), text) == 0);

    for (std::string_view input : {std::string_view(text), std::string_view(bytes)}) {
        const auto number = lumoff::settings::ParseStoredNumber(input);
        if (!number) continue;
        Check(!input.empty());
        Check(*number >= -2147483648L && *number <= 2147483647L);
        // What a number reads as, written back as the program writes numbers, reads as the same number.
        Check(lumoff::settings::ParseStoredNumber(std::to_string(*number)) == number);
        Check(lumoff::settings::ParseStoredNumber(lumoff::settings::PositionText(static_cast<float>(*number))) ||
              *number > 9999999 || *number < -9999999);
    }
    return 0;
}
