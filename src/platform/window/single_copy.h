// Single-copy lock internals.
#pragma once

#include <string>

#include "platform/backend.h"

namespace quillorn::platform {

bool ClaimSingleCopyOn(const char* className, const std::string& display);
void ReleaseSingleCopy();

}  // namespace quillorn::platform
