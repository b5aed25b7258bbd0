// The readable sources of a recording: instruments (tone colour and envelope) and a score
// (output format, tempo, filters and the notes of each track).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

struct Partial {
  double ratio = 1;  // times the note's pitch
  double level = 1;
};

struct Instrument {
  std::string name;
  std::vector<Partial> partials;
  double attackMs = 5;  // raised-cosine rise
  double decayMs = 0;   // time constant of the fall towards sustain; 0: no fall
  double sustain = 1;
  double releaseMs = 20;  // raised-cosine fall after the note's length
  double damping = 0;     // partial of ratio r fades (r - 1) * damping nepers a second faster
  double vibratoHz = 0;
  double vibratoCents = 0;
  double vibratoDelayMs = 0;
  double detuneCents = 0;  // spread between the channels, half up and half down
};

struct Note {
  double start = 0;             // seconds
  double length = 0;            // seconds the note is held; the release follows
  std::vector<double> pitches;  // Hz; several for a chord, none for a rest
  double bendCents = 0;         // glide over the held length
  double level = 1;
};

struct Track {
  const Instrument* instrument = nullptr;
  double volume = 1;
  double pan = 0;  // -1 left .. 1 right
  std::vector<Note> notes;
};

struct Score {
  uint32_t rate = 22050;
  uint32_t bits = 16;
  uint32_t channels = 2;
  uint32_t frames = 0;
  bool loop = false;       // the end leads seamlessly into the start
  bool factChunk = false;  // 18-byte "fmt " followed by a "fact" chunk
  double tempo = 120;      // beats a minute
  int meter = 0;           // beats a bar, checked at each '|'; 0: unchecked
  double lowpassHz = 0;    // 0: none
  double peakDb = -1.5;    // the loudest sample, in dB below full scale
  uint32_t seed = 1;       // of the dither
  double echoMs = 0, echoFeedback = 0, echoMix = 0;
  std::vector<Track> tracks;
};

// Both exit the program with a message naming the file and line on any error.
std::vector<Instrument> ReadInstruments(const std::string& path);
Score ReadScore(const std::string& path, const std::vector<Instrument>& instruments);

}  // namespace synth
