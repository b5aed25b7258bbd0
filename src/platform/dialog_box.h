// The modal dialog, laid out from a DIALOG resource and drawn by the platform.
#pragma once

#include <cstdint>

namespace quillorn::platform {

bool DialogIsOpen();
const char* DialogOpenName();
void DialogReset();
// True when an open dialog took the key.
bool DialogKey(bool down, uint32_t key);

}  // namespace quillorn::platform
