#include "shell/scene_handlers.h"

namespace quillorn {

SceneHandlers sceneHandlers;

void ClearSceneHandlers() {
  sceneHandlers = SceneHandlers();
}

}  // namespace quillorn
