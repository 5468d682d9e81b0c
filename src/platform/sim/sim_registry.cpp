#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lumoff::platform::sim {

std::string SimRegistry::Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

RegKey SimRegistry::Open(std::string_view subkey) {
    if (deny_access || !keys_.count(Fold(subkey))) return 0;
    handles_[next_handle_] = Fold(subkey);
    return next_handle_++;
}

RegKey SimRegistry::Create(std::string_view subkey) {
    if (deny_access) return 0;
    keys_.try_emplace(Fold(subkey));
    return Open(subkey);
}

void SimRegistry::Close(RegKey key) { handles_.erase(key); }

SimRegistry::Values* SimRegistry::KeyOf(RegKey key) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return nullptr;
    auto k = keys_.find(h->second);
    return k == keys_.end() ? nullptr : &k->second;
}

namespace {
RegValue* FindValue(std::vector<RegValue>& values, std::string_view name) {
    auto same = [&](const RegValue& v) {
        return v.name.size() == name.size() &&
               std::equal(name.begin(), name.end(), v.name.begin(), [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
               });
    };
    auto it = std::find_if(values.begin(), values.end(), same);
    return it == values.end() ? nullptr : &*it;
}
}  // namespace

long SimRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type, const void* data,
                           std::uint32_t length) {
    Values* values = KeyOf(key);
    if (!values) return kErrorInvalidHandle;
    if (deny_writes) return kErrorAccessDenied;
    std::string bytes(static_cast<const char*>(data), length);
    if (RegValue* v = FindValue(*values, name)) {
        v->type = type;
        v->data = bytes;
        v->unicode = false;
    } else {
        values->push_back({std::string(name), type, bytes, false});
    }
    return kErrorSuccess;
}

long SimRegistry::QueryValue(RegKey key, std::string_view name, std::uint32_t* type, void* data,
                             std::uint32_t* length) {
    Values* values = KeyOf(key);
    if (!values) return kErrorInvalidHandle;
    RegValue* v = FindValue(*values, name);
    if (!v) return kErrorFileNotFound;
    if (type) *type = v->type;
    // Text stored without its NUL comes back with one added, and needs the room for it.
    std::string bytes = v->data;
    bool text = v->type == kRegSz || v->type == kRegExpandSz || v->type == kRegMultiSz;
    if (text && (bytes.empty() || bytes.back() != '\0')) bytes.push_back('\0');
    std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    if (data && size > *length) {
        *length = size;
        return kErrorMoreData;
    }
    if (data) std::memcpy(data, bytes.data(), size);
    *length = size;
    return kErrorSuccess;
}

long SimRegistry::DeleteValue(RegKey key, std::string_view name) {
    Values* values = KeyOf(key);
    if (!values) return kErrorInvalidHandle;
    RegValue* v = FindValue(*values, name);
    if (!v) return kErrorFileNotFound;
    if (!undeletable_value.empty() && Fold(name) == Fold(undeletable_value)) return kErrorAccessDenied;
    values->erase(values->begin() + (v - values->data()));
    return kErrorSuccess;
}

long SimRegistry::DeleteKey(RegKey key, std::string_view subkey) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return kErrorInvalidHandle;
    std::string path = subkey.empty() ? h->second : h->second + "\\" + Fold(subkey);
    return keys_.erase(path) ? kErrorSuccess : kErrorFileNotFound;
}

long SimRegistry::EnumValueName(RegKey key, std::uint32_t index, std::string* name) {
    Values* values = KeyOf(key);
    if (!values) return kErrorInvalidHandle;
    if (index >= values->size()) return kErrorNoMoreItems;
    *name = (*values)[index].name;
    return kErrorSuccess;
}

long SimRegistry::SetUnicodeText(RegKey key, std::string_view name, std::string_view text) {
    long result = SetValue(key, name, kRegSz, text.data(), static_cast<std::uint32_t>(text.size()));
    if (result == kErrorSuccess) FindValue(*KeyOf(key), name)->unicode = true;
    return result;
}

long SimRegistry::QueryUnicodeText(RegKey key, std::string_view name, std::string* text) {
    Values* values = KeyOf(key);
    if (!values) return kErrorInvalidHandle;
    RegValue* v = FindValue(*values, name);
    if (!v) return kErrorFileNotFound;
    if (v->type != kRegSz && v->type != kRegExpandSz) return kErrorUnsupportedType;
    *text = v->data.substr(0, v->data.find('\0'));
    return kErrorSuccess;
}

bool SimRegistry::KeyExists(std::string_view path) const { return keys_.count(Fold(path)) != 0; }

void SimRegistry::CreateKey(std::string_view path) { keys_.try_emplace(Fold(path)); }

void SimRegistry::Put(std::string_view path, std::string_view name, std::string_view data, std::uint32_t type) {
    auto& values = keys_[Fold(path)];
    if (RegValue* v = FindValue(values, name)) {
        v->type = type;
        v->data = std::string(data);
    } else {
        values.push_back({std::string(name), type, std::string(data)});
    }
}

const RegValue* SimRegistry::Get(std::string_view path, std::string_view name) const {
    auto k = keys_.find(Fold(path));
    if (k == keys_.end()) return nullptr;
    return FindValue(const_cast<Values&>(k->second), name);
}

}  // namespace lumoff::platform::sim
