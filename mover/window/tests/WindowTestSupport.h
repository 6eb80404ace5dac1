// Forwards to the window-test support while it moves.
#include "TestSupport.h"
