// Reading instruments and scores. Both are line-based; a '#' that begins a word starts a
// comment.
//
// A note is PITCH:LENGTH, optionally followed by ~CENTS (a glide over the note) and
// @LEVEL. PITCH is a name such as C4, F#5 or Bb3 (A4 = 440 Hz), a frequency such as 1500hz,
// several names joined by '+' for a chord, or r for a rest. LENGTH is w, h, q, e, s or t
// (4, 2, 1, 1/2, 1/4, 1/8 beats), with a trailing d for dotted, a number of beats, or a
// time such as 30ms. A '|' marks a bar line; the beats since the last one must fill a bar.
#include "score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace synth {
namespace {

struct Line {
  int number;
  std::vector<std::string> words;
};

[[noreturn]] void Fail(const std::string& path, int line, const std::string& message) {
  std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), line, message.c_str());
  std::exit(1);
}

std::vector<Line> ReadLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail(path, 0, "cannot read");
  std::vector<Line> lines;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    // '#' after a space or at the start begins a comment; inside a word it is a sharp.
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
        text.resize(i);
        break;
      }
    }
    std::istringstream words(text);
    Line line{number, {}};
    for (std::string w; words >> w;) line.words.push_back(w);
    if (!line.words.empty()) lines.push_back(line);
  }
  return lines;
}

