#include <windows.h>

#include "app/MainForm.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return RunQuadsum(instance); }
