// A bare window on the headless backend whose procedure records what reaches it, for
// watching the menu bar and dialogs route input.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::test {

inline std::vector<platform::Message>& Received() {
  static std::vector<platform::Message> received;
  return received;
}

inline int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (type != platform::kMsgPaint) Received().push_back({type, wParam, lParam});
  return platform::DefWindowProc(type, wParam, lParam);
}

// A 480 x 512 window with the given menu, shown, with a 54 ms timer 1.
inline void OpenRecordingWindow(const char* menuName = "menu") {
  headless::Reset(1000);
  platform::WindowDesc desc;
  desc.className = "QuillornTest";
  desc.title = "QuillornTest";
  desc.clientWidth = 480;
  desc.clientHeight = 512;
  desc.menuName = menuName;
  desc.proc = RecordingProc;
  platform::CreateMainWindow(desc);
  platform::ShowMainWindow();
  platform::SetTimer(1, 54);
  headless::Pump();
  Received().clear();
}

// The messages of one type that reached the window, by wParam.
inline std::vector<uint32_t> ReceivedOf(uint32_t type) {
  std::vector<uint32_t> out;
  for (const platform::Message& m : Received())
    if (m.type == type) out.push_back(m.wParam);
  return out;
}

}  // namespace quillorn::test
