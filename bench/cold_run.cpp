// Runs a command as a fresh process several times, from exec to exit, and prints the best and
// the median wall time, the fewest minor page faults and the smallest peak resident memory.
//
//   cold_run [-n RUNS] [--out FILE | --until-output] -- COMMAND [ARG ...]
//
// The command's standard output goes to FILE (default /dev/null); one warm-up run is not counted.
// Output, one line: best_ms median_ms minflt maxrss_kib exit_status, separated by TABs.
// With --until-output the times run from exec to the command's first output (a program that
// says when it is ready) instead, and a sixth column gives the best time from that output to
// the exit.

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
    double AfterOutputMs = 0;
    long MinorFaults = 0;
    long MaxRssKiB = 0;
    int Status = 0;
};

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// out nullptr: the command writes into a pipe, and the time of its first output is taken.
bool RunOnce(char** command, const char* out, TRun& run) {
    int pipeFds[2] = {-1, -1};
    if (out == nullptr && pipe2(pipeFds, O_CLOEXEC) != 0) {
        return false;
    }
    const double start = Now();
    const pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        const int fd = out != nullptr ? open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : pipeFds[1];
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
        }
        execvp(command[0], command);
        std::fprintf(stderr, "cold_run: cannot run %s: %s\n", command[0], std::strerror(errno));
        _exit(127);
    }
    double firstOutput = -1;
    if (out == nullptr) {
        close(pipeFds[1]);
        char buffer[256];
        ssize_t n = 0;
        while ((n = read(pipeFds[0], buffer, sizeof buffer)) != 0) {
            if (n < 0 && errno != EINTR) {
                break;
            }
            if (n > 0 && firstOutput < 0) {
                firstOutput = Now();
            }
        }
        close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    const double end = Now();
    run.Ms = end - start;
    if (out == nullptr) {
        // A command that never says it is ready counts until its exit.
        run.Ms = (firstOutput < 0 ? end : firstOutput) - start;
        run.AfterOutputMs = firstOutput < 0 ? 0 : end - firstOutput;
    }
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
        } else if (std::strcmp(argv[i], "--until-output") == 0) {
            out = nullptr;
        } else {
            std::fprintf(stderr, "usage: cold_run [-n RUNS] [--out FILE | --until-output] -- COMMAND [ARG ...]\n");
            return 2;
        }
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: cold_run [-n RUNS] [--out FILE | --until-output] -- COMMAND [ARG ...]\n");
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
    std::printf("%.1f\t%.1f\t%ld\t%ld\t%d", times.front(), times[times.size() / 2], fewest->MinorFaults,
                smallest->MaxRssKiB, results.back().Status);
    if (out == nullptr) {
        auto quickest = std::min_element(results.begin(), results.end(), [](const TRun& a, const TRun& b) {
            return a.AfterOutputMs < b.AfterOutputMs;
        });
        std::printf("\t%.1f", quickest->AfterOutputMs);
    }
    std::printf("\n");
    return results.back().Status == 0 ? 0 : 1;
}
