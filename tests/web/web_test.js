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

// Each key is pressed from inside the page, where one task looks at the picture and lets go or
// presses again, so that no tick falls between (a busy machine cannot make one step two): any
// key but Enter is held until the picture changes (an arrow in play: one step); Enter is
// pressed whenever the picture has stood still for 200 ms (a line is armed only once typed)
// until the picture changes (Enter*: until it is the moment's). Then the canvas must show the
// moment's picture.
async function playMoment(page, name, keys) {
  for (const key of keys) {
    await page.evaluate(async (code, want) => {
      const send = (type) => dispatchEvent(new KeyboardEvent(type, {code, key: code, keyCode: 13}));
      const held = code !== 'Enter', before = __q.hash(), end = performance.now() + (held ? 5000 : 200000);
      let last, still = 0;  // looks 50 ms apart that saw the same picture again
      if (held) send('keydown');
      for (let h = before; !(want ? h === want : h !== before); h = __q.hash()) {
        if (performance.now() > end) throw new Error();
        [last, still] = [h, h === last ? still + 1 : 0];
        if (!held && still && still % 4 === 0) ['keydown', 'keyup'].forEach(send);
        await new Promise((r) => setTimeout(r, 50));
      }
      if (held) send('keyup');
    }, key.replace('*', ''), key.endsWith('*') ? b.pictureHash(out, name) : 0)
        .catch(() => b.fail(`${name}: ${key} led nowhere`));
  }
  await b.showsPicture(page, out, name, name);
}

// The help dialog's OK pressed with the mouse, which then leaves the canvas and is released
// beside it: the button must come back up with nothing done, as in a window, which sees a
// release wherever it happens; the picture is then the dialog's again.
async function checkReleaseOffCanvas(page) {
  const at = await page.evaluate(() => {
    const c = quillornCanvas.canvas, r = c.getBoundingClientRect(), s = r.width / c.width;
    return {x: r.left + 238 * s, y: r.top + 463 * s, off: r.right + 30};  // OK, in the frame
  });
  await page.mouse.move(at.x, at.y);
  await b.holdUntilChanged(page, 'a press on the dialog\'s OK', () => page.mouse.down(), async () => {
    await page.mouse.move(at.off, at.y, {steps: 4});
    await page.mouse.up();
  });
  await b.showsPicture(page, out, 'help', 'OK released off the canvas', 5000);
}

b.run(async () => {
  const server = await b.serve(pageDir, '127.0.0.1', 0), page = await b.newPage(await launch());
  await page.evaluateOnNewDocument((title) => requestAnimationFrame(function watch() {
    if (__q.hash() === title) __q.titleAt = performance.now();
    else requestAnimationFrame(watch);
  }), b.pictureHash(out, 'title'));
  // The first page of a fresh browser, then the same page reloaded (its files kept by then):
  // each to its title frame.
  await page.goto(`http://127.0.0.1:${server.port}/index.html?clock=1000`);
  const firstTitleMs = await (await b.waitFor(page, 'no title', () => __q.titleAt, undefined, 30000)).jsonValue();
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  if (await page.$$eval('#pad, #buttons', (all) => all.some((e) => getComputedStyle(e).display !== 'none')))
    b.fail('the touch controls show on a desktop');
  const ticks = () => page.evaluate(() => [Module._quillorn_web_ticks(), Module._quillorn_web_tick_ms() - __q.lookMs]);
  let titleMs, walk;
  for (const [, name, ...keys] of moments) {
    await playMoment(page, name, keys);
    if (name === 'title') titleMs = await page.evaluate(() => __q.titleAt);
    if (name === 'help') await checkReleaseOffCanvas(page);
    if (name === 'new-game') walk = await ticks();
    if (shots && name === 'title') await page.screenshot({path: path.join(shots, 'web-title.png')});
  }
  const [n, ms] = await ticks();
  if (shots) await page.screenshot({path: path.join(shots, 'web-play.png')});
  await page.keyboard.press('Escape');  // the page shows that the game is closed, and only that
  await b.waitFor(page, 'Esc did not close the game', () => !document.getElementById('closed').hidden &&
      getComputedStyle(document.getElementById('play')).display === 'none');
  console.log(`load to the title frame: ${firstTitleMs.toFixed(0)} ms in a fresh browser, ${titleMs.toFixed(0)} ms ` +
      `reloaded; a tick while walking: ${((ms - walk[1]) / (n - walk[0])).toFixed(2)} ms`);
});
