// The keys the game's window procedure gets, recorded on their way to it: put RecordingProc
// in the window's description in place of the game's own procedure.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "shell/main_window.h"

namespace quillorn::test {

using platform::kMsgKeyDown;
using platform::kMsgKeyUp;
using KeyList = std::vector<std::pair<uint32_t, uint32_t>>;  // (message, key)

inline KeyList recordedKeys;
inline std::pair<uint32_t, uint32_t> Down(uint32_t key) {
  return {kMsgKeyDown, key};
}
inline std::pair<uint32_t, uint32_t> Up(uint32_t key) {
  return {kMsgKeyUp, key};
}

inline int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (type == kMsgKeyDown || type == kMsgKeyUp) recordedKeys.push_back({type, wParam});
  return MainWindowProc(type, wParam, lParam);
}

}  // namespace quillorn::test
