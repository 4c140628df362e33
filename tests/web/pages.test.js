// The web viewer in headless Chromium, opened from file:// with no server:
// every frame the page shows must be exactly the native headless host's frame
// for the same input before the same frames. Run by scripts/test-web.sh.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const root = path.resolve(__dirname, '../..');
const webBuild = path.resolve(root, process.env.QBZ_WEB_BUILD || 'build/web');
const nativeBuild = path.resolve(root, process.env.QBZ_NATIVE_BUILD || 'build/release');
const qbzpack = path.join(nativeBuild, 'bin/qbzpack');
const viewerPage = path.join(webBuild, 'bin/qbzview.html');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qbz-web-'));
const SCREEN_WIDTH = 240, SCREEN_HEIGHT = 320;
const LARGEST_SAMPLE_PAGE = 1.5 * 1024 * 1024;

// The bundled sample with the settings of the self-contained sample viewer
// (assets/CMakeLists.txt), packed once as a page and once as a native viewer.
const sampleOptions = ['pack', path.join(root, 'assets/mars-husband-hill-equirect.png'), '--background', 'C9A27E',
  '--face-size', '512', '--tile-size', '32', '--yaw', '65', '--pitch', '6', '--zoom', '130',
  '--caption', 'Husband Hill, Mars', '--caption-x', '8', '--caption-y', '302',
  '--banner', 'Spirit rover, sol 583', '--banner-frames', '90'];
const samplePage = path.join(work, 'husband-hill.html');
const sampleViewer = path.join(work, 'husband-hill-viewer');
const sampleContainer = path.join(nativeBuild, 'assets/sample.qbz');  // the same picture and options, no trailer

let browser;

before(() => {
  execFileSync(qbzpack, [...sampleOptions, '--web-viewer', viewerPage, '--html', samplePage,
    '--viewer', path.join(nativeBuild, 'bin/qbzview'), '-o', sampleViewer]);
});

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.QBZ_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
  });
});

after(async () => {
  if (browser) await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
});

// The native headless screen after `frames` frames of this event script,
// widened to RGBA as the page widens it (5-6-5 by bit replication).
function nativeScreen(viewer, frames, events, container) {
  const script = path.join(work, 'events.txt');
  const dump = path.join(work, 'screen.raw');
  fs.writeFileSync(script, events.join('\n') + '\n');
  const args = ['--headless', '--frames', String(frames), '--events', script, '--dump-display', dump];
  if (container) args.push(container);
  execFileSync(viewer, args);
  const raw = fs.readFileSync(dump);
  const rgba = Buffer.alloc(SCREEN_WIDTH * SCREEN_HEIGHT * 4);
  for (let i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) {
    const pixel = raw.readUInt16LE(2 * i);
    const red = (pixel >> 11) & 0x1f, green = (pixel >> 5) & 0x3f, blue = pixel & 0x1f;
    rgba[4 * i] = (red << 3) | (red >> 2);
    rgba[4 * i + 1] = (green << 2) | (green >> 4);
    rgba[4 * i + 2] = (blue << 3) | (blue >> 2);
    rgba[4 * i + 3] = 255;
  }
  return rgba;
}

// A page from file://, frames stepped by the test ("#step"), with every
// request the page makes logged.
async function openPage(file) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 760 });
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  await page.goto('file://' + file + '#step');
  await page.waitForFunction(() => window.qbzview && window.qbzview.status !== 'starting');
  return { page, requests };
}

async function canvasPixels(page) {
  const bytes = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    return Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data);
  });
  return Buffer.from(bytes);
}

const step = (page, frames) => page.evaluate((n) => window.qbzview.step(n), frames);

// The client point over screen pixel (x, y), wherever the canvas was laid out.
async function screenPoint(page, x, y) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('screen').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  return { x: box.left + (x + 0.5) * box.width / SCREEN_WIDTH, y: box.top + (y + 0.5) * box.height / SCREEN_HEIGHT };
}

function assertSameScreen(actual, expected, what) {
  assert.equal(actual.length, expected.length, what);
  const first = actual.findIndex((value, i) => value !== expected[i]);
  assert.equal(first, -1, `${what}: first difference at pixel ${Math.floor(first / 4)}`);
}

function assertOnlyLocalRequests(requests) {
  const remote = requests.filter((url) => !url.startsWith('file:') && !url.startsWith('data:'));
  assert.deepEqual(remote, []);
}

