// A libFuzzer target that runs the whole program against the in-memory host. The
// fuzzer's bytes are the configuration file; integers taken from the end of the
// input choose the read sizes and read failures, the close result and the windows'
// rectangles and title quirks. Beside crashes and undefined behaviour (the target is
// built with ASan and UBSan), each run is checked against a model of the rules
// written apart from the program: the host must see exactly the lookups, rectangle
// queries, placements, close and error box that the model predicts, with percentages
// that the model's own decoding of the lines gives; nothing may follow a failure,
// and no read may follow the end of data.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "config/config_reader.h"
#include "host/failure.h"
#include "host/memory_window_system.h"
#include "run/run.h"
#include "zoom/growth.h"

namespace qv = quindarvel;
namespace mh = quindarvel::memory_host;

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "property violated: %s\n", what.c_str());
    std::abort();
}

void Check(bool ok, const std::string& what) {
    if (!ok) Fail(what);
}

// --- the model ---------------------------------------------------------------

struct IoFailure {
    std::uint32_t code;
};

struct ModelFailure {
    qv::FailureKind kind;
    std::string message;
};

// The percentage as the rules define it, decoded without the program's code: the
// digits are read whole and their value compared afterwards.
std::optional<std::int32_t> ModelPercentage(std::string text) {
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return std::nullopt;
    text = text.substr(i);
    auto all_of = [](const std::string& s, const char* set) {
        return !s.empty() && s.find_first_not_of(set) == std::string::npos;
    };
    if (text[0] == '$') {
        std::string digits = text.substr(1);
        if (!all_of(digits, "0123456789abcdefABCDEF")) return std::nullopt;
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        if (digits.size() > 8) return std::nullopt;
        const auto bits =
            digits.empty() ? 0u : static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        return static_cast<std::int32_t>(bits);
    }
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    if (!all_of(text, "0123456789")) return std::nullopt;
    text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
    if (text.size() > 10) return std::nullopt;
    const long long value = text.empty() ? 0 : std::stoll(text);
    if (value > 2147483647) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(v));
    return text;
}

// What the run must do: the significant host calls in order, and its end.
struct Prediction {
    std::vector<std::string> calls;
    std::optional<ModelFailure> failure;
};

class Model {
public:
    Model(std::string stream, std::optional<std::uint32_t> error_at_end, std::uint32_t close_error,
          std::vector<mh::Window> windows)
        : stream_(std::move(stream)),
          error_at_end_(error_at_end),
          close_error_(close_error),
          windows_(std::move(windows)) {}

    Prediction Predict() {
        Prediction p;
        try {
            while (!AtEnd()) {
                const std::string pattern = DataLine();
                const std::string text = DataLine();
                const std::optional<std::int32_t> percentage = ModelPercentage(text);
                if (!percentage) {
                    const std::string quoted = "'" + text + "' is not a valid integer value";
                    p.failure = ModelFailure{qv::FailureKind::EConvertError,
                                             quoted.size() > 4096
                                                 ? "Format result longer than 4096 characters"
                                                 : quoted};
                    return p;
                }
                p.calls.push_back("EnumWindows");
                mh::Window* target = Find(pattern);
                if (target == nullptr) continue;
                p.calls.push_back("GetWindowRect " + Hex(target->handle));
                const auto placement = qv::ComputePlacement(target->rect, *percentage);
                if (!placement) {
                    p.failure = ModelFailure{qv::FailureKind::EInvalidOp,
                                             "Invalid floating point operation"};
                    return p;
                }
                p.calls.push_back(
                    "SetWindowPos " + Hex(target->handle) + " 0x0 " + std::to_string(placement->x) +
                    " " + std::to_string(placement->y) + " " + std::to_string(placement->cx) + " " +
                    std::to_string(placement->cy) + " 0x414");
                target->rect = {
                    placement->x, placement->y,
                    static_cast<std::int32_t>(std::int64_t{placement->x} + placement->cx),
                    static_cast<std::int32_t>(std::int64_t{placement->y} + placement->cy)};
            }
        } catch (const IoFailure& io) {
            p.failure = ModelFailure{qv::FailureKind::EInOutError, qv::IoErrorMessage(io.code)};
            return p;
        }
        p.calls.push_back("CloseHandle");
        if (close_error_ != 0) {
            p.failure =
                ModelFailure{qv::FailureKind::EInOutError, qv::IoErrorMessage(close_error_)};
        }
        return p;
    }

private:
    static constexpr int kEnd = -1;

