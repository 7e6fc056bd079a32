// What a whole quindarvel run costs under Wine, beside two floors built with the same
// toolchain and flags: an empty GUI program (the start-up floor) and a floor program
// that makes only the host calls a run can't avoid. For M top-level windows and K
// entries, each run is timed from start to exit, several times after a warm-up, with
// the three programs interleaved so that drift hits them alike.
// Usage: run_bench <folder with quindarvel.exe, floor_program.exe, empty_program.exe,
//        fixture.exe> [runs per point, default 15]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using namespace e2e;

struct Stats {
    double median, low, high;  // milliseconds
};

Stats Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    // The spread is the middle half of the runs, so that one stall doesn't hide it.
    return {median, ms[n / 4], ms[(3 * n) / 4]};
}

double TimeRun(const fs::path& exe) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = Spawn({"wine", exe.string()}, exe.parent_path().string());
    const int status = WaitFor(pid, 600000);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", exe.c_str(), status);
        std::exit(1);
    }
    return ms;
}

struct Program {
    const char* name;
    Folder dir;
    fs::path exe;
};

// Times each program `runs` times after two warm-up runs, interleaved.
std::map<std::string, Stats> Measure(std::vector<Program*> programs, int runs) {
    std::map<std::string, std::vector<double>> times;
    for (int r = -2; r < runs; ++r) {
        for (Program* p : programs) {
            const double ms = TimeRun(p->exe);
            if (r >= 0) times[p->name].push_back(ms);
        }
    }
    std::map<std::string, Stats> stats;
    for (auto& [name, ms] : times) stats[name] = Summarise(ms);
    return stats;
}

std::string Show(const Stats& s) {
    char text[64];
    std::snprintf(text, sizeof text, "%7.1f [%5.1f-%5.1f]", s.median, s.low, s.high);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <windows build folder> [runs]\n", argv[0]);
        return 2;
    }
    const fs::path build = fs::absolute(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    Executables() = {(build / "quindarvel.exe").string(), (build / "fixture.exe").string()};

    Program quindarvel{"quindarvel", {}, {}}, floor{"floor", {}, {}}, empty{"empty", {}, {}};
    for (Program* p : {&quindarvel, &floor, &empty}) {
        const std::string file =
            p == &quindarvel ? "quindarvel.exe" : std::string(p->name) + "_program.exe";
        p->exe = p->dir.path() / file;
        fs::copy_file(build / file, p->exe);
    }

    std::printf("Whole runs under Wine, milliseconds: median [middle half of %d runs]\n\n", runs);
    {
        // Start-up: no configuration file, so quindarvel ends right after the open.
        const auto s = Measure({&quindarvel, &empty}, runs);
        std::printf("start-up (no quindarvel.cfg): quindarvel %s, empty program %s, ratio %.3f\n\n",
                    Show(s.at("quindarvel")).c_str(), Show(s.at("empty")).c_str(),
                    s.at("quindarvel").median / s.at("empty").median);
    }

    std::printf("%5s %4s  %-22s %-22s %-22s %9s %9s\n", "M", "K", "quindarvel", "floor program",
                "empty program", "q/floor", "q/empty");
    std::map<std::pair<int, int>, Stats> q, f;
    for (int m : {10, 100, 1000}) {
        std::vector<Win> wins;
        for (int i = 0; i < m; ++i) {
            char title[32];
            std::snprintf(title, sizeof title, "qv-bench %04d", i);
            wins.push_back({title, At((i % 40) * 45, (i / 40) * 40, 40, 30)});
        }
        Windows windows(wins);
        for (int k : {1, 10, 100}) {
            // The first windows made lie at the bottom of the stacking order, so each
            // entry's window is near the end of the enumeration.
            std::string config;
            for (int i = 0; i < k; ++i) {
                char entry[48];
                std::snprintf(entry, sizeof entry, "qv-bench %04d\r\n0\r\n", i % std::min(m, 10));
                config += entry;
            }
            quindarvel.dir.Write("quindarvel.cfg", config);
            floor.dir.Write("quindarvel.cfg", config);
            const auto s = Measure({&quindarvel, &floor, &empty}, runs);
            q[{m, k}] = s.at("quindarvel");
            f[{m, k}] = s.at("floor");
            std::printf("%5d %4d  %-22s %-22s %-22s %9.3f %9.3f\n", m, k,
                        Show(s.at("quindarvel")).c_str(), Show(s.at("floor")).c_str(),
                        Show(s.at("empty")).c_str(),
                        s.at("quindarvel").median / s.at("floor").median,
                        s.at("quindarvel").median / s.at("empty").median);
            std::fflush(stdout);
        }
    }

    std::printf("\nmarginal costs from the medians (quindarvel / floor program):\n");
    for (int m : {10, 100, 1000}) {
        std::printf("  per entry at M=%-4d        %8.3f ms / %8.3f ms\n", m,
                    (q[{m, 100}].median - q[{m, 1}].median) / 99,
                    (f[{m, 100}].median - f[{m, 1}].median) / 99);
    }
    std::printf("  per window per entry (K=100) %6.2f us / %6.2f us\n",
                (q[{1000, 100}].median - q[{10, 100}].median) / (990.0 * 100) * 1000,
                (f[{1000, 100}].median - f[{10, 100}].median) / (990.0 * 100) * 1000);
    return 0;
}
