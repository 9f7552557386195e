// ondrel-compress: the compression engine of Ondrel on the command line.
#include "compress_cli/cli_run.hpp"

int main(int argc, char** argv) {
    return ondrel::cli_main(argc, argv);
}