    // The byte at p, kEnd at the end of data; past the delivered bytes the stream
    // either ends or fails.
    int At(std::size_t p) const {
        if (p < stream_.size()) {
            const auto c = static_cast<unsigned char>(stream_[p]);
            return c == 0x1A ? kEnd : c;
        }
        if (error_at_end_) throw IoFailure{*error_at_end_};
        return kEnd;
    }
    bool AtEnd() const { return At(pos_) == kEnd; }

    std::string Line() {
        std::string line;
        for (int c = At(pos_); c != kEnd && c != '\r'; c = At(++pos_)) {
            line.push_back(static_cast<char>(c));
        }
        if (At(pos_) == '\r' && At(++pos_) == '\n') ++pos_;
        return line;
    }

    std::string DataLine() {
        std::string line = Line();
        while (!line.empty() && line[0] == '/' && !AtEnd()) line = Line();
        return line;
    }

    mh::Window* Find(const std::string& pattern) {
        mh::Window* found = nullptr;
        const std::string needle = Upper(pattern);
        for (mh::Window& w : windows_) {
            const std::int32_t length =
                w.reported_length.value_or(static_cast<std::int32_t>(w.title.size()));
            if (length <= 0 || length == INT32_MAX) continue;
            std::string title = w.title.substr(0, static_cast<std::size_t>(length));
            if (w.copy_limit && title.size() > *w.copy_limit) title.resize(*w.copy_limit);
            title.resize(static_cast<std::size_t>(length), '\0');
            if (!needle.empty() && Upper(title).find(needle) != std::string::npos) found = &w;
        }
        return found;
    }

    std::string stream_;
    std::optional<std::uint32_t> error_at_end_;
    std::uint32_t close_error_;
    std::vector<mh::Window> windows_;
    std::size_t pos_ = 0;
};

// --- the input ----------------------------------------------------------------

const char* const kTitles[] = {
    "Untitled - Notepad", "Calculator",          "Notes - Editor", "notes", "",
    "\334BER uber",       "tab\there $19 // 25",
};

