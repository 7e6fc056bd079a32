// POSIX process plumbing for the end-to-end tests.
#include "e2e/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Forks argv in cwd with the given descriptors as its stdin, stdout and, unless -1,
// stderr.
pid_t Start(const std::vector<std::string>& argv, const std::string& cwd, int in, int out,
            int err = -1) {
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(in, 0);
        dup2(out, 1);
        if (err >= 0) dup2(err, 2);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, const std::string& cwd) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    signal(SIGPIPE, SIG_IGN);
    pid_ = Start(argv, cwd, in[0], out[1]);
    close(in[0]);
    close(out[1]);
    in_ = in[1];
    out_ = out[0];
}

Child::~Child() {
    CloseStdin();
    Wait(10000);
    if (out_ >= 0) close(out_);
}

void Child::Write(std::string_view text) {
    while (!text.empty()) {
        ssize_t n = write(in_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("write to child failed");
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::optional<std::string> Child::ReadLine(int timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (auto lf = pending_.find('\n'); lf != std::string::npos) {
            std::string line = pending_.substr(0, lf);
            pending_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        pollfd p{out_, POLLIN, 0};
        int ready = poll(&p, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buf[4096];
        ssize_t n = read(out_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        pending_.append(buf, static_cast<std::size_t>(n));
    }
}

void Child::CloseStdin() {
    if (in_ >= 0) close(in_);
    in_ = -1;
}

int Child::Wait(int timeout_ms) {
    if (!status_) status_ = WaitFor(pid_, timeout_ms);
    return *status_;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& cwd,
            const std::string& stderr_path) {
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0) throw std::runtime_error("cannot open /dev/null");
    const int err = stderr_path.empty()
                        ? -1
                        : open(stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = Start(argv, cwd, null, null, err);
    close(null);
    if (err >= 0) close(err);
    return pid;
}

int WaitFor(pid_t pid, int timeout_ms, long* peak_rss_kb) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int raw = 0;
        rusage usage{};
        if (wait4(pid, &raw, WNOHANG, &usage) == pid) {
            if (peak_rss_kb != nullptr) *peak_rss_kb = usage.ru_maxrss;
            return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        }
        if (RemainingMs(deadline) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &raw, 0);
            return -1;
        }
        usleep(2000);
    }
}

}  // namespace e2e
