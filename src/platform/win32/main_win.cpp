// lumoff.exe: the entry point. Builds the real platform and runs the program; the program ends the process
// itself, so nothing here is ever torn down.
#include "platform/win32/win32_services.h"

#include "app/program.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Deliberately never deleted: the process ends from inside the program, with these still in use.
    auto* platform = new lumoff::platform::win32::Win32Platform();
    auto* program = new lumoff::Program(platform->platform());
    program->Run();
    return 0;
}
