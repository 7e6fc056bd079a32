// The start-up floor: a GUI-subsystem program that does nothing, built with the same
// toolchain and flags as quindarvel.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
