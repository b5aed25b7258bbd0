// The story: in the throne room the king asks for a snack, is refused, swallows a potion that
// makes him invisible, learns that it hides everybody from him as well, and sets off for his
// secret room of sweets. A new game follows at once.
#include "scenes/story.h"

#include <iterator>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "gameplay/room_picture.h"
#include "platform/platform.h"
#include "scenes/scene_script.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {

constexpr int32_t K = kKingActor;
constexpr int32_t Q = kQueenActor;

// One record per command, numbered as they run; the End is appended after them.
constexpr SceneCommand kStoryScript[] = {
    WaitMs(1000),             // 1: the still picture
    SlowWalk(K, kFaceDown),   // 2: the king steps off the throne to (7, 6)
    TurnTo(K, kFaceLeft),     // 3: he faces the queen
    SayLine(K, 1),            // 4
    TurnTo(Q, kFaceRight),    // 5: she faces the king
    SayLine(Q, 2),            // 6
    SayLine(K, 3),            // 7
    TurnTo(Q, kFaceDown),     // 8
    SayLine(Q, 4),            // 9
    Fidget(K, 4, 80),         // 10
    SayLine(K, 5),            // 11
    TurnTo(Q, kFaceLeft),     // 12: she turns away
    SayLine(Q, 6),            // 13
    Fidget(K, 4, 80),         // 14
    SayLine(K, 7),            // 15
    TurnTo(Q, kFaceRight),    // 16
    SayLine(Q, 8),            // 17
    SayLine(Q, 9),            // 18
    WaitMs(500),              // 19
    SayLine(K, 10),           // 20
    TurnTo(Q, kFaceDown),     // 21
    SayLine(Q, 11),           // 22
    WaitMs(500),              // 23
    SayLine(K, 12),           // 24
    TurnTo(Q, kFaceRight),    // 25
    SayLine(Q, 13),           // 26
    WaitMs(500),              // 27
    SayLine(K, 14),           // 28
    Fidget(K, 4, 80),         // 29: he eats the potion
    SayLine(K, 15),           // 30
    Fidget(Q, 4, 80),         // 31
    SayLine(Q, 16),           // 32
    SayLine(K, 17),           // 33
    SayLine(K, 18),           // 34
    Fidget(Q, 4, 80),         // 35
    SayLine(Q, 19),           // 36
    SayLine(K, 20),           // 37
    WaitMs(500),              // 38
    SayLine(Q, 21),           // 39
    SayLine(K, 22),           // 40
    BlinkSteps(K, 8, 200),    // 41: the king flickers and vanishes
    WaitMs(1000),             // 42
    Fidget(Q, 4, 80),         // 43
    SayLine(Q, 23),           // 44: the invisible king and the queen talk
    SayLine(K, 24),           // 45
    SayLine(Q, 25),           // 46
    SayLine(K, 26),           // 47
    SayLine(Q, 27),           // 48
    SayLine(K, 28),           // 49
    SayLine(K, 29),           // 50
    SayLine(Q, 30),           // 51
    SayLine(K, 31),           // 52
    SayLine(Q, 32),           // 53
    SayLine(K, 33),           // 54
    SayLine(Q, 34),           // 55
    SayLine(K, 35),           // 56
    SayLine(Q, 36),           // 57
    SayLine(Q, 37),           // 58
    SayLine(Q, 38),           // 59
    SayLine(Q, 39),           // 60
    SayLine(K, 40),           // 61
    SayLine(Q, 41),           // 62
    TurnTo(Q, kFaceDown),     // 63
    SlowWalk(Q, kFaceDown),   // 64
    SlowWalk(Q, kFaceDown),   // 65
    SlowWalk(Q, kFaceDown),   // 66
    SlowWalk(Q, kFaceDown),   // 67: (5, 10)
    SlowWalk(Q, kFaceRight),  // 68
    SlowWalk(Q, kFaceRight),  // 69: (7, 10)
    SlowWalk(Q, kFaceDown),   // 70
    SlowWalk(Q, kFaceDown),   // 71
    SlowWalk(Q, kFaceDown),   // 72: (7, 13), the doorway
    BlinkSteps(Q, 2, 10),     // 73: she is gone
    WaitMs(2000),             // 74: the room looks empty
    BlinkSteps(K, 1, 10),     // 75: the king shown again where he vanished, facing left
    WaitMs(2000),             // 76
    SayLine(K, 42),           // 77: the king alone
    SayLine(K, 43),           // 78
    SayLine(K, 44),           // 79
    SayLine(K, 45),           // 80
    SayLine(K, 46),           // 81
    SayLine(K, 47),           // 82
    WaitMs(1000),             // 83
    SayLine(K, 48),           // 84
    SayLine(K, 49),           // 85
    TurnTo(K, kFaceDown),     // 86: he faces the doorway
    WaitMs(1000),             // 87
    SayLine(K, 50),           // 88
    SlowWalk(K, kFaceDown),   // 89
    SlowWalk(K, kFaceDown),   // 90
    SlowWalk(K, kFaceDown),   // 91
    SlowWalk(K, kFaceDown),   // 92
    SlowWalk(K, kFaceDown),   // 93
    SlowWalk(K, kFaceDown),   // 94
    SlowWalk(K, kFaceDown),   // 95: (7, 13), the doorway
    BlinkSteps(K, 2, 10),     // 96: he is gone
};
static_assert(std::size(kStoryScript) + 1 == 97, "the story runs 97 commands, its End included");

}  // namespace

void StartStoryScene() {
  ClearSceneHandlers();
  StopAllSounds();
  ClearActors();
  currentRoom = 0;                       // the throne room
  PlaceActor(K, 0, 7, 5, kFaceDown, 1);  // on the throne
  PlaceActor(Q, 1, 5, 6, kFaceDown, 1);  // at his lower left, on the carpet's edge
  showHearts = 0;
  DrawRoomPicture();
  ComposeFrame();
  platform::InvalidateRect(nullptr);
  sceneHandlers.tickHandler = BuildStoryScript;
}

void BuildStoryScript() {
  ClearScript();
  AddSceneCommands(kStoryScript, std::size(kStoryScript), kStoryLines);
  scriptDoneHandler = StartGame;
  RunScript();
}

}  // namespace quillorn
