// Web Audio as far as the browser backend's sound library uses it, for node: buffers
// keep their length, and each source started is noted by its buffer's length, so a
// test sees which wave a sound played.
globalThis.startedBufferLengths = [];

class FakeNode {
  connect() {}
}

globalThis.AudioContext = class {
  constructor() {
    this.currentTime = 0;
    this.destination = new FakeNode();
  }
  createGain() {
    return Object.assign(new FakeNode(), { gain: { value: 1 } });
  }
  createChannelMerger() {
    return new FakeNode();
  }
  createBuffer(channels, length, rate) {
    return { length, duration: length / rate, copyToChannel() {} };
  }
  createBufferSource() {
    const source = new FakeNode();
    source.start = () => globalThis.startedBufferLengths.push(source.buffer.length);
    source.stop = () => {};
    return source;
  }
  close() {}
};
