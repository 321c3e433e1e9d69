// Runs the built veldra-cli as a script would and collects what it printed.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/test_files.h"

struct CliOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `environment` is put before the program as arguments of env(1), e.g. "-u DISPLAY".
inline CliOutcome RunCli(const testing_support::ScratchDir& dir, const std::string& args,
                         const std::string& environment = {}) {
    const std::string errFile = dir.File("stderr.txt");
    const std::string command = (environment.empty() ? "" : "env " + environment + " ") +
                                VELDRA_CLI_PATH + " " + args + " 2>" + errFile;
    CliOutcome result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto err = testing_support::ReadBytes(errFile);
    result.err.assign(err.begin(), err.end());
    return result;
}
