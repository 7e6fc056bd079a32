// The end-to-end harness's plumbing: the fixture's line protocol, scratch folders,
// and timed runs of quindarvel.exe.
#include "e2e/harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {

Paths& Executables() {
    static Paths paths;
    return paths;
}

bool TakeExecutables(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <quindarvel.exe> <fixture.exe> [gtest flags]\n", argv[0]);
        return false;
    }
    Executables() = {fs::absolute(argv[1]).string(), fs::absolute(argv[2]).string()};
    return true;
}

std::vector<std::size_t> Snapshot::OwnOrder() const {
    std::vector<std::size_t> order;
    for (const auto& [handle, rect] : top) {
        auto it = std::find(handles.begin(), handles.end(), handle);
        if (it != handles.end()) order.push_back(static_cast<std::size_t>(it - handles.begin()));
    }
    return order;
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex.push_back(kDigits[c >> 4]);
        hex.push_back(kDigits[c & 15]);
    }
    return hex;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

Windows::Windows(const std::vector<Win>& windows) : child_({"wine", Executables().fixture}) {
    std::string spec;
    for (const Win& w : windows) {
        spec += "window " + std::to_string(w.rect.left) + " " + std::to_string(w.rect.top) + " " +
                std::to_string(w.rect.right - w.rect.left) + " " +
                std::to_string(w.rect.bottom - w.rect.top) + " " + (w.visible ? "1 " : "0 ") +
                w.style + " " + Hex(w.title) + "\n";
    }
    child_.Write(spec + "go\n");
    const auto ready = child_.ReadLine(120000);
    if (ready != "ready") throw std::runtime_error("the fixture did not start");
}

std::string Windows::Command(const std::string& line, int timeout_ms) {
    child_.Write(line + "\n");
    const auto answer = child_.ReadLine(timeout_ms);
    if (!answer) throw std::runtime_error("the fixture stopped answering to " + line);
    return *answer;
}

Snapshot Windows::Dump() {
    child_.Write("dump\n");
    Snapshot snapshot;
    for (;;) {
        const auto line = child_.ReadLine(60000);
        if (!line) throw std::runtime_error("the fixture stopped answering");
        std::istringstream in(*line);
        std::string kind;
        in >> kind;
        if (kind == "end") break;
        unsigned index = 0;
        std::uint32_t handle = 0;
        Rect r{};
        int visible = 0;
        if (kind == "win") {
            in >> index >> std::hex >> handle >> std::dec >> r.left >> r.top >> r.right >>
                r.bottom >> visible;
            snapshot.handles.push_back(handle);
            snapshot.rects.push_back(r);
            snapshot.visible.push_back(visible != 0);
        } else if (kind == "top") {
            in >> std::hex >> handle >> std::dec >> r.left >> r.top >> r.right >> r.bottom;
            snapshot.top.emplace_back(handle, r);
        } else if (kind == "foreground") {
            in >> std::hex >> snapshot.foreground;
        }
    }
    return snapshot;
}

std::optional<Box> Windows::AnswerBox(int timeout_ms) {
    std::istringstream in(Command("box " + std::to_string(timeout_ms), timeout_ms + 30000));
    std::string kind, hex;
    int ok = 0, cancel = 0;
    Box box;
    in >> kind >> hex >> std::hex >> box.owner >> std::dec >> ok >> cancel;
    if (kind != "box") return std::nullopt;
    box.text = hex == "-" ? "" : FromHex(hex);
    box.ok_shown = ok != 0;
    box.cancel_shown = cancel != 0;
    return box;
}

void Windows::Hold(const std::string& windows_path) {
    const std::string answer = Command("hold " + Hex(windows_path), 30000);
    if (answer != "held")
        throw std::runtime_error("the fixture could not hold the file: " + answer);
}

void Windows::StartChurn(const std::string& prefix, int alive) {
    const std::string answer = Command("churn " + std::to_string(alive) + " " + Hex(prefix), 30000);
    if (answer != "churning") throw std::runtime_error("the fixture did not churn: " + answer);
}

long Windows::StopChurn() {
    std::istringstream in(Command("stop", 30000));
    std::string kind;
    long created = 0;
    in >> kind >> created;
    if (kind != "stopped") throw std::runtime_error("the churn did not stop");
    return created;
}

Folder::Folder() {
    char name[] = "/tmp/quindarvel-e2e-XXXXXX";
    if (mkdtemp(name) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
}

Folder::~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void Folder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
}

RunOutcome RunQuindarvel(Windows& windows, const fs::path& exe_dir, const fs::path& cwd,
                         const std::string& name, bool box_expected, int timeout_ms) {
    fs::copy_file(Executables().exe, exe_dir / name, fs::copy_options::overwrite_existing);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = Spawn({"wine", (exe_dir / name).string()}, cwd.string());
    RunOutcome outcome;
    if (box_expected) outcome.box = windows.AnswerBox(timeout_ms);
    outcome.status = WaitFor(pid, timeout_ms, &outcome.peak_rss_kb);
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!box_expected) outcome.box = windows.AnswerBox(0);
    return outcome;
}

}  // namespace e2e
