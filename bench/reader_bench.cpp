// The configuration reader on large files, natively: reads every entry of a file the
// way a run does (128-byte reads, the line rules, the percentage conversion) and
// prints the throughput, the entries found and the peak memory.
// Usage: reader_bench <file> [repetitions, default 3]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/config_reader.h"
#include "host/failure.h"

namespace {

struct Result {
    long entries = 0;
    std::size_t longest_pattern = 0;
    std::string failure;
};

// Kept out of line so that callgrind can count exactly this.
[[gnu::noinline]] Result ReadAllEntries(const char* path) {
    Result result;
    quindarvel::ConfigReader reader;
    if (!reader.Open(path)) {
        result.failure = "cannot open";
        return result;
    }
    try {
        while (!reader.AtEnd()) {
            const quindarvel::ZoomEntry entry = reader.NextEntry();
            ++result.entries;
            if (entry.pattern.size() > result.longest_pattern) {
                result.longest_pattern = entry.pattern.size();
            }
        }
        reader.Close();
    } catch (const quindarvel::Failure& failure) {
        result.failure = failure.message.substr(0, 60);
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file> [repetitions]\n", argv[0]);
        return 2;
    }
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
    FILE* f = std::fopen(argv[1], "rb");
    if (f == nullptr) return 1;
    std::fseek(f, 0, SEEK_END);
    const double megabytes = static_cast<double>(std::ftell(f)) / (1 << 20);
    std::fclose(f);

    double best = 1e99;
    Result result;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        result = ReadAllEntries(argv[1]);
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, s);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "%8.1f MB  %9.1f MB/s  %9ld entries  longest pattern %zu B  peak RSS %6.1f MB%s%s\n",
        megabytes, megabytes / best, result.entries, result.longest_pattern,
        static_cast<double>(usage.ru_maxrss) / 1024.0, result.failure.empty() ? "" : "  ",
        result.failure.c_str());
    return 0;
}
