// The end-to-end harness: the fixture program's windows, a scratch folder per case,
// and runs of the real quindarvel.exe under Wine with their exit status, the error
// box they show (read back and dismissed), their time and their peak memory.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/process.h"

namespace e2e {

namespace fs = std::filesystem;

// The executables under test, set by main from the command line.
struct Paths {
    std::string exe;
    std::string fixture;
};
Paths& Executables();

// Takes <quindarvel.exe> <fixture.exe> from what is left of the command line once the
// test framework has taken its flags; false, after a usage line, when they aren't there.
bool TakeExecutables(int argc, char** argv);

struct Rect {
    long left, top, right, bottom;
    friend bool operator==(const Rect&, const Rect&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Rect& r) {
        return os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    }
};

// A window at (left, top) of the given size.
inline Rect At(long left, long top, long width, long height) {
    return {left, top, left + width, top + height};
}

struct Win {
    std::string title;
    Rect rect;  // as created
    bool visible = true;
    std::string style = "popup";
};

struct Snapshot {
    std::vector<std::uint32_t> handles;  // the fixture's windows, in creation order
    std::vector<Rect> rects;
    std::vector<bool> visible;
    std::vector<std::pair<std::uint32_t, Rect>> top;  // all top-level windows, enumeration order
    std::uint32_t foreground = 0;

    // The indices of the fixture's windows in the enumeration order.
    std::vector<std::size_t> OwnOrder() const;
};

struct Box {
    std::string text;
    std::uint32_t owner = 0;
    bool ok_shown = false;
    bool cancel_shown = false;
};

std::string Hex(const std::string& bytes);
std::string FromHex(const std::string& hex);

// The fixture program holding a set of windows for as long as it lives.
class Windows {
public:
    explicit Windows(const std::vector<Win>& windows);
    Snapshot Dump();
    // The "Application Error" box, read and dismissed with OK, if one comes in time.
    std::optional<Box> AnswerBox(int timeout_ms);
    // Opens the file for writing, sharing it for reading and writing, until the end.
    void Hold(const std::string& windows_path);
    // Creates and destroys windows titled prefix + a number, keeping `alive` of them,
    // until StopChurn.
    void StartChurn(const std::string& prefix, int alive);
    // Stops the churn; the number of windows it created.
    long StopChurn();

private:
    std::string Command(const std::string& line, int timeout_ms);
    Child child_;
};

// A fresh folder, removed afterwards.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path& path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const;

private:
    fs::path path_;
};

struct RunOutcome {
    int status = 0;
    std::optional<Box> box;
    double seconds = 0;
    long peak_rss_kb = 0;
};

// Runs the executable copied into exe_dir as `name`, from the folder cwd. A box it
// shows is read and dismissed; when no box is expected, the fixture still looks for
// one after the run, so that a box shown by mistake is seen.
RunOutcome RunQuindarvel(Windows& windows, const fs::path& exe_dir, const fs::path& cwd,
                         const std::string& name, bool box_expected, int timeout_ms = 20000);

}  // namespace e2e
