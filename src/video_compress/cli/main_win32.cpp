// ondrel-compress.exe: the compression engine of Ondrel on the command line (a console
// program).
#include "video_compress/cli/cli_run.hpp"

#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    // The wide arguments keep every character of a file name, whatever the code page.
    std::vector<std::filesystem::path> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    const int status = ondrel::run_cli(arguments);
    if (status == ondrel::exit_interrupted) {
        // Analysis workers may still be running; their children end with this process.
        std::_Exit(status);
    }
    return status;
}
