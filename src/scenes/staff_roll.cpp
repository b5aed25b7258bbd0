// Not built yet: until the scene arrives, starting it shows the title screen.
#include "scenes/staff_roll.h"

#include "scenes/title_screen.h"

namespace quillorn {

void StartStaffRoll() {
  ShowTitleScreen();
}

void StaffRollTick() {}

void DrawStaffRoll() {}

}  // namespace quillorn
