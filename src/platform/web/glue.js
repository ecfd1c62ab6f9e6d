// What the web backend asks of the page: the canvas, the cursor, full screen and Web Audio.
// Runs inside the module's script, so it sees the module's memory views.
Module.cellstormShow = function (ptr, width, height) {
  const canvas = Module.canvas;
  if (!canvas) return;
  if (!Module.cellstormContext) {
    Module.cellstormContext = canvas.getContext('2d', { alpha: false });
  }
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4);
  Module.cellstormContext.putImageData(new ImageData(pixels, width, height), 0, 0);
};

Module.cellstormCursor = function (visible) {
  if (Module.canvas) Module.canvas.style.cursor = visible ? '' : 'none';
};

Module.cellstormToggleFullscreen = function () {
  if (Module.toggleFullscreen) Module.toggleFullscreen();
};

Module.cellstormEnded = function () {
  if (Module.onGameEnded) Module.onGameEnded();
};

// Sound: one mono script processor pulling the mixer. Browsers keep an audio context
// suspended until the player's first key or click on the page; it is resumed then.
Module.cellstormAudio = { context: null, node: null, rendered: 0, audible: 0 };

Module.cellstormOpenAudio = function () {
  const audio = Module.cellstormAudio;
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return false;
  try {
    audio.context = new Context();
    audio.node = audio.context.createScriptProcessor(2048, 0, 1);
  } catch (e) {
    audio.context = null;
    return false;
  }
  audio.node.onaudioprocess = function (event) {
    const out = event.outputBuffer.getChannelData(0);
    const ptr = _cellstorm_mix(out.length, audio.context.sampleRate);
    if (!ptr) {
      out.fill(0);
      return;
    }
    out.set(HEAPF32.subarray(ptr >> 2, (ptr >> 2) + out.length));
    audio.rendered += out.length;
    if (out.some(function (v) { return v !== 0; })) audio.audible += out.length;
  };
  audio.node.connect(audio.context.destination);
  const resume = function () {
    if (audio.context && audio.context.state !== 'running') audio.context.resume();
  };
  ['keydown', 'pointerdown', 'touchend'].forEach(function (name) {
    window.addEventListener(name, resume, true);
  });
  return true;
};

Module.cellstormAudioRunning = function () {
  const context = Module.cellstormAudio.context;
  return context !== null && context.state === 'running';
};

Module.cellstormCloseAudio = function () {
  const audio = Module.cellstormAudio;
  if (audio.node) audio.node.disconnect();
  if (audio.context) audio.context.close();
  audio.node = null;
  audio.context = null;
};
