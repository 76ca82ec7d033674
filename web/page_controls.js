'use strict';
// The on-screen controls: buttons over the canvas for a touch screen or a
// mouse alone. Each presses its key exactly as the keyboard would, through
// the same key events, so the viewer cannot tell them apart. They fold away,
// and they keep clear of the status lines. Also window.globeState(), what the
// page shows, as the viewer last published it.
(function () {
  const Module = window.Module;
  const canvas = document.getElementById('canvas');

  // Name, caption, key (KeyboardEvent.code), how it acts, and for toggles the
  // state it shows, for bodies their name in the state.
  const controls = [
    ['Time back', 'Time \u2212', 'Minus', 'held'], ['Time forward', 'Time +', 'Equal', 'held'],
    ['Date back', 'Date \u2212', 'BracketLeft', 'held'], ['Date forward', 'Date +', 'BracketRight', 'held'],
    ['Zoom in', 'Zoom +', 'NumpadMultiply', 'held'], ['Zoom out', 'Zoom \u2212', 'NumpadDivide', 'held'],
    ['Home', 'Home', 'Slash', 'press'], ['Look at the Earth', 'Centre', 'KeyC', 'press'],
    ['Look down', 'Down', 'KeyD', 'press'], ['Stop', 'Stop', 'Space', 'press'], ['Orbit', 'Orbit', 'KeyG', 'press'],
    ['Rise, transit or set', 'Rise/set', 'Backslash', 'press'], ['Screenshot', 'Shot', 'F12', 'press'],
    ['Help', 'Help', 'F1', 'press'],
    ['Earth', 'Earth', 'KeyH', 'toggle', 'show_earth'], ['Borders', 'Borders', 'KeyB', 'toggle', 'show_borders'],
    ['Names', 'Names', 'Backquote', 'toggle', 'show_labels'], ['Day and night', 'Night', 'KeyI', 'toggle', 'night'],
    ['Sky', 'Sky', 'KeyK', 'toggle', 'sky'],
    ['Mercury', '\u263F', 'Digit1', 'body', 'mercury'], ['Venus', '\u2640', 'Digit2', 'body', 'venus'],
    ['Moon', '\u263E', 'Digit3', 'body', 'moon'], ['Mars', '\u2642', 'Digit4', 'body', 'mars'],
    ['Jupiter', '\u2643', 'Digit5', 'body', 'jupiter'], ['Saturn', '\u2644', 'Digit6', 'body', 'saturn'],
    ['Uranus', '\u2645', 'Digit7', 'body', 'uranus'], ['Neptune', '\u2646', 'Digit8', 'body', 'neptune'],
    ['Pluto', '\u2647', 'Digit9', 'body', 'pluto'], ['Sun', '\u2609', 'Digit0', 'body', 'sun'],
  ];

  const key = (type, code) => window.dispatchEvent(new KeyboardEvent(type, { code: code, bubbles: true, cancelable: true }));
  const tap = (code) => { key('keydown', code); key('keyup', code); };

  const panel = document.getElementById('controls');
  const list = panel.querySelector('div');
  const shows = [];     // [button, state field] of the toggles
  const bodies = [];    // [button, body name]
  let heldBody = null;  // [button, key] of the body whose digit the buttons hold down

  // Held while the pointer is down on it, wherever the pointer goes meanwhile.
  function holdable(button, code) {
    let down = false;
    const release = () => { if (down) { down = false; key('keyup', code); } };
    button.addEventListener('pointerdown', (e) => {
      if (e.button !== 0 || down) return;
      button.setPointerCapture(e.pointerId);
      down = true;
      key('keydown', code);
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, release);
    // A click without a pointer (a screen reader's) is a tap.
    button.addEventListener('click', (e) => { if (e.detail === 0 && !down) tap(code); });
  }

  // One body at a time; its button again lets it go.
  function track(button, code) {
    const same = heldBody && heldBody[0] === button;
    if (heldBody) key('keyup', heldBody[1]);
    heldBody = same ? null : [button, code];
    if (!same) key('keydown', code);
  }

  for (const [name, caption, code, kind, field] of controls) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = caption;
    button.title = name;
    button.setAttribute('aria-label', name);
    if (kind === 'held') holdable(button, code);
    else if (kind === 'body') button.addEventListener('click', () => track(button, code));
    else button.addEventListener('click', () => tap(code));
    if (kind === 'toggle') shows.push([button, field]);
    if (kind === 'body') bodies.push([button, field]);
    if (kind === 'toggle' || kind === 'body') button.setAttribute('aria-pressed', 'false');
    list.appendChild(button);
  }
  panel.addEventListener('contextmenu', (e) => e.preventDefault());
  // Folded at first where there is a keyboard and a mouse to hand.
  panel.open = matchMedia('(pointer: coarse)').matches;

  // Above the speed line at the bottom of the frame and below the five lines
  // at its top, wherever the frame lands on the page.
  let placedFor = '';
  function place() {
    const r = canvas.getBoundingClientRect();
    const fit = Math.min(r.width / canvas.width, r.height / canvas.height);
    const seen = [r.width, r.height, r.top, canvas.width, canvas.height, innerHeight].join();
    if (!(fit > 0) || seen === placedFor) return;
    placedFor = seen;
    const top = r.top + (r.height - canvas.height * fit) / 2;
    const bottom = top + canvas.height * fit;
    const gap = 4;
    panel.style.bottom = (innerHeight - bottom + 7 * fit + gap) + 'px';
    panel.style.maxHeight = Math.max(0, bottom - top - (7 + 39) * fit - 2 * gap) + 'px';
  }
  addEventListener('resize', place);

  window.globeState = () => (Module.globeStateText ? JSON.parse(Module.globeStateText) : null);
  Module.onState = () => {
    place();
    const state = window.globeState();
    for (const [button, field] of shows) button.setAttribute('aria-pressed', String(state[field]));
    for (const [button, body] of bodies) button.setAttribute('aria-pressed', String(state.tracking === body));
  };
})();