bool ToNumber(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

double Number(const std::string& path, const Line& line, size_t index) {
  double v;
  if (index >= line.words.size() || !ToNumber(line.words[index], v)) {
    Fail(path, line.number, "expected a number after '" + line.words[0] + "'");
  }
  return v;
}

// Hz of a note name, or -1.
double NoteFrequency(const std::string& name) {
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
  int semitone = kSemitone[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#')
    semitone += 1, ++i;
  else if (name[i] == 'b')
    semitone -= 1, ++i;
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '9') return -1;
  int midi = 12 * (name[i] - '0' + 1) + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

}  // namespace

std::vector<Instrument> ReadInstruments(const std::string& path) {
  std::vector<Instrument> out;
  for (const Line& line : ReadLines(path)) {
    const std::string& key = line.words[0];
    if (key == "instrument") {
      if (line.words.size() != 2) Fail(path, line.number, "instrument takes a name");
      out.push_back({});
      out.back().name = line.words[1];
      continue;
    }
    if (out.empty()) Fail(path, line.number, "settings before the first instrument");
    Instrument& in = out.back();
    if (key == "partial") {
      in.partials.push_back({Number(path, line, 1), Number(path, line, 2)});
    } else if (key == "attack") {
      in.attackMs = Number(path, line, 1);
    } else if (key == "decay") {
      in.decayMs = Number(path, line, 1);
    } else if (key == "sustain") {
      in.sustain = Number(path, line, 1);
    } else if (key == "release") {
      in.releaseMs = Number(path, line, 1);
    } else if (key == "damping") {
      in.damping = Number(path, line, 1);
    } else if (key == "vibrato") {
      in.vibratoHz = Number(path, line, 1);
      in.vibratoCents = Number(path, line, 2);
      in.vibratoDelayMs = Number(path, line, 3);
    } else if (key == "detune") {
      in.detuneCents = Number(path, line, 1);
    } else {
      Fail(path, line.number, "unknown setting '" + key + "'");
    }
    if (in.attackMs <= 0 || in.releaseMs <= 0) {
      Fail(path, line.number, "attack and release must be longer than 0 ms");
    }
  }
  for (const Instrument& in : out) {
    if (in.partials.empty()) Fail(path, 0, "instrument '" + in.name + "' has no partial");
  }
  return out;
}

Score ReadScore(const std::string& path, const std::vector<Instrument>& instruments) {
  Score score;
  double beat = 0.5;  // seconds
  double time = 0, barStart = 0;
  for (const Line& line : ReadLines(path)) {
    const std::string& key = line.words[0];
    if (key == "track") {
      if (line.words.size() < 2) Fail(path, line.number, "track takes an instrument");
      Track track;
      for (const Instrument& in : instruments) {
        if (in.name == line.words[1]) track.instrument = &in;
      }
      if (!track.instrument) Fail(path, line.number, "no instrument '" + line.words[1] + "'");
      time = 0;
      for (size_t i = 2; i < line.words.size(); i += 2) {
        const std::string& option = line.words[i];
        double value = Number(path, line, i + 1);
        if (option == "volume")
          track.volume = value;
        else if (option == "pan")
          track.pan = value;
        else if (option == "start")
          time = value * beat;
        else
          Fail(path, line.number, "unknown track option '" + option + "'");
      }
      barStart = time;
      score.tracks.push_back(track);
      continue;
    }
    if (score.tracks.empty()) {
      if (key == "rate")
        score.rate = static_cast<uint32_t>(Number(path, line, 1));
      else if (key == "bits")
        score.bits = static_cast<uint32_t>(Number(path, line, 1));
      else if (key == "channels")
        score.channels = static_cast<uint32_t>(Number(path, line, 1));
      else if (key == "frames")
        score.frames = static_cast<uint32_t>(Number(path, line, 1));
      else if (key == "loop")
        score.loop = Number(path, line, 1) != 0;
      else if (key == "fact")
        score.factChunk = Number(path, line, 1) != 0;
      else if (key == "tempo")
        score.tempo = Number(path, line, 1), beat = 60.0 / score.tempo;
      else if (key == "meter")
        score.meter = static_cast<int>(Number(path, line, 1));
      else if (key == "lowpass")
        score.lowpassHz = Number(path, line, 1);
      else if (key == "peak")
        score.peakDb = Number(path, line, 1);
      else if (key == "seed")
        score.seed = static_cast<uint32_t>(Number(path, line, 1));
      else if (key == "echo") {
        score.echoMs = Number(path, line, 1);
        score.echoFeedback = Number(path, line, 2);
        score.echoMix = Number(path, line, 3);
      } else {
        Fail(path, line.number, "unknown setting '" + key + "'");
      }
      continue;
    }
    // A line of notes for the current track.
    Track& track = score.tracks.back();
    for (const std::string& word : line.words) {
      if (word == "|") {
        double beats = (time - barStart) / beat;
        if (score.meter && std::fabs(beats - score.meter) > 1e-6) {
          Fail(path, line.number, "a bar of " + std::to_string(beats) + " beats");
        }
        barStart = time;
        continue;
      }
      Note note;
      std::string text = word;
      size_t at = text.find('@');
      if (at != std::string::npos) {
        if (!ToNumber(text.substr(at + 1), note.level)) Fail(path, line.number, "bad level");
        text.resize(at);
      }
      size_t tilde = text.find('~');
      if (tilde != std::string::npos) {
        if (!ToNumber(text.substr(tilde + 1), note.bendCents)) {
          Fail(path, line.number, "bad glide in '" + word + "'");
        }
        text.resize(tilde);
      }
      size_t colon = text.find(':');
      if (colon == std::string::npos) Fail(path, line.number, "no length in '" + word + "'");
      std::string pitch = text.substr(0, colon), length = text.substr(colon + 1);

      static const std::map<char, double> kLengths = {{'w', 4},   {'h', 2},    {'q', 1},
                                                      {'e', 0.5}, {'s', 0.25}, {'t', 0.125}};
      double value;
      if (length.size() > 2 && length.substr(length.size() - 2) == "ms" &&
          ToNumber(length.substr(0, length.size() - 2), value)) {
        note.length = value / 1000;
      } else if (ToNumber(length, value)) {
        note.length = value * beat;
      } else if (!length.empty() && kLengths.count(length[0]) &&
                 (length.size() == 1 || length == std::string(1, length[0]) + "d")) {
        note.length = kLengths.at(length[0]) * beat * (length.size() == 2 ? 1.5 : 1);
      } else {
        Fail(path, line.number, "bad length in '" + word + "'");
      }

      if (pitch != "r") {
        std::stringstream parts(pitch);
        for (std::string part; std::getline(parts, part, '+');) {
          double hz = NoteFrequency(part);
          if (part.size() > 2 && part.substr(part.size() - 2) == "hz") {
            if (!ToNumber(part.substr(0, part.size() - 2), hz)) hz = -1;
          }
          if (hz <= 0) Fail(path, line.number, "bad pitch '" + part + "'");
          note.pitches.push_back(hz);
        }
      }
      note.start = time;
      time += note.length;
      if (!note.pitches.empty()) track.notes.push_back(note);
    }
  }
  if (score.frames == 0) Fail(path, 0, "no frame count");
  if ((score.bits != 8 && score.bits != 16) || (score.channels != 1 && score.channels != 2)) {
    Fail(path, 0, "only 8- or 16-bit, mono or stereo");
  }
  if (!score.loop && score.echoMs > 0) Fail(path, 0, "an echo would be cut off at the end");
  return score;
}

}  // namespace synth
