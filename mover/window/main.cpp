#include "MoverApp.h"

// The application object.
CMoverApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return fw::RunApplication();
}