test('the sample page is one file of at most 1.5 MB with a readable title', async () => {
  const size = fs.statSync(samplePage).size;
  assert.ok(size <= LARGEST_SAMPLE_PAGE, `${size} bytes`);
  const { page, requests } = await openPage(samplePage);
  assert.equal(await page.title(), 'Husband Hill, Mars - qbzview');
  assert.match(await page.$eval('#controls', (e) => e.textContent), /Drag or arrows: look around/);
  assertOnlyLocalRequests(requests);
  await page.close();
});

// Each case: what the user does in the page, before which frames, and the
// same input as the headless host's event script.
const sampleCases = [
  { name: 'start view with the banner', frames: 10, events: [], act: async (page) => step(page, 10) },
  {
    name: 'arrow keys held over frames',
    frames: 12,
    events: ['2 keydown 0x25', '6 keyup 0x25', '7 keydown 0x26', '10 keyup 0x26'],
    act: async (page) => {
      await step(page, 1);
      await page.keyboard.down('ArrowLeft');
      await step(page, 4);
      await page.keyboard.up('ArrowLeft');
      await step(page, 1);
      await page.keyboard.down('ArrowUp');
      await step(page, 3);
      await page.keyboard.up('ArrowUp');
      await step(page, 3);
    },
  },
  {
    name: 'a mouse drag',
    frames: 10,
    events: ['2 down 120 160', '3 move 150 152', '5 move 190 140', '8 up 190 140'],
    act: async (page) => {
      await step(page, 1);
      let at = await screenPoint(page, 120, 160);
      await page.mouse.move(at.x, at.y);
      await page.mouse.down();
      await step(page, 1);
      at = await screenPoint(page, 150, 152);
      await page.mouse.move(at.x, at.y);
      await step(page, 2);
      at = await screenPoint(page, 190, 140);
      await page.mouse.move(at.x, at.y);
      await step(page, 3);
      await page.mouse.up();
      await step(page, 3);
    },
  },
  {
    // A tap between two frames is not lost: its release waits for one frame.
    name: 'wire-frame by a tap of W',
    frames: 3,
    events: ['3 keydown 0x24', '4 keyup 0x24'],
    act: async (page) => {
      await step(page, 2);
      await page.keyboard.press('KeyW');
      await step(page, 1);
    },
  },
];

for (const c of sampleCases) {
  test(`sample page: ${c.name} shows the native headless frame`, async () => {
    const { page, requests } = await openPage(samplePage);
    assert.equal(await page.evaluate(() => window.qbzview.status), 'running');
    await c.act(page);
    assert.equal(await step(page, 0), c.frames);
    assertSameScreen(await canvasPixels(page), nativeScreen(sampleViewer, c.frames, c.events), c.name);
    assertOnlyLocalRequests(requests);
    await page.close();
  });
}

test('qbzview.html opens a chosen container and shows its screen', async () => {
  const { page, requests } = await openPage(viewerPage);
  assert.equal(await page.evaluate(() => window.qbzview.status), 'waiting');
  const input = await page.$('#file');
  await input.uploadFile(sampleContainer);
  await page.waitForFunction(() => window.qbzview.status === 'running');
  await step(page, 3);
  assertSameScreen(await canvasPixels(page),
    nativeScreen(path.join(nativeBuild, 'bin/qbzview'), 3, [], sampleContainer), 'chosen container');
  assertOnlyLocalRequests(requests);
  await page.close();
});

test('a corrupt container dropped onto qbzview.html gives the message in the page', async () => {
  const { page } = await openPage(viewerPage);
  const truncated = Array.from(fs.readFileSync(sampleContainer).subarray(0, 4096));
  await page.evaluate((bytes) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(bytes)], 'broken.qbz'));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, truncated);
  await page.waitForFunction(() => window.qbzview.status === 'failed');
  const shown = await page.evaluate(() => {
    const message = document.getElementById('message');
    return { message: message.hidden ? '' : message.textContent, canvas: !document.getElementById('screen').hidden };
  });
  assert.match(shown.message, /broken\.qbz could not be loaded/);
  assert.equal(shown.canvas, false);
  await page.close();
});

test('a browser without WebAssembly gets the message, not a blank canvas', async () => {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
  await page.goto('file://' + samplePage);
  await page.waitForFunction(() => window.qbzview && window.qbzview.status === 'no-wasm');
  assert.match(await page.$eval('#message', (e) => e.textContent), /needs WebAssembly/);
  await page.close();
});
