#include "RunnerApp.h"

// The application object.
runner::CRunnerApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return fw::RunApplication();
}
