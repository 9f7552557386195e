// ondrel-compress.exe: the compression engine of Ondrel on the command line (a console
// program). The wide arguments keep every character of a file name, whatever the code page.
#include "compress_cli/cli_run.hpp"
#include "platform/win32/running_mark.hpp"

int wmain(int argc, wchar_t** argv) {
    const ondrel::UniqueHandle running = ondrel::mark_running();
    return ondrel::cli_main(argc, argv);
}
