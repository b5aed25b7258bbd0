#include "scenes/scene_script.h"

namespace quillorn {

void AddSceneCommands(const SceneCommand* commands, size_t count, const ScreenplayLine* lines) {
  for (size_t i = 0; i < count; ++i) {
    const SceneCommand& c = commands[i];
    const char* text = c.type == Say ? lines[c.line - 1].text : "";
    AddScriptCommand(c.type, c.actor, c.count, c.facing, c.ms, text);
  }
  AddScriptCommand(End, 0, 0, 0, 0, "");
}

}  // namespace quillorn
