// Child processes for the end-to-end tests: a long-lived one spoken to through its
// stdin and stdout (the window fixture), and one-shot runs with their exit status.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

class Child {
public:
    // Starts argv[0] (looked up on PATH) in cwd, with pipes on stdin and stdout.
    explicit Child(const std::vector<std::string>& argv, const std::string& cwd = "");
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    void Write(std::string_view text);
    // The next line without its LF, or nullopt when stdout ends or timeout_ms passes.
    std::optional<std::string> ReadLine(int timeout_ms);
    void CloseStdin();
    // The exit status, or -1 when the child had to be killed after timeout_ms.
    int Wait(int timeout_ms);

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string pending_;
    std::optional<int> status_;
};

// Starts argv in cwd with stdin and stdout on /dev/null: nothing of its output is
// wanted, and a pipe held open by a helper it starts must not keep a test waiting.
// With stderr_path, its standard error goes to that file.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& cwd,
            const std::string& stderr_path = "");

// The exit status of a spawned process, or -1 when it had to be killed after
// timeout_ms; its peak resident memory in KiB goes to *peak_rss_kb when given.
int WaitFor(pid_t pid, int timeout_ms, long* peak_rss_kb = nullptr);

}  // namespace e2e
