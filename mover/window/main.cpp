#include "MoverApp.h"

// The application object.
mover::CMoverApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return fw::RunApplication();
}
