// The engine's platform on Windows itself, for a program that needs one and
// no more: what it is made of stays in Win32Platform.
#pragma once

#include "runner/engine/Platform.h"

#include <memory>

namespace runner {

std::unique_ptr<Platform> NewWindowsPlatform();

}  // namespace runner
