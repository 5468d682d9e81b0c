// What another process holds, read from outside: committed private memory, kernel handles and GDI/USER objects.
// Used by the soak and the benchmark driver.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace e2e {

// Committed private memory, summed over the process's address space: what PrivateUsage counts on Windows. Wine
// reports PrivateUsage only for the calling process (0 for others), so this stands in for it there.
inline std::uint64_t CommittedPrivateBytes(HANDLE process) {
    std::uint64_t bytes = 0;
    MEMORY_BASIC_INFORMATION info{};
    const char* at = nullptr;
    while (VirtualQueryEx(process, at, &info, sizeof info) == sizeof info && info.RegionSize > 0) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) bytes += info.RegionSize;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return bytes;
}

// The system's handle table (SystemHandleInformation), one entry per open handle with its owner's process id.
struct SystemHandleEntry {
    ULONG owner_pid;
    BYTE object_type;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};

inline std::optional<DWORD> HandlesInSystemTable(DWORD pid) {
    constexpr int kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return std::nullopt;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(needed, buffer.size() * 2));
            continue;
        }
        if (status < 0) return std::nullopt;
        break;
    }
    const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].owner_pid == pid) ++count;
    return count;
}

// GetProcessHandleCount; under Wine, which answers 0 for another process, the entries of the system's handle table.
inline std::optional<DWORD> KernelHandleCount(HANDLE process) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0) return count;
    return HandlesInSystemTable(GetProcessId(process));
}

// GR_GDIOBJECTS or GR_USEROBJECTS; nothing where the system does not count them (Wine answers 0 and "not
// implemented"; a real process always holds a few of both).
inline std::optional<DWORD> GuiObjectCount(HANDLE process, DWORD kind) {
    DWORD count = GetGuiResources(process, kind);
    if (count == 0) return std::nullopt;
    return count;
}

}  // namespace e2e
