// The ending: the king reaches his secret store room, greets his sweets and eats while he
// grumbles about the queen, who has come in behind him. She confiscates everything and has
// two guards throw him out. The staff roll follows at once.
#include "scenes/ending.h"

#include <iterator>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "gameplay/room_picture.h"
#include "platform/platform.h"
#include "scenes/scene_script.h"
#include "scenes/staff_roll.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {

constexpr int32_t K = kKingActor;
constexpr int32_t Q = kQueenActor;
constexpr int32_t G1 = kGuard1Actor;
constexpr int32_t G2 = kGuard2Actor;

constexpr int32_t kGuardType = 3;

// One record per command, numbered as they run; the comments give where a walk ends.
// The End is appended after them.
constexpr SceneCommand kEndingScript[] = {
    WaitMs(1000),              // 1: the still picture
    SlowWalk(K, kFaceUp),      // 2: (7, 10)
    SayLine(K, 1),             // 3
    SlowWalk(K, kFaceUp),      // 4
    SlowWalk(K, kFaceUp),      // 5
    SlowWalk(K, kFaceUp),      // 6: (7, 7)
    TurnTo(K, kFaceLeft),      // 7
    SayLine(K, 2),             // 8
    SlowWalk(K, kFaceLeft),    // 9: (6, 7)
    SlowWalk(K, kFaceUp),      // 10: (6, 6), below the candy jars
    SayLine(K, 3),             // 11
    SlowWalk(K, kFaceLeft),    // 12: (5, 6)
    TurnTo(K, kFaceUp),        // 13: the cake stand
    SayLine(K, 4),             // 14
    TurnTo(K, kFaceLeft),      // 15: the cookie jar
    SayLine(K, 5),             // 16
    TurnTo(K, kFaceDown),      // 17
    Fidget(K, 8, 80),          // 18: he jigs with delight
    SayLine(K, 6),             // 19
    SlowWalk(K, kFaceDown),    // 20: (5, 7)
    SlowWalk(K, kFaceLeft),    // 21: (4, 7), by the pudding
    SayLine(K, 7),             // 22
    SlowWalk(K, kFaceRight),   // 23
    SlowWalk(K, kFaceRight),   // 24
    SlowWalk(K, kFaceRight),   // 25: (7, 7)
    TurnTo(K, kFaceRight),     // 26
    WaitMs(1000),              // 27
    Fidget(K, 2, 80),          // 28: he eats
    SayLine(K, 8),             // 29
    Fidget(K, 2, 80),          // 30
    SayLine(K, 9),             // 31
    Fidget(K, 2, 80),          // 32
    SayLine(K, 10),            // 33
    SayLine(K, 11),            // 34
    Fidget(K, 2, 80),          // 35
    SayLine(K, 12),            // 36
    SayLine(K, 13),            // 37
    Fidget(K, 2, 80),          // 38
    SayLine(K, 14),            // 39
    SayLine(K, 15),            // 40
    Fidget(K, 2, 80),          // 41
    SayLine(K, 16),            // 42
    BlinkSteps(Q, 1, 10),      // 43: the queen comes into view in the entrance, (7, 12)
    SayLine(K, 17),            // 44
    Fidget(K, 2, 80),          // 45
    SayLine(K, 18),            // 46
    SayLine(K, 19),            // 47
    Fidget(K, 2, 80),          // 48
    SayLine(K, 20),            // 49
    Fidget(K, 2, 80),          // 50
    SayLine(K, 21),            // 51
    SlowWalk(Q, kFaceUp),      // 52: (7, 11)
    Fidget(Q, 2, 80),          // 53
    SayLine(Q, 22),            // 54
    TurnTo(K, kFaceDown),      // 55: he turns to face her
    Fidget(K, 8, 8),           // 56: he starts, one toggle a tick
    SayLine(K, 23),            // 57
    FastWalk(K, kFaceUp),      // 58
    FastWalk(K, kFaceUp),      // 59: (7, 5)
    FastWalk(K, kFaceRight),   // 60: (8, 5)
    FastWalk(K, kFaceDown),    // 61: (8, 6)
    FastWalk(K, kFaceLeft),    // 62: (7, 6), round a small square
    TurnTo(K, kFaceDown),      // 63
    SlowWalk(Q, kFaceUp),      // 64
    SlowWalk(Q, kFaceUp),      // 65
    SlowWalk(Q, kFaceUp),      // 66: (7, 8)
    SayLine(Q, 24),            // 67
    SlowWalk(K, kFaceUp),      // 68: (7, 5)
    TurnTo(K, kFaceDown),      // 69
    SlowWalk(Q, kFaceUp),      // 70
    SlowWalk(Q, kFaceUp),      // 71: (7, 6)
    SayLine(Q, 25),            // 72
    SlowWalk(K, kFaceRight),   // 73: (8, 5)
    TurnTo(K, kFaceLeft),      // 74
    SlowWalk(Q, kFaceUp),      // 75: (7, 5)
    TurnTo(Q, kFaceRight),     // 76: face to face
    SayLine(Q, 26),            // 77
    SlowWalk(K, kFaceDown),    // 78: (8, 6)
    TurnTo(K, kFaceUp),        // 79
    SlowWalk(Q, kFaceRight),   // 80: (8, 5)
    TurnTo(Q, kFaceDown),      // 81
    SayLine(K, 27),            // 82
    SlowWalk(K, kFaceLeft),    // 83: (7, 6)
    TurnTo(K, kFaceRight),     // 84
    SlowWalk(Q, kFaceDown),    // 85: (8, 6)
    TurnTo(Q, kFaceLeft),      // 86
    SayLine(Q, 28),            // 87
    SlowWalk(K, kFaceDown),    // 88
    SlowWalk(K, kFaceDown),    // 89: (7, 8)
    TurnTo(K, kFaceUp),        // 90
    SlowWalk(Q, kFaceLeft),    // 91: (7, 6)
    TurnTo(Q, kFaceDown),      // 92
    SayLine(Q, 29),            // 93
    Fidget(K, 4, 80),          // 94
    SayLine(K, 30),            // 95
    Fidget(Q, 2, 80),          // 96
    SayLine(Q, 31),            // 97: she calls the guards
    BlinkSteps(G1, 1, 10),     // 98: a guard comes into view in the entrance
    FastWalk(G1, kFaceUp),     // 99
    FastWalk(G1, kFaceUp),     // 100: (7, 10)
    FastWalk(G1, kFaceLeft),   // 101: (6, 10)
    TurnTo(G1, kFaceUp),       // 102
    BlinkSteps(G2, 1, 10),     // 103: the second guard comes into view
    FastWalk(G2, kFaceUp),     // 104
    FastWalk(G2, kFaceUp),     // 105: (7, 10)
    FastWalk(G2, kFaceRight),  // 106: (8, 10)
    TurnTo(G2, kFaceUp),       // 107
    Fidget(G1, 2, 80),         // 108
    SayLine(G1, 32),           // 109
    Fidget(Q, 2, 80),          // 110
    SayLine(Q, 33),            // 111
    Fidget(G1, 2, 80),         // 112
    SayLine(G1, 34),           // 113
    FastWalk(G1, kFaceUp),     // 114
    FastWalk(G1, kFaceUp),     // 115: (6, 8), left of the king
    TurnTo(G1, kFaceRight),    // 116
    TurnTo(K, kFaceLeft),      // 117
    FastWalk(G2, kFaceUp),     // 118
    FastWalk(G2, kFaceUp),     // 119: (8, 8), right of the king
    TurnTo(G2, kFaceLeft),     // 120
    TurnTo(K, kFaceRight),     // 121
    WaitMs(1000),              // 122
    FastWalk(K, kFaceDown),    // 123: (7, 9)
    FastWalk(G1, kFaceRight),  // 124: (7, 8)
    TurnTo(G1, kFaceDown),     // 125
    WaitMs(1000),              // 126
    TurnTo(K, kFaceUp),        // 127
    Fidget(K, 8, 80),          // 128
    SayLine(K, 35),            // 129
    Fidget(Q, 2, 80),          // 130
    SayLine(Q, 36),            // 131
    FastWalk(K, kFaceDown),    // 132: (7, 10)
    FastWalk(G1, kFaceDown),   // 133: (7, 9)
    FastWalk(G2, kFaceLeft),   // 134: (7, 8)
    TurnTo(G2, kFaceDown),     // 135
    WaitMs(1000),              // 136
    TurnTo(K, kFaceUp),        // 137
    Fidget(K, 8, 80),          // 138
    SayLine(K, 37),            // 139
    Fidget(Q, 2, 80),          // 140
    SayLine(Q, 38),            // 141
    FastWalk(K, kFaceDown),    // 142: (7, 11)
    FastWalk(G1, kFaceDown),   // 143: (7, 10)
    FastWalk(G2, kFaceDown),   // 144: (7, 9)
    WaitMs(1000),              // 145
    TurnTo(K, kFaceUp),        // 146
    Fidget(K, 8, 80),          // 147
    SayLine(K, 39),            // 148
    Fidget(K, 8, 80),          // 149
    SayLine(K, 40),            // 150
    FastWalk(K, kFaceDown),    // 151: (7, 12)
    FastWalk(G1, kFaceDown),   // 152: (7, 11)
    FastWalk(G2, kFaceDown),   // 153: (7, 10)
    FastWalk(K, kFaceDown),    // 154: (7, 13)
    BlinkSteps(K, 2, 10),      // 155: the king is gone
    FastWalk(G1, kFaceDown),   // 156: (7, 12)
    FastWalk(G2, kFaceDown),   // 157: (7, 11)
    FastWalk(G1, kFaceDown),   // 158: (7, 13)
    BlinkSteps(G1, 2, 10),     // 159: gone
    FastWalk(G2, kFaceDown),   // 160
    FastWalk(G2, kFaceDown),   // 161: (7, 13)
    BlinkSteps(G2, 2, 10),     // 162: gone; the queen stands alone
    WaitMs(1000),              // 163
    SayLine(K, 41),            // 164: from outside, the king not shown
    WaitMs(2000),              // 165
};
static_assert(std::size(kEndingScript) + 1 == 166,
              "the ending runs 166 commands, its End included");

}  // namespace

void StartEndingScene() {
  ClearSceneHandlers();
  StopAllSounds();  // whatever beep of play was still sounding
  ClearActors();
  currentRoom = 31;                     // the secret store room
  PlaceActor(K, 0, 7, 11, kFaceUp, 1);  // just inside the entrance
  // The queen and both guards wait hidden in the entrance passage until each is blinked in.
  PlaceActor(Q, 1, 7, 12, kFaceUp, 0);
  PlaceActor(G1, kGuardType, 7, 12, kFaceUp, 0);
  PlaceActor(G2, kGuardType, 7, 12, kFaceUp, 0);
  showHearts = 0;
  DrawRoomPicture();
  ComposeFrame();
  platform::InvalidateRect(nullptr);
  sceneHandlers.tickHandler = BuildEndingScript;
}

void BuildEndingScript() {
  ClearScript();
  AddSceneCommands(kEndingScript, std::size(kEndingScript), kEndingLines);
  scriptDoneHandler = StartStaffRoll;
  RunScript();
}

}  // namespace quillorn
