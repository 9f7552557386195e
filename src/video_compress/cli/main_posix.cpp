// ondrel-compress: the compression engine of Ondrel on the command line.
#include "video_compress/cli/cli_run.hpp"

#include <cstdlib>

int main(int argc, char** argv) {
    // File names are bytes here; they reach the file system exactly as given.
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
