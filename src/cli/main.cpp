#include <csignal>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG, which is reported
    // and cleaned up, instead of the signal killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    return tandrel::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
