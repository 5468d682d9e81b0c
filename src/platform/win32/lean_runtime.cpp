// The few pieces of the C++ runtime that lumoff.exe replaces to stay small.
//
// lumoff.exe is built without exceptions: it throws nothing and catches nothing, so any failure the standard library
// would report by throwing (out of memory, a string past its maximum size, an empty std::function called) ends the
// program, just as an uncaught exception would. The library's own helpers for those reports, and its operator new,
// throw all the same, and bring the whole exception machinery with them: unwinder, exception string classes, thread
// support for the emergency pool and the name demangler of the default terminate handler, about a third of the exe.
// Here they end the program directly instead. Only lumoff.exe links this file; the test drivers keep the library's.

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

namespace {

[[noreturn]] void Fail() { std::abort(); }

// What operator new does when the heap has nothing left: ask the new-handler, if the program installed one, to make
// room, and try again; without one there is nothing to be done.
void* Allocate(std::size_t size) noexcept {
    if (size == 0) size = 1;
    for (;;) {
        if (void* p = std::malloc(size)) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) return nullptr;
        handler();
    }
}

}  // namespace

namespace std {

void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_bad_function_call() { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }

}  // namespace std

void* operator new(std::size_t size) {
    void* p = Allocate(size);
    if (!p) Fail();
    return p;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
