// The floor for a zoom run: only the host calls that no program doing this job can
// avoid, with as little work between them as possible. The module path, one open,
// the reads and the close; then per entry one EnumWindows with a title length query
// and a title fetch for each titled window, and for the match one rectangle query and
// one placement. It trusts its input (CR LF lines, plain decimal percentages) and
// does no checking, so it is a lower bound, not a replacement.
#include <windows.h>

namespace {

char g_data[1 << 20];
char g_title[1 << 16];

struct Lookup {
    const char* pattern;  // upper-cased
    int length;
    HWND result;
};

void Upper(char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 0x20);
    }
}

bool Contains(const char* title, int title_length, const char* pattern, int length) {
    for (int i = 0; i + length <= title_length; ++i) {
        int j = 0;
        while (j < length && title[i + j] == pattern[j]) ++j;
        if (j == length) return true;
    }
    return false;
}

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    Lookup* lookup = reinterpret_cast<Lookup*>(param);
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0 || length >= static_cast<int>(sizeof g_title)) return TRUE;
    GetWindowTextA(hwnd, g_title, length + 1);
    Upper(g_title, length);
    if (Contains(g_title, length, lookup->pattern, lookup->length)) lookup->result = hwnd;
    return TRUE;
}

// The next CR LF line from *at, NUL-terminated in place.
char* NextLine(char** at, char* end, int* length) {
    char* line = *at;
    char* p = line;
    while (p < end && *p != '\r') ++p;
    *length = static_cast<int>(p - line);
    *p = '\0';
    *at = p + 2 <= end ? p + 2 : end;
    return line;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    while (n > 0 && path[n - 1] != '\\') --n;
    lstrcpyA(path + n, "quindarvel.cfg");
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD total = 0, got = 0;
    while (ReadFile(file, g_data + total, sizeof g_data - 1 - total, &got, nullptr) && got > 0) {
        total += got;
    }
    CloseHandle(file);

    char* at = g_data;
    char* end = g_data + total;
    while (at < end) {
        int pattern_length = 0, text_length = 0;
        char* pattern = NextLine(&at, end, &pattern_length);
        char* text = NextLine(&at, end, &text_length);
        int percentage = 0;
        bool negative = *text == '-';
        for (char* p = text + (negative ? 1 : 0); *p >= '0' && *p <= '9'; ++p) {
            percentage = percentage * 10 + (*p - '0');
        }
        if (negative) percentage = -percentage;
        Upper(pattern, pattern_length);
        Lookup lookup{pattern, pattern_length, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&lookup));
        if (lookup.result == nullptr) continue;
        RECT r;
        GetWindowRect(lookup.result, &r);
        int gx = MulDiv(r.right - r.left, percentage, 100);
        int gy = MulDiv(r.bottom - r.top, percentage, 100);
        SetWindowPos(lookup.result, nullptr, r.left - gx / 2, r.top - gy / 2, r.right - r.left + gx,
                     r.bottom - r.top + gy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    }
    return 0;
}
