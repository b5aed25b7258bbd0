// Resource lookup internals shared by the backends.
#pragma once

#include "platform/platform.h"

namespace quillorn::platform {

// A backend may put resources of its own in front of the embedded ones: the hook answers
// 1 (found, out filled), 0 (hidden: not found) or -1 (ask the embedded table).
using ResourceHook = int (*)(const char* type, const char* name, Resource& out);
void SetResourceHook(ResourceHook hook);

bool NamesEqual(const char* a, const char* b);  // ASCII, without regard to case

}  // namespace quillorn::platform
