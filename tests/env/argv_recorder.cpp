// A tiny program the launch tests start. It writes what it was given to standard output,
// one "kind=value" line each: its arguments, its user id, its process group, the open
// descriptors above 2 and a few environment variables. With the first argument
// "--wait-stdin" it first reads standard input to its end.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--wait-stdin") == 0) {
        char buffer[256];
        while (read(0, buffer, sizeof buffer) > 0) {
        }
    }
    std::string out;
    for (int i = 0; i < argc; ++i) out += std::string("arg=") + argv[i] + "\n";
    out += "uid=" + std::to_string(geteuid()) + "\n";
    out += "pgid=" + std::to_string(getpgrp()) + "\n";
    out += "pid=" + std::to_string(getpid()) + "\n";
    for (int fd = 3; fd < 1024; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) out += "fd=" + std::to_string(fd) + "\n";
    }
    for (const char* name : {"HOME", "USER", "VEXLO_LAUNCH_MARK"}) {
        if (const char* value = std::getenv(name)) out += std::string("env=") + name + "=" + value + "\n";
    }
    const char* p = out.data();
    size_t left = out.size();
    while (left > 0) {
        const ssize_t n = write(1, p, left);
        if (n <= 0) return 1;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return 0;
}
