// The instructions page: three hints, and a confirm key back to the title.
#pragma once

namespace quillorn {

void StartInstructions();

}  // namespace quillorn
