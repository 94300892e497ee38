// Running a terminal command in a test: its exit code and both streams.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace tandrel::test {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

template <class Command>
CliRun RunCommand(Command command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace tandrel::test
