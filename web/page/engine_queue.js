// ---------------------------------------------------------------- engine_queue.js
// One engine, one command at a time. The student's commands and the timers'
// ticks go into one queue, in the order they happen; the engine takes them
// one by one. While the engine waits in a modal dialog (a message, the
// correction), the wait takes the ticks and that dialog's buttons from the
// same queue, as a Windows dialog's nested loop takes its messages: the
// WebAssembly is suspended meanwhile and is never called into again before
// the wait has returned.
const engineQueue = {
  events: [],
  wake: null,

  post(event) {
    this.events.push(event);
    if (this.wake) {
      const wake = this.wake;
      this.wake = null;
      wake();
    }
  },

  async take() {
    while (this.events.length === 0) await new Promise((resolve) => { this.wake = resolve; });
    return this.events.shift();
  },
};

let wasm = null;  // the WebAssembly module, once it has started

// A command of the student: `name` is the WebAssembly's export, `returns`
// its result type for ccall. The promise resolves with its result once the
// engine has done it, or with null when it could not be run.
function command(name, args = [], types = [], returns = null) {
  return new Promise((done) => engineQueue.post({ kind: 'command', name, args, types, returns, done }));
}

// What the engine is doing, on the document's root for whoever watches the
// page (its tests): "idle" with nothing left to do, "busy", or "dialog" while
// it waits in a modal dialog.
function engineState(state) {
  document.documentElement.dataset.engine = state;
}

// Takes the queue's events for ever, one command or tick at a time.
async function runEngine() {
  for (;;) {
    if (engineQueue.events.length === 0) engineState('idle');
    const event = await engineQueue.take();
    engineState('busy');
    if (event.kind === 'tick') {
      if (tickIsCurrent(event)) await wasm.ccall('kz_tick', null, ['number'], [event.timer], { async: true });
    } else if (event.kind === 'command') {
      let result = null;
      try {
        result = await wasm.ccall(event.name, event.returns, event.types, event.args, { async: true });
      } finally {
        event.done(result);
      }
      afterCommand();
    }
    // A dialog's button that arrives after its dialog has closed is dropped.
  }
}

// The wait of a modal dialog: the next tick, or the next button of the
// dialog `serial`. A command of the page behind the dialog cannot happen
// (the page is out of reach); one that does is dropped.
async function nextModalEvent(serial) {
  for (;;) {
    if (engineQueue.events.length === 0) engineState('dialog');
    const event = await engineQueue.take();
    engineState('busy');
    if (event.kind === 'tick' && tickIsCurrent(event)) return event.timer;
    if (event.kind === 'modal' && event.serial === serial) return event.code;
    if (event.kind === 'command') event.done(null);
  }
}

// ---------------------------------------------------------------- timers
// The exam's two one-second timers. A browser slows the timers of a page in
// the background; the ticks that should have come meanwhile are delivered
// as soon as it runs them again, so that the exam's time stays true.
const timers = new Map();

function startTimer(timer) {
  stopTimer(timer);
  const running = { started: performance.now(), delivered: 0, interval: 0 };
  running.interval = setInterval(() => {
    const due = Math.floor((performance.now() - running.started) / 1000);
    while (running.delivered < due && timers.get(timer) === running) {
      running.delivered += 1;
      engineQueue.post({ kind: 'tick', timer, run: running });
    }
  }, 1000);
  timers.set(timer, running);
}

function stopTimer(timer) {
  const running = timers.get(timer);
  if (running) clearInterval(running.interval);
  timers.delete(timer);
}

// A tick still in the queue when its timer was stopped, or started again,
// belongs to a time that is over: it is not delivered.
function tickIsCurrent(event) {
  return timers.get(event.timer) === event.run;
}

function stopAllTimers() {
  for (const timer of [...timers.keys()]) stopTimer(timer);
}
