// The Windows entry point of quindarvel.exe: a GUI-subsystem program that opens no
// window of its own; the command line is ignored.
#include <windows.h>

#include "run/run.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return quindarvel::Run(); }
