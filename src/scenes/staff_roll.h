// The staff roll: the cast walks back and forth below the credits while the music loops.
#pragma once

namespace quillorn {

void StartStaffRoll();
void StaffRollTick();
void DrawStaffRoll();

}  // namespace quillorn
