// The title screen: lettering, a row of hearts, a little room with the king in it, the key
// prompt and the four-item menu. A still picture with no tick handler.
#include "scenes/title_screen.h"

#include "gameplay/actors.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "scenes/instructions.h"
#include "scenes/story.h"
#include "script/message_box.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

int32_t titleMenuIndex = 0;
int32_t menuBeepCount = 0;

namespace {

constexpr int32_t kMenuItems = 4;
constexpr uint32_t kCursorBeepRate = 30000;
constexpr int32_t kHeartX = 64, kSmallSpriteY = 480;

// The room on the title screen, 9 x 9 tile numbers of the sheet.
constexpr uint8_t TitleRoomPicture[9][9] = {
    {119, 80, 80, 80, 80, 80, 80, 80, 119},
    {80, 80, 100, 100, 100, 43, 44, 80, 80},
    {80, 100, 59, 59, 108, 63, 64, 100, 80},
    {80, 59, 59, 1, 1, 1, 1, 1, 80},
    {80, 59, 1, 1, 54, 51, 54, 1, 80},
    {80, 1, 1, 1, 1, 1, 1, 1, 80},
    {80, 80, 1, 1, 1, 1, 1, 80, 80},
    {100, 80, 80, 80, 80, 80, 80, 80, 100},
    {119, 100, 100, 100, 100, 100, 100, 100, 119},
};

}  // namespace

void ShowTitleScreen() {
  ClearSceneHandlers();
  StopAllSounds();  // this ends the looped ending music of the staff roll
  ClearBackBuffer();
  CopySheetToBack(32, 32, 416, 64, 0, 544);  // the lettering
  for (int32_t i = 0; i < 9; ++i)
    DrawSpriteToBack(96 + 32 * i, 104, 32, 32, kHeartX, kSmallSpriteY);
  for (int32_t row = 0; row < 9; ++row) {
    for (int32_t column = 0; column < 9; ++column) {
      int32_t t = TitleRoomPicture[row][column];
      CopySheetToBack(96 + 32 * column, 160 + 32 * row, 32, 32, 32 * (t % 20), 32 * (t / 20));
    }
  }
  // The king in the middle of the room, drawn as play draws actors.
  DrawSpriteToBack(224, 288, 32, 32, 0, 480);
  DrawSpriteToBack(224, 284, 32, 32, 64, 192);
  CopySheetToBack(32, 448, 192, 64, 0, 608);  // PUSH SPACE KEY
  titleMenuIndex = 0;
  DrawTitleMenu();
  platform::InvalidateRect(nullptr);
  sceneHandlers.confirmKeyHandler = TitleConfirmKey;
  sceneHandlers.directionKeyHandler = TitleDirectionKey;
}

// Redrawing the box wipes the old cursor.
void DrawTitleMenu() {
  for (int32_t row = 0; row < 5; ++row)
    for (int32_t column = 0; column < 4; ++column)
      DrawSpriteToBack(320 + 32 * column, 320 + 32 * row, 32, 32, BoxTileX(row, column, 5, 4),
                       kSmallSpriteY);
  for (int32_t i = 0; i < kMenuItems; ++i)
    CopySheetToBack(352, 336 + 32 * i, 64, 32, 512, 192 + 32 * i);
  int32_t y = 332 + 32 * titleMenuIndex;
  DrawSpriteToBack(322, y, 32, 32, kHeartX, kSmallSpriteY);
  DrawSpriteToBack(416, y, 32, 32, kHeartX, kSmallSpriteY);
}

void TitleDirectionKey(int32_t direction) {
  if (direction != 0 && direction != 2) return;  // left and right do nothing at all
  menuBeepCount += 1;
  PlaySoundSlot(menuBeepCount % 2 != 0 ? 1 : 2, 0, kCursorBeepRate);
  platform::ShowSoundCue(platform::SoundCue::kVoice);
  titleMenuIndex += direction == 0 ? -1 : 1;
  if (titleMenuIndex < 0) titleMenuIndex = kMenuItems - 1;
  if (titleMenuIndex >= kMenuItems) titleMenuIndex = 0;
  DrawTitleMenu();
  platform::InvalidateRect(nullptr);
}

void TitleConfirmKey() {
  ClearSceneHandlers();
  switch (titleMenuIndex) {
    case 0:
      StartGame();
      break;
    case 1:
      StartStoryScene();
      break;
    case 2:
      StartInstructions();
      break;
    default:
      platform::PostMessage(platform::kMsgClose, 0, 0);
      break;
  }
}

}  // namespace quillorn
