// rss_probe OUTFILE PROGRAM [ARG...]: runs the program with this process's
// standard streams and writes "<peak resident KiB> <CPU microseconds> <exit
// status>" to OUTFILE.
//
// The benchmark starts proofread through this small process because Linux
// keeps the peak resident size of the image that a process replaced: started
// straight from the benchmark, the child would report the benchmark's own
// size.  Started from here, the figure is proofread's (this program is far
// smaller than anything it measures).

#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: rss_probe OUTFILE PROGRAM [ARG...]\n");
        return 125;
    }
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "rss_probe: cannot start %s\n", argv[2]);
        return 126;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return 127;
    const long cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000L + usage.ru_utime.tv_usec +
                     usage.ru_stime.tv_usec;
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) return 127;
    std::fprintf(out, "%ld %ld %d\n", usage.ru_maxrss, cpu, exitStatus);
    std::fclose(out);
    return exitStatus;
}
