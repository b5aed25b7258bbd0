// The ending in the secret store room, which leads into the staff roll.
#pragma once

namespace quillorn {

void StartEndingScene();
void BuildEndingScript();

}  // namespace quillorn