constexpr std::uint32_t kErrorCodes[] = {2, 3, 4, 5, 6, 23, 100, 101, 106, 1117};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);

    std::vector<mh::ReadStep> reads(input.ConsumeIntegralInRange<std::size_t>(0, 8));
    for (mh::ReadStep& step : reads) {
        const int kind = input.ConsumeIntegralInRange(0, 9);
        if (kind <= 6) step.max_bytes = input.ConsumeIntegralInRange<std::uint32_t>(0, 130);
        if (kind == 7) step.error = qv::kErrorBrokenPipe;
        if (kind == 8) step.error = input.PickValueInArray(kErrorCodes);
    }
    const std::uint32_t close_error = input.ConsumeBool() ? input.PickValueInArray(kErrorCodes) : 0;

    std::vector<mh::Window> windows;
    std::uint32_t handle = 0x10;
    for (const char* title : kTitles) {
        mh::Window w{handle, title, {100, 100, 900, 700}};
        handle += 0x10;
        const auto flags = input.ConsumeIntegral<std::uint8_t>();
        if (flags & 0x01) {
            w.rect = {input.ConsumeIntegral<std::int16_t>(), input.ConsumeIntegral<std::int16_t>(),
                      input.ConsumeIntegral<std::int16_t>(), input.ConsumeIntegral<std::int16_t>()};
        }
        if (flags & 0x02) {
            w.rect = {input.ConsumeIntegral<std::int32_t>(), input.ConsumeIntegral<std::int32_t>(),
                      input.ConsumeIntegral<std::int32_t>(), input.ConsumeIntegral<std::int32_t>()};
        }
        if (flags & 0x04) w.reported_length = input.ConsumeIntegralInRange(-2, 40);
        if (flags & 0x08) w.reported_length = INT32_MAX;
        if (flags & 0x10) w.copy_limit = input.ConsumeIntegralInRange<std::size_t>(0, 20);
        if (flags & 0x20) w.handle |= 0x80000000u;
        windows.push_back(w);
    }
    const std::string config = input.ConsumeRemainingBytesAsString();

    // What the reads deliver before the stream ends or fails.
    std::size_t delivered = 0;
    std::optional<std::uint32_t> error_at_end;
    bool ended = false;
    for (const mh::ReadStep& step : reads) {
        if (step.error != 0) {
            if (step.error != qv::kErrorBrokenPipe) error_at_end = step.error;
            ended = true;
            break;
        }
        const std::size_t count =
            std::min({std::size_t{128}, std::size_t{step.max_bytes}, config.size() - delivered});
        if (count == 0) {
            ended = true;
            break;
        }
        delivered += count;
    }
    if (!ended) delivered = config.size();

    const Prediction prediction =
        Model(config.substr(0, delivered), error_at_end, close_error, windows).Predict();

    mh::Reset();
    mh::State& host = mh::Host();
    host.module_path = "C:\\Tools\\quindarvel.exe";
    host.files["C:\\Tools\\quindarvel.cfg"] = {config, reads, close_error};
    host.windows = windows;
    const int status = qv::Run();

    Check(status == (prediction.failure ? 1 : 0), "exit status");

    // The significant calls, in order, end with the box when the run failed.
    std::vector<std::string> significant;
    bool read_ended = false;
    std::int64_t title_length = -1;
    for (const std::string& call : host.calls) {
        if (call.rfind("ReadFile ", 0) == 0) {
            Check(!read_ended, "a read after the end of data or a failed read: " + call);
            read_ended = call.find(" -> 0") != std::string::npos ||
                         call.find(" -> error") != std::string::npos;
        } else if (call.rfind("GetWindowTextLengthA ", 0) == 0) {
            title_length = -1;
            for (const mh::Window& w : windows) {
                if (call == "GetWindowTextLengthA " + Hex(w.handle)) {
                    title_length =
                        w.reported_length.value_or(static_cast<std::int32_t>(w.title.size()));
                }
            }
        } else if (call.rfind("GetWindowTextA ", 0) == 0) {
            Check(title_length > 0 &&
                      call.substr(call.rfind(' ') + 1) == std::to_string(title_length + 1),
                  "a title fetched with the wrong size: " + call);
        } else if (call.rfind("EnumWindows", 0) == 0 || call.rfind("GetWindowRect", 0) == 0 ||
                   call.rfind("SetWindowPos", 0) == 0 || call.rfind("CloseHandle", 0) == 0) {
            significant.push_back(call);
        }
    }
    if (significant != prediction.calls) {
        std::string detail = "host saw:";
        for (const auto& c : significant) detail += "\n  " + c;
        detail += "\nmodel says:";
        for (const auto& c : prediction.calls) detail += "\n  " + c;
        Fail(detail);
    }

    if (prediction.failure) {
        const std::size_t n = host.calls.size();
        Check(n >= 4 && host.calls[n - 4] == "GetModuleFileNameA 261" &&
                  host.calls[n - 3] == "IsDBCSEnabled" && host.calls[n - 2] == "GetModuleHandleA",
              "the report is not all that follows the failure");
        // The box's text, whatever the location of the failure in the image.
        const std::string& box = host.calls.back();
        const std::string head = "MessageBoxA 0x0 Exception " +
                                 std::string(qv::FailureKindName(prediction.failure->kind)) +
                                 " in module quindarvel.exe at ";
        Check(box.size() > head.size() + 8 && box.compare(0, head.size(), head) == 0,
              "the box: " + box);
        const std::string location = box.substr(head.size(), 8);
        Check(location.find_first_not_of("0123456789ABCDEF") == std::string::npos,
              "the box's location: " + box);
        std::string text =
            "Exception " + std::string(qv::FailureKindName(prediction.failure->kind)) +
            " in module quindarvel.exe at " + location + ".\n" + prediction.failure->message;
        if (!prediction.failure->message.empty() && prediction.failure->message.back() != '.') {
            text += '.';
        }
        if (text.size() > 1023) text.resize(1023);
        // The box takes its text as a C string, so it shows what comes before a NUL.
        text.resize(std::min(text.size(), text.find('\0')));
        Check(box == "MessageBoxA 0x0 " + text + " | Application Error 0x2010", "the box: " + box);
    } else {
        Check(host.calls.back() == "CloseHandle", "a normal run ends with the close");
    }
    return 0;
}
