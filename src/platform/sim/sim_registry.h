// In-memory registry of one user, with the byte-level behaviour of the system's A functions: data is kept as
// written (no terminator added), a query into a too-small buffer fails with ERROR_MORE_DATA, names of keys and
// values compare without regard to case, and values enumerate in the order they were first written.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lumoff::platform::sim {

struct RegValue {
    std::string name;
    std::uint32_t type = kRegSz;
    std::string data;  // raw bytes; UTF-8 text for a value written through the Unicode call
    bool unicode = false;  // written through the Unicode call
};

class SimRegistry : public Registry {
public:
    RegKey Open(std::string_view subkey) override;
    RegKey Create(std::string_view subkey) override;
    void Close(RegKey key) override;
    long SetValue(RegKey key, std::string_view name, std::uint32_t type, const void* data,
                  std::uint32_t length) override;
    long QueryValue(RegKey key, std::string_view name, std::uint32_t* type, void* data,
                    std::uint32_t* length) override;
    long DeleteValue(RegKey key, std::string_view name) override;
    long DeleteKey(RegKey key, std::string_view subkey) override;
    long EnumValueName(RegKey key, std::uint32_t index, std::string* name) override;
    long SetUnicodeText(RegKey key, std::string_view name, std::string_view text) override;
    long QueryUnicodeText(RegKey key, std::string_view name, std::string* text) override;

    // For tests: direct access without handles.
    bool KeyExists(std::string_view path) const;
    void CreateKey(std::string_view path);
    void Put(std::string_view path, std::string_view name, std::string_view data, std::uint32_t type = kRegSz);
    const RegValue* Get(std::string_view path, std::string_view name) const;
    size_t OpenHandles() const { return handles_.size(); }
    // Makes every later open or create fail, as a locked-down profile would.
    bool deny_access = false;
    // Makes every later write fail (the open still succeeds), as a key the user may read but not change.
    bool deny_writes = false;
    // Makes deleting a value of this name fail, as a value the user may not delete.
    std::string undeletable_value;

private:
    using Values = std::vector<RegValue>;
    static std::string Fold(std::string_view s);
    Values* KeyOf(RegKey key);
    std::map<std::string, Values> keys_;  // folded path -> values
    std::map<RegKey, std::string> handles_;
    RegKey next_handle_ = 0x100;
};

}  // namespace lumoff::platform::sim
