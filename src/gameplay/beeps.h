// The proximity beep: faster and higher as the nearest person comes closer.
#pragma once

namespace quillorn {

void BeepTick();

}  // namespace quillorn
