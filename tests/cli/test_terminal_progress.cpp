// The progress line of veldra-cli: drawn on a terminal, absent from files and pipes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/terminal_progress.h"

namespace {

std::string Written(std::FILE* stream, int readFd) {
    std::fflush(stream);
    std::string text(4096, '\0');
    const ssize_t n = ::read(readFd, text.data(), text.size());
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

TEST(TerminalProgress, DrawsOnATerminalAndNothingElsewhere) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    std::FILE* terminal = std::fopen(::ptsname(master), "w");
    ASSERT_NE(terminal, nullptr);
    {
        TerminalProgress progress("Baking frames", terminal);
        ASSERT_NE(progress.IfShown(), nullptr);
        EXPECT_TRUE(progress.Report(3, 4));
        EXPECT_NE(Written(terminal, master).find("Baking frames: 3/4 (75%)"), std::string::npos);
    }
    EXPECT_NE(Written(terminal, master).find("\r\033[K"), std::string::npos);  // erased at the end
    std::fclose(terminal);
    ::close(master);

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    std::FILE* pipe = ::fdopen(pipeFds[1], "w");
    {
        TerminalProgress progress("Baking frames", pipe);
        EXPECT_EQ(progress.IfShown(), nullptr);
        EXPECT_TRUE(progress.Report(4, 4));
    }
    std::fclose(pipe);
    char byte = 0;
    EXPECT_EQ(::read(pipeFds[0], &byte, 1), 0);
    ::close(pipeFds[0]);
}

}  // namespace
