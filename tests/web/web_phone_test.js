// The page on a phone, emulated in headless Chromium with touch (390 x 844 CSS pixels at a
// device pixel ratio of 3, then turned to landscape):
// - the pad and the buttons are found by their Japanese labels, beside the picture, never on
//   it, and the page never scrolls sideways;
// - the canvas is drawn at a whole number of device pixels per game pixel (2 here);
// - the sound waits for a touch (「音を出す」 shows until then) and a touch starts it;
// - a thumb on the pad slides from up to down without lifting, 決定 starts a game, and a step
//   down and a step right by touch give the headless backend's pictures of the same keys;
// - a game controller in use hides the controls, and a touch brings them back.
// Usage: node web_phone_test.js WEB_ORACLE MOMENTS BUILD_WEB
// QUILLORN_WEB_SHOTS=DIR also writes web-phone.png and web-phone-landscape.png there.
'use strict';
const path = require('path');
const b = require('./browser');

const {pageDir, out, launch} = b.setUp();
const shots = process.env.QUILLORN_WEB_SHOTS;
const kLabels = ['十字キー', '決定', '全員を見る', 'メニュー'];

// The canvas, the controls and the page's width, as the layout left them.
const layout = (labels) => {
  const box = (e) => e.getBoundingClientRect().toJSON();
  const c = quillornCanvas.canvas;
  return {canvas: box(c), frameWidth: c.width, ratio: devicePixelRatio, width: innerWidth,
    height: innerHeight, scrollWidth: document.documentElement.scrollWidth,
    controls: labels.map((l) => {
      const e = document.querySelector(`[aria-label="${l}"]`);
      return e && e.getClientRects().length ? box(e) : null;  // none: not laid out
    })};
};

function checkLayout(l, name, k) {
  if (l.scrollWidth > l.width) b.fail(`${name}: the page is ${l.scrollWidth} pixels wide in ${l.width}`);
  const perPixel = l.canvas.width * l.ratio / l.frameWidth;
  if (Math.abs(perPixel - k) > 1e-6) b.fail(`${name}: ${perPixel} device pixels a game pixel, not ${k}`);
  l.controls.forEach((r, i) => {
    if (!r) b.fail(`${name}: no control labelled ${kLabels[i]} shows`);
    const covers = r.left < l.canvas.right && r.right > l.canvas.left && r.top < l.canvas.bottom &&
        r.bottom > l.canvas.top;
    if (covers) b.fail(`${name}: ${kLabels[i]} covers the picture`);
    if (r.left < 0 || r.right > l.width || r.bottom > l.height) b.fail(`${name}: ${kLabels[i]} is off the screen`);
  });
}

b.run(async (keep) => {
  const server = keep(await b.serve(pageDir, '127.0.0.1', 0));
  const phone = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
  const {page, errors} = await b.newPage(keep(await launch()), phone);
  await page.goto(`http://127.0.0.1:${server.port}/index.html?clock=1000`);
  const picture = (name, what) => b.showsPicture(page, out, name, what);
  await picture('title', 'the page');
  checkLayout(await page.evaluate(layout, kLabels), 'portrait', 2);
  const waiting = await page.evaluate(() => [quillornSound.context.state, !document.getElementById('sound-on').hidden]);
  if (waiting[0] === 'running' || !waiting[1]) b.fail(`before a touch the sound is ${waiting[0]}, 音を出す shown: ${waiting[1]}`);

  const [pad, confirm] = await Promise.all(kLabels.slice(0, 2).map((l) => page.$(`[aria-label="${l}"]`)));
  const padBox = await pad.boundingBox();
  const padAt = (dx, dy) => [padBox.x + padBox.width * (0.5 + 0.4 * dx), padBox.y + padBox.height * (0.5 + 0.4 * dy)];
  // The thumb on the pad's up, then slid to its down, lifted only then.
  await page.touchscreen.touchStart(...padAt(0, -1));
  await picture('cursor-end', 'the pad\'s up on the title');
  await page.touchscreen.touchMove(...padAt(0.1, 0.2));  // through the middle, which holds nothing
  await page.touchscreen.touchMove(...padAt(0, 1));
  await picture('cursor-game', 'the thumb slid to the pad\'s down');
  await page.touchscreen.touchEnd();
  await b.soundRuns(page, 'a touch');
  await confirm.tap();
  await picture('play', '決定');
  // Each direction held until the picture changes, as the keyboard's moments are.
  for (const [name, dx, dy] of [['step-down', 0, 1], ['step-right', 1, 0]]) {
    await b.holdUntilChanged(page, `${name}: the pad`, () => page.touchscreen.touchStart(...padAt(dx, dy)),
        () => page.touchscreen.touchEnd());
    await picture(name, `${name} by touch`);
  }
  if (shots) await page.screenshot({path: path.join(shots, 'web-phone.png')});

  // A game controller in use: the controls go and the picture may grow; a touch: back.
  await page.evaluate(() => {  // a pad as the Gamepad API describes one; Chromium has none here
    const e = new Event('gamepadconnected');
    e.gamepad = {id: 'a test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
      axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
    window.dispatchEvent(e);
  });
  const withPad = await page.evaluate(layout, kLabels);
  if (withPad.controls.some(Boolean)) b.fail('the touch controls show while a game controller is in use');
  await page.touchscreen.tap(195, 5);
  checkLayout(await page.evaluate(layout, kLabels), 'a touch after the game controller', 2);

  await page.setViewport({...phone, width: 844, height: 390, isLandscape: true});
  await page.waitForFunction(() => innerWidth === 844);
  await picture('step-right', 'turned to landscape');
  checkLayout(await page.evaluate(layout, kLabels), 'landscape', 2);
  if (shots) await page.screenshot({path: path.join(shots, 'web-phone-landscape.png')});
  b.noErrors(errors);
  console.log('portrait and landscape: the controls beside the picture at 2 device pixels a game pixel;',
      'played by touch to the same pictures');
});
