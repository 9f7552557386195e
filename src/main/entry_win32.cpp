// The program's entry point.
#include "main/startup_win32.hpp"
#include "platform/win32/running_mark.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const ondrel::UniqueHandle running = ondrel::mark_running();
    return ondrel::run_ondrel(instance);
}
