// synth INSTRUMENTS SCORE OUT.wav
// Renders one recording from its readable score and writes it as a WAVE file: a 16-byte
// "fmt " chunk then "data", or, when the score asks for it, an 18-byte "fmt " chunk, a
// 4-byte "fact" chunk holding the frame count, then "data".
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render.h"
#include "score.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutId(std::vector<uint8_t>& out, const char* id) {
  out.insert(out.end(), id, id + 4);
}

std::vector<uint8_t> WaveFile(const synth::Score& score, const std::vector<uint8_t>& data) {
  const uint32_t blockAlign = score.channels * score.bits / 8;
  const uint32_t formatSize = score.factChunk ? 18 : 16;
  const uint32_t size = static_cast<uint32_t>(data.size());
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, 4 + 8 + formatSize + (score.factChunk ? 12 : 0) + 8 + size + (size & 1));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, formatSize);
  Put16(out, 1);  // integer PCM
  Put16(out, score.channels);
  Put32(out, score.rate);
  Put32(out, score.rate * blockAlign);
  Put16(out, blockAlign);
  Put16(out, score.bits);
  if (score.factChunk) {
    Put16(out, 0);  // no extra format bytes
    PutId(out, "fact");
    Put32(out, 4);
    Put32(out, score.frames);
  }
  PutId(out, "data");
  Put32(out, size);
  out.insert(out.end(), data.begin(), data.end());
  if (size & 1) out.push_back(0);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: synth INSTRUMENTS SCORE OUT.wav\n");
    return 2;
  }
  std::vector<synth::Instrument> instruments = synth::ReadInstruments(argv[1]);
  synth::Score score = synth::ReadScore(argv[2], instruments);
  std::vector<uint8_t> file = WaveFile(score, synth::Render(score, argv[2]));
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) {
    std::fprintf(stderr, "synth: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
