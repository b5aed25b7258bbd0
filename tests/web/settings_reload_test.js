// The page's settings in a real browser: headless Chromium on the page served from 127.0.0.1,
// with a profile of its own. Ctrl+M and 「ピッを表示」 chosen from the 設定 menu by its keys
// are kept in the page's storage and hold after a reload (the canvas keeps the beep strip);
// the query's flags hold for one visit and are never stored; the console has no error.
// Usage: node settings_reload_test.js PAGE_DIR   (exit 77: no page built, skipped)
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const pageDir = path.resolve(process.argv[2]);
const puppeteerDir = path.join(pageDir, 'node', 'node_modules', 'puppeteer-core');
if (!fs.existsSync(path.join(pageDir, 'quillorn.wasm')) || !fs.existsSync(puppeteerDir)) {
  console.log('skipped: build the page first (bash scripts/web.sh build)');
  process.exit(77);
}
const puppeteer = require(puppeteerDir);
const kPort = 19000 + (process.pid % 1000);
const out = fs.mkdtempSync(path.join(os.tmpdir(), 'quillorn-web-settings-'));
const kMenuBar = 20, kClient = 512, kStrip = 24;
const fail = (message) => {
  throw new Error(message);
};
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The page at the title: its canvas there and the game's loop running.
async function open(page, query) {
  for (let i = 0; ; ++i) {  // the server takes a moment to listen
    const ok = await page.goto(`http://127.0.0.1:${kPort}/index.html${query}`).catch(() => null);
    if (ok || i === 50) break;
    await sleep(100);
  }
  // Asked from here, a tenth of a second apart: the game's ticks count.
  let ticks = 0;
  for (let waited = 0; ticks <= 3; waited += 100) {
    if (waited > 30000) fail(`the game did not start on ${page.url()} (ticks: ${ticks})`);
    await sleep(100);
    ticks = await page.evaluate(() => window.Module && Module._quillorn_web_ticks ?
        Module._quillorn_web_ticks() : 0).catch(() => 0);
  }
  await page.focus('#canvas');
}
const canvasHeight = (page) => page.evaluate(() => quillornPage.canvas.height);
const stored = (page) => page.evaluate(() => localStorage.getItem('quillorn.settings'));

async function main() {
  const server = spawn('python3', ['-m', 'http.server', String(kPort), '--bind', '127.0.0.1',
    '--directory', pageDir], {stdio: 'ignore'});
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + path.join(out, 'profile')]});
  const errors = [];
  try {
    const page = await browser.newPage();
    page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
    page.on('pageerror', (e) => errors.push(e.message));
    await open(page, '');
    if (await canvasHeight(page) !== kMenuBar + kClient) fail('the canvas is not 532 high at first');
    if (await stored(page) !== null) fail('something was stored before anything changed');

    // Ctrl+M, then F10, to 設定, down past the two volumes to ピッを表示, Enter.
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyM');
    await page.keyboard.up('Control');
    for (const key of ['F10', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter']) {
      await page.keyboard.press(key);
      await sleep(60);
    }
    for (let waited = 0; await canvasHeight(page) !== kMenuBar + kClient + kStrip; waited += 50) {
      if (waited > 5000) fail('ピッを表示 gave the canvas no strip');
      await sleep(50);
    }
    const text = await stored(page);
    if (!/\nmute = true\n/.test(text) || !/\nvisual_beep = true\n/.test(text))
      fail('not stored:\n' + text);

    await page.reload();
    await open(page, '');
    if (await canvasHeight(page) !== kMenuBar + kClient + kStrip) fail('the strip is gone after a reload');
    if (await stored(page) !== text) fail('the stored settings changed by a reload');

    // A visit with flags of its own: in force for it, never stored.
    await page.evaluate(() => localStorage.clear());
    await open(page, '?scale=1&visual-beep=1&mute=1');
    if (await canvasHeight(page) !== kMenuBar + kClient + kStrip) fail('?visual-beep=1 was not taken');
    const width = await page.evaluate(() => quillornPage.canvas.clientWidth);
    if (width !== 480) fail(`?scale=1 gave a canvas ${width} pixels wide, not 480`);
    if (await stored(page) !== null) fail('the query was stored');
    await open(page, '');
    if (await canvasHeight(page) !== kMenuBar + kClient) fail('the query held beyond its visit');
    if (errors.length) fail('console errors:\n' + errors.join('\n'));
    console.log('kept over a reload:', JSON.stringify(text));
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
