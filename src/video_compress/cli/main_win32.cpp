// ondrel-compress.exe: the compression engine of Ondrel on the command line (a console
// program). The wide arguments keep every character of a file name, whatever the code page.
#include "video_compress/cli/cli_run.hpp"

int wmain(int argc, wchar_t** argv) {
    return ondrel::cli_main(argc, argv);
}
