// Runs a command as a fresh process several times, from exec to exit, and prints the best and
// the median wall time, the fewest minor page faults and the smallest peak resident memory.
//
//   cold_run [-n RUNS] [--out FILE] -- COMMAND [ARG ...]
//
// The command's standard output goes to FILE (default /dev/null); one warm-up run is not counted.
// Output, one line: best_ms median_ms minflt maxrss_kib exit_status, separated by TABs.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct TRun {
    double Ms = 0;
    long MinorFaults = 0;
    long MaxRssKiB = 0;
    int Status = 0;
};

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

bool RunOnce(char** command, const char* out, TRun& run) {
    const double start = Now();
    const pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        const int fd = open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
        }
        execvp(command[0], command);
        std::fprintf(stderr, "cold_run: cannot run %s: %s\n", command[0], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    run.Ms = Now() - start;
    run.MinorFaults = usage.ru_minflt;
    run.MaxRssKiB = usage.ru_maxrss;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5;
    const char* out = "/dev/null";
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else {
            std::fprintf(stderr, "usage: cold_run [-n RUNS] [--out FILE] -- COMMAND [ARG ...]\n");
            return 2;
        }
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: cold_run [-n RUNS] [--out FILE] -- COMMAND [ARG ...]\n");
        return 2;
    }
    char** command = argv + i + 1;
    std::vector<TRun> results;
    for (int n = 0; n <= runs; ++n) {
        TRun run;
        if (!RunOnce(command, out, run)) {
            std::fprintf(stderr, "cold_run: %s\n", std::strerror(errno));
            return 1;
        }
        if (n > 0) { // the first run warms the page cache
            results.push_back(run);
        }
    }
    std::vector<double> times;
    for (const TRun& r : results) {
        times.push_back(r.Ms);
    }
    std::sort(times.begin(), times.end());
    auto fewest = std::min_element(results.begin(), results.end(),
                                   [](const TRun& a, const TRun& b) { return a.MinorFaults < b.MinorFaults; });
    auto smallest = std::min_element(results.begin(), results.end(),
                                     [](const TRun& a, const TRun& b) { return a.MaxRssKiB < b.MaxRssKiB; });
    std::printf("%.1f\t%.1f\t%ld\t%ld\t%d\n", times.front(), times[times.size() / 2], fewest->MinorFaults,
                smallest->MaxRssKiB, results.back().Status);
    return results.back().Status == 0 ? 0 : 1;
}
