'use strict';
// Starts the viewer on the page. The five data files are fetched from beside
// the page into the program's file system before start-up (a file the server
// lacks is simply not there, as on a disk); the page's address gives the
// command line: ?size=WxH for a fixed frame (without it the frame follows
// the page), ?home=LAT,LON for the home view's place,
// ?at=TIME&from=LAT,LON[,ALT]&look=VIEW for a fixed moment and view,
// ?night=1 for day and night and ?sky=1 for the sky behind the textured globe
// from the start. A page isolated from other origins (served with the COOP
// and COEP headers) runs the build that shares the globe among threads; any
// other runs the single-threaded one, which draws the same.
(function () {
  const dataFiles = ['globe.gif', 'SHOREX.DAT', 'BORDX.DAT', 'stars.dat', 'lights.gif'];
  const params = new URLSearchParams(location.search);
  const messages = document.getElementById('messages');
  const say = (text) => { messages.textContent += text.endsWith('\n') ? text : text + '\n'; };

  const args = [];
  if (params.has('size')) args.push('/' + params.get('size'));
  for (const name of ['at', 'from', 'look', 'home']) if (params.has(name)) args.push('--' + name, params.get(name));
  if (params.get('sky') === '1') args.push('--sky');
  if (params.get('night') === '1') args.push('--night');

  // The fetches start now, alongside the program's own download.
  const fetched = dataFiles.map((name) =>
    fetch(name).then((r) => (r.ok ? r.arrayBuffer() : null), () => null));

  // Start-up time and frame count, for whoever measures them.
  const build = window.crossOriginIsolated ? 'globe-mt.js' : 'globe.js';
  const stats = { firstFrameMs: null, frames: 0, ended: null, build };
  window.globeStats = stats;

  const Module = {
    arguments: args,
    globeFollowPage: !params.has('size'),
    preRun: [() => {
      Module.addRunDependency('data files');
      Promise.all(fetched).then((buffers) => {
        buffers.forEach((b, i) => { if (b) Module.FS.writeFile(dataFiles[i], new Uint8Array(b)); });
        Module.removeRunDependency('data files');
      });
    }],
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    showMessage: (text, caption) => say(caption ? caption + ': ' + text : text),
    showEnd: (code) => {
      stats.ended = code;
      say(code ? 'The program has ended (exit code ' + code + ').' : 'The program has ended.');
    },
    onFrame: () => { if (stats.frames++ === 0) stats.firstFrameMs = performance.now(); },
  };
  window.Module = Module;

  // The last frame as drawn, one palette index a pixel, row after row, in base64.
  window.globeFrame = () => {
    const f = Module.globeFrame;
    const bytes = Module.HEAPU8.subarray(f.ptr, f.ptr + f.width * f.height);
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return { width: f.width, height: f.height, data: btoa(text) };
  };

  const script = document.createElement('script');
  script.src = build;
  document.body.appendChild(script);
})();
