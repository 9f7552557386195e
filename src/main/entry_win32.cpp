// The program's entry point.
#include "main/startup_win32.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return ondrel::run_ondrel(instance);
}
