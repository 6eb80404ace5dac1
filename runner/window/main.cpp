#include "RunnerApp.h"

// The application object.
CRunnerApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return fw::RunApplication();
}
