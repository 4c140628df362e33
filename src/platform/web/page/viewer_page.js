// The page's half of the web viewer: hands the panorama and the browser's
// input to the viewer (web_host.cpp), shows its frames on the canvas, keeps
// the canvas fitted to the page, and says in the page what went wrong.
(function () {
  'use strict';
  var SCREEN_WIDTH = 240, SCREEN_HEIGHT = 320;
  var canvas = document.getElementById('screen');
  var message = document.getElementById('message');
  var help = document.getElementById('help');
  var openLine = document.getElementById('open');
  var fileInput = document.getElementById('file');
  var options = location.hash.slice(1).split(',');
  var smooth = options.indexOf('smooth') >= 0;
  // Test hook: "#step" runs frames only when window.qbzview.step asks.
  var stepped = options.indexOf('step') >= 0;
  var api = { status: 'starting', step: function () { return 0; } };
  window.qbzview = api;

  function say(text, status) {
    api.status = status;
    message.textContent = text;
    message.hidden = false;
    canvas.hidden = true;
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function' ||
      typeof createQbzview !== 'function') {
    say('This browser cannot run the viewer: it needs WebAssembly, which every current browser has.', 'no-wasm');
    return;
  }

  var context = canvas.getContext('2d');
  var image = context.createImageData(SCREEN_WIDTH, SCREEN_HEIGHT);
  var viewer = null;
  var running = false;
  if (smooth) canvas.classList.add('smooth');

  function showFrame(address) {
    image.data.set(viewer.HEAPU8.subarray(address, address + image.data.length));
    context.putImageData(image, 0, 0);
  }

  // The canvas as large as the page allows with its aspect kept; sharp
  // pixels use a whole number of device pixels per screen pixel.
  function layout() {
    if (viewer === null) return;
    var stage = canvas.parentNode;
    var ratio = window.devicePixelRatio || 1;
    var width = viewer._qbz_fit_width(Math.floor(stage.clientWidth * ratio), Math.floor(stage.clientHeight * ratio),
                                     smooth ? 1 : 0);
    canvas.style.width = (width / ratio) + 'px';
    canvas.style.height = (width * SCREEN_HEIGHT / SCREEN_WIDTH / ratio) + 'px';
  }

  function open(bytes, name) {
    var address = viewer._malloc(Math.max(bytes.length, 1));
    if (!address) {
      say('Not enough memory for ' + name + '.', 'failed');
      return;
    }
    viewer.HEAPU8.set(bytes, address);
    var result = viewer._qbz_open(address, bytes.length);
    viewer._free(address);
    running = result === 0;
    if (!running) {
      say(name + ' could not be loaded: it is damaged or not a qbzview panorama (.qbz).', 'failed');
      return;
    }
    api.status = 'running';
    message.hidden = true;
    canvas.hidden = false;
    layout();
    canvas.focus();
  }

  function openFile(file) {
    if (!file) return;
    var reader = new FileReader();
    reader.onload = function () { open(new Uint8Array(reader.result), file.name); };
    reader.onerror = function () { say(file.name + ' could not be read.', 'failed'); };
    reader.readAsArrayBuffer(file);
  }

  function decodeEmbedded(text) {
    var binary = atob(text);
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  function saveScreen() {
    var link = document.createElement('a');
    link.href = canvas.toDataURL('image/png');
    link.download = (document.title.split(' - ')[0] || 'qbzview') + '.png';
    link.click();
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen();
  }

  function onKey(event, down) {
    if (!running) return;
    if (down && !help.hidden) {
      help.hidden = true;
      event.preventDefault();
      return;
    }
    if (down && (event.ctrlKey || event.metaKey)) return;  // the browser's own shortcuts
    var modifiers = (event.shiftKey ? 1 : 0) | (event.altKey ? 2 : 0);
    var use = viewer.ccall('qbz_key', 'number', ['string', 'string', 'number', 'number', 'number'],
                           [event.code, event.key, down ? 1 : 0, event.repeat ? 1 : 0, modifiers]);
    if (use === 0) return;
    event.preventDefault();
    if (use === 2) toggleFullScreen();
    else if (use === 3) saveScreen();
    else if (use === 4) help.hidden = false;
  }

  function onPointer(kind) {
    return function (event) {
      if (!running || !event.isPrimary) return;
      if (kind === 0) {
        if (event.button !== 0) return;
        canvas.setPointerCapture(event.pointerId);
      }
      var box = canvas.getBoundingClientRect();
      viewer._qbz_pointer(kind, event.clientX - box.left, event.clientY - box.top, box.width, box.height);
      event.preventDefault();
    };
  }

  window.addEventListener('keydown', function (event) { onKey(event, true); });
  window.addEventListener('keyup', function (event) { onKey(event, false); });
  window.addEventListener('blur', function () { if (running) viewer._qbz_blur(); });
  window.addEventListener('resize', layout);
  canvas.addEventListener('pointerdown', onPointer(0));
  canvas.addEventListener('pointermove', onPointer(1));
  canvas.addEventListener('pointerup', onPointer(2));
  canvas.addEventListener('pointercancel', onPointer(3));
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });

  var embedded = document.getElementById('qbz-panorama').textContent.replace(/\s+/g, '');
  createQbzview({
    showFrame: showFrame,
    viewerEnded: function () {
      running = false;
      say('The viewer has ended. Reload the page to look again.', 'ended');
    },
    print: function () {},
    printErr: function () {}
  }).then(function (module) {
    viewer = module;
    api.step = function (frames) { return viewer._qbz_step(frames); };
    if (stepped) viewer._qbz_pause(1);
    if (embedded.length > 0) {
      var bytes;
      try {
        bytes = decodeEmbedded(embedded);
      } catch (error) {
        say('The panorama in this page is damaged.', 'failed');
        return;
      }
      open(bytes, 'The panorama in this page');
      return;
    }
    // The page for any panorama: choose a file or drop one.
    openLine.hidden = false;
    say('Choose a .qbz panorama below, or drop one onto the page.', 'waiting');
    fileInput.addEventListener('change', function () { openFile(fileInput.files[0]); });
    document.addEventListener('dragover', function (event) { event.preventDefault(); });
    document.addEventListener('drop', function (event) {
      event.preventDefault();
      if (event.dataTransfer && event.dataTransfer.files.length > 0) openFile(event.dataTransfer.files[0]);
    });
  }, function () {
    say('The viewer could not start in this browser.', 'failed');
  });
})();
