// The AudioWorklet's processor (quillorn-sound.js in the page): it runs the mixer's own module,
// quillorn-sound.wasm, which the page sends compiled, makes in it the game's calls in the order
// the page sends them, and plays each block the module mixes. It tells the page which voices
// came to their end, and it allocates nothing while it plays but that news.
class QuillornSound extends AudioWorkletProcessor {
  constructor() {
    super();
    this.mixer = null;  // the module's exports
    this.applied = 0;  // calls made so far
    this.heap = null;  // a view of the module's memory, renewed when the memory grows
    this.port.onmessage = (e) => this.receive(e.data);
  }

  receive(m) {
    if (m.module) {
      try {
        const imports = {
          env: {emscripten_notify_memory_growth: () => {}},
          wasi_snapshot_preview1: {proc_exit: (code) => { throw new Error('exit ' + code); }},
        };
        const mixer = new WebAssembly.Instance(m.module, imports).exports;
        mixer._initialize();
        mixer.sound_start(m.rate);
        this.mixer = mixer;
      } catch (e) {
        this.port.postMessage({failed: String(e)});
      }
      return;
    }
    const x = this.mixer;
    if (!x) return;
    if (m.bytes) {
      const at = x.sound_recording(m.bytes.byteLength, ...m.format);
      new Uint8Array(x.memory.buffer, at, m.bytes.byteLength).set(new Uint8Array(m.bytes));
    }
    const [kind, buffer, value] = m.call;
    ++this.applied;
    // The page's mixer made the same call; both must come to the same buffer.
    const got = x.sound_call(kind, buffer, value) >>> 0;
    if (got !== buffer) this.port.postMessage({wrong: `call ${kind} gave buffer ${got}, not ${buffer}`});
  }

  process(inputs, outputs) {
    const x = this.mixer, out = outputs[0];
    if (!x) return true;  // silence until the module runs
    const frames = out[0].length;
    const at = x.sound_render(frames) >> 2;
    if (!this.heap || this.heap.buffer !== x.memory.buffer) this.heap = new Float32Array(x.memory.buffer);
    for (let i = 0; i < frames; ++i) {
      out[0][i] = this.heap[at + i];
      out[1][i] = this.heap[at + frames + i];
    }
    const ended = x.sound_ended_count();
    if (ended) {
      const list = new Uint32Array(x.memory.buffer, x.sound_ended(), ended).slice();
      this.port.postMessage({ended: list, applied: this.applied});
    }
    return true;
  }
}

registerProcessor('quillorn-sound', QuillornSound);
