// The end-to-end tests' window maker and inspector, a Windows console program run
// under Wine beside quindarvel.exe. Protocol, one line each way on stdin/stdout:
//   window <left> <top> <width> <height> <visible 0|1> <popup|overlapped> <title hex>
//   go                 create the windows listed so far, in order; answers "ready"
//   dump               answers "win <i> <hwnd> <l> <t> <r> <b> <visible>" per own window,
//                      "top <hwnd> <l> <t> <r> <b>" per top-level window in enumeration
//                      order, "foreground <hwnd>", then "end"
//   box <ms>           waits up to <ms> for a top-level "Application Error" box, answers
//                      "box <text hex> <owner> <OK visible> <Cancel visible>" and presses
//                      OK; answers "nobox" when none came
//   hold <path hex>    opens the file for writing (sharing reading and writing) and keeps
//                      it open; answers "held" or "failed <error>"
//   churn <n> <hex>    a thread creates and destroys windows titled <prefix><number>,
//                      keeping n alive; answers "churning"
//   stop               ends the churn; answers "stopped <windows created>"
// The windows live until stdin ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Spec {
    int left, top, width, height, visible;
    std::string style;
    std::string title;
};

std::vector<HWND> g_windows;
DWORD g_main_thread = 0;

std::string FromHex(const char* hex) {
    std::string bytes;
    for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], '\0'};
        bytes.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return bytes;
}

unsigned long HandleValue(HWND hwnd) {
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd) & 0xFFFFFFFFu);
}

BOOL CALLBACK PrintTopLevel(HWND hwnd, LPARAM) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    std::printf("top %lx %ld %ld %ld %ld\n", HandleValue(hwnd), r.left, r.top, r.right, r.bottom);
    return TRUE;
}

void Dump() {
    for (std::size_t i = 0; i < g_windows.size(); ++i) {
        RECT r{};
        GetWindowRect(g_windows[i], &r);
        std::printf("win %u %lx %ld %ld %ld %ld %d\n", static_cast<unsigned>(i),
                    HandleValue(g_windows[i]), r.left, r.top, r.right, r.bottom,
                    IsWindowVisible(g_windows[i]) ? 1 : 0);
    }
    EnumWindows(PrintTopLevel, 0);
    std::printf("foreground %lx\nend\n", HandleValue(GetForegroundWindow()));
    std::fflush(stdout);
}

bool Shown(HWND box, int id) {
    HWND item = GetDlgItem(box, id);
    return item != nullptr && IsWindowVisible(item);
}

void AnswerBox(int timeout_ms) {
    HWND box = nullptr;
    for (int waited = 0; box == nullptr && waited <= timeout_ms; waited += 20) {
        box = FindWindowA("#32770", "Application Error");
        if (box == nullptr) Sleep(20);
    }
    if (box == nullptr) {
        std::printf("nobox\n");
        std::fflush(stdout);
        return;
    }
    // The message text is the static control with the id 0xFFFF.
    static char text[8192];
    text[0] = '\0';
    SendMessageA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::string hex;
    char pair[3];
    for (const char* p = text; *p != '\0'; ++p) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(*p));
        hex += pair;
    }
    std::printf("box %s %lx %d %d\n", hex.empty() ? "-" : hex.c_str(),
                HandleValue(GetWindow(box, GW_OWNER)), Shown(box, IDOK) ? 1 : 0,
                Shown(box, IDCANCEL) ? 1 : 0);
    std::fflush(stdout);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

void Hold(const char* hex) {
    const std::string path = FromHex(hex);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("failed %lu\n", GetLastError());
    } else {
        std::printf("held\n");
    }
    std::fflush(stdout);
}

struct Churn {
    std::string prefix;
    int alive = 0;
    volatile LONG stop = 0;
    long created = 0;
};
Churn g_churn;
HANDLE g_churn_thread = nullptr;

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

DWORD WINAPI ChurnWindows(LPVOID) {
    std::vector<HWND> windows;
    while (g_churn.stop == 0) {
        const std::string title = g_churn.prefix + std::to_string(g_churn.created++);
        windows.push_back(CreateWindowExA(0, "QuindarvelFixture", title.c_str(), WS_POPUP,
                                          (g_churn.created % 50) * 30, 600, 40, 40, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr));
        if (static_cast<int>(windows.size()) > g_churn.alive) {
            DestroyWindow(windows.front());
            windows.erase(windows.begin());
        }
        Pump();
    }
    for (HWND hwnd : windows) DestroyWindow(hwnd);
    Pump();
    return 0;
}

void StartChurn(const char* args) {
    char hex[512] = {};
    std::sscanf(args, "%d %511s", &g_churn.alive, hex);
    g_churn.prefix = FromHex(hex);
    g_churn_thread = CreateThread(nullptr, 0, ChurnWindows, nullptr, 0, nullptr);
    std::printf("churning\n");
    std::fflush(stdout);
}

void StopChurn() {
    InterlockedExchange(&g_churn.stop, 1);
    if (g_churn_thread != nullptr) WaitForSingleObject(g_churn_thread, INFINITE);
    std::printf("stopped %ld\n", g_churn.created);
    std::fflush(stdout);
}

DWORD WINAPI Commands(LPVOID) {
    static char line[4096];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::strncmp(line, "dump", 4) == 0) Dump();
        if (std::strncmp(line, "box ", 4) == 0) AnswerBox(std::atoi(line + 4));
        if (std::strncmp(line, "hold ", 5) == 0) Hold(std::strtok(line + 5, "\r\n"));
        if (std::strncmp(line, "churn ", 6) == 0) StartChurn(line + 6);
        if (std::strncmp(line, "stop", 4) == 0) StopChurn();
    }
    PostThreadMessageA(g_main_thread, WM_QUIT, 0, 0);
    return 0;
}

}  // namespace

int main() {
    g_main_thread = GetCurrentThreadId();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "QuindarvelFixture";
    RegisterClassA(&wc);

    std::vector<Spec> specs;
    char line[70000];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::strncmp(line, "go", 2) == 0) break;
        Spec spec;
        char style[32] = {};
        static char hex[70000];
        hex[0] = '\0';
        if (std::sscanf(line, "window %d %d %d %d %d %31s %69999s", &spec.left, &spec.top,
                        &spec.width, &spec.height, &spec.visible, style, hex) < 6) {
            std::fprintf(stderr, "fixture: bad line: %s", line);
            return 2;
        }
        spec.style = style;
        spec.title = FromHex(hex);
        specs.push_back(spec);
    }
    for (const Spec& spec : specs) {
        DWORD style = spec.style == "overlapped" ? WS_OVERLAPPEDWINDOW : WS_POPUP;
        HWND hwnd =
            CreateWindowExA(0, wc.lpszClassName, spec.title.c_str(), style, spec.left, spec.top,
                            spec.width, spec.height, nullptr, nullptr, wc.hInstance, nullptr);
        if (hwnd == nullptr) {
            std::fprintf(stderr, "fixture: CreateWindowExA failed: %lu\n", GetLastError());
            return 3;
        }
        // Exactly the rectangle asked for, whatever the style's creation defaults.
        SetWindowPos(hwnd, nullptr, spec.left, spec.top, spec.width, spec.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (spec.visible) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        g_windows.push_back(hwnd);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    CreateThread(nullptr, 0, Commands, nullptr, 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
