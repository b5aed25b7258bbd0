// The page on a desktop browser: headless Chromium plays the moments of moments.txt on the
// page served from 127.0.0.1 and compares the canvas, pixel for pixel, with the headless
// backend's pictures (web_oracle). A mouse button released off the canvas must count there;
// the touch controls must not show; Esc must close the game; and the console must have no
// error. Prints the page's figures (load to title, tick time). The sound has
// web_sound_test.js.
// Usage: node web_test.js WEB_ORACLE MOMENTS BUILD_WEB
// QUILLORN_WEB_SHOTS=DIR also writes web-title.png and web-play.png there.
'use strict';
const path = require('path');
const b = require('./browser');

const {pageDir, out, moments, launch} = b.setUp();
const shots = process.env.QUILLORN_WEB_SHOTS;

async function playMoment(page, name, keys) {
  for (const key of keys) {
    const code = key.replace('*', '');
    if (code === 'Enter') {
      const before = await page.evaluate(() => __q.hash());
      const want = key.endsWith('*') ? b.pictureHash(out, name) : 0;
      await page.waitForFunction((h, w, c) => __q.pressWhenStill(h, w, c),
          {polling: 50, timeout: 200000}, before, want, code).catch(() => b.fail(`${name}: ${key} led nowhere`));
      continue;
    }
    // Held until the picture changes: one step for an arrow in play.
    await b.holdUntilChanged(page, `${name}: ${key}`, () => page.keyboard.down(code), () => page.keyboard.up(code));
  }
  await b.showsPicture(page, out, name, name);
}

// The help dialog's OK pressed with the mouse, which then leaves the canvas and is released
// beside it: the button must come back up with nothing done, as in a window, which sees a
// release wherever it happens; the picture is then the dialog's again.
async function checkReleaseOffCanvas(page, helpHash) {
  const at = await page.evaluate(() => {
    const c = quillornCanvas.canvas, r = c.getBoundingClientRect(), s = r.width / c.width;
    return {x: r.left + 238 * s, y: r.top + 463 * s, off: r.right + 30};  // OK, in the frame
  });
  await page.mouse.move(at.x, at.y);
  await page.mouse.down();
  await page.waitForFunction((w) => __q.hash() !== w && (__q.seen.clear(), true), {timeout: 5000}, helpHash)
      .catch(() => b.fail('a press on the dialog\'s OK did not show it pressed'));
  await page.mouse.move(at.off, at.y, {steps: 4});
  await page.mouse.up();
  await page.waitForFunction((w) => __q.saw(w), {timeout: 5000}, helpHash)
      .catch(() => b.fail('OK released off the canvas stayed pressed'));
}

b.run(async (keep) => {
  const started = Date.now();
  const server = keep(await b.serve(pageDir, '127.0.0.1', 0));
  const browser = keep(await launch());
  const {page, errors} = await b.newPage(browser);
  const figures = {};
  await page.evaluateOnNewDocument((title) => {
    const watch = () => {
      if (__q.hash() === title) __q.titleAt = performance.now();
      else requestAnimationFrame(watch);
    };
    requestAnimationFrame(watch);
  }, b.pictureHash(out, 'title'));
  // The first page of a fresh browser, then the same page reloaded (its files kept by then):
  // each to its title frame.
  await page.goto(`http://127.0.0.1:${server.port}/index.html?clock=1000`);
  await page.waitForFunction(() => __q.titleAt > 0, {timeout: 30000}).catch(() => b.fail('no title'));
  figures.firstTitleMs = await page.evaluate(() => __q.titleAt);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  const controls = await page.evaluate(() => ['pad', 'buttons'].map((id) =>
    getComputedStyle(document.getElementById(id)).display));
  if (controls.some((d) => d !== 'none')) b.fail(`the touch controls show on a desktop: ${controls}`);
  const tickCounts = () => page.evaluate(() => [Module._quillorn_web_ticks(), Module._quillorn_web_tick_ms()]);
  for (const [, name, ...keys] of moments) {
    await playMoment(page, name, keys);
    console.log(`${name}: ${((Date.now() - started) / 1000).toFixed(1)} s`);
    if (name === 'title') figures.titleMs = await page.evaluate(() => __q.titleAt);
    if (name === 'help') await checkReleaseOffCanvas(page, b.pictureHash(out, name));
    if (name === 'new-game') figures.ticks = await tickCounts();
    if (shots && name === 'title') await page.screenshot({path: path.join(shots, 'web-title.png')});
  }
  const [n, ms] = await tickCounts();
  figures.walkTickMs = (ms - figures.ticks[1]) / (n - figures.ticks[0]);
  if (shots) await page.screenshot({path: path.join(shots, 'web-play.png')});
  await page.keyboard.press('Escape');  // the page shows that the game is closed, and only that
  await page.waitForFunction(() => !document.getElementById('closed').hidden &&
      getComputedStyle(document.getElementById('play')).display === 'none', {timeout: 5000})
      .catch(() => b.fail('Esc did not close the game'));
  b.noErrors(errors);
  console.log(`load to the title frame: ${figures.firstTitleMs.toFixed(0)} ms in a fresh browser, ` +
      `${figures.titleMs.toFixed(0)} ms reloaded; a tick while walking: ` +
      `${figures.walkTickMs.toFixed(2)} ms`);
});
