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

// Fails unless the page is no wider than the screen, the canvas is at 2 device pixels a game
// pixel, and each control shows (or, unless shown, none does) on the screen beside the picture.
async function checkLayout(page, name, shown = true) {
  const faults = await page.evaluate((labels, shown) => {
    const c = quillornCanvas.canvas, p = c.getBoundingClientRect(), k = p.width * devicePixelRatio / c.width;
    const width = document.documentElement.scrollWidth, faults = [width > innerWidth && `the page is ${width} wide`,
      Math.abs(k - 2) > 1e-6 && `${k} device pixels a game pixel`];
    for (const l of labels) {
      const r = document.querySelector(`[aria-label="${l}"]`)?.getClientRects()[0];  // none: not laid out
      const covers = r && r.left < p.right && r.right > p.left && r.top < p.bottom && r.bottom > p.top;
      faults.push(!r !== !shown && `${l} ${shown ? 'does not show' : 'shows'}`, covers && `${l} covers the picture`,
          r && (r.left < 0 || r.right > innerWidth || r.bottom > innerHeight) && `${l} is off the screen`);
    }
    return faults.filter(Boolean);
  }, kLabels, shown);
  if (faults.length) b.fail(`${name}: ${faults.join('; ')}`);
}

b.run(async () => {
  const server = await b.serve(pageDir, '127.0.0.1', 0);
  const phone = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
  const page = await b.newPage(await launch(), {viewport: phone});
  const picture = (name, what) => b.showsPicture(page, out, name, what);
  await b.openAtTitle(page, out, `http://127.0.0.1:${server.port}/index.html?clock=1000`, 'the page');
  await checkLayout(page, 'portrait');
  const held = await page.evaluate(() => [quillornSound.context.state, document.getElementById('sound-on').hidden]);
  if (held.join() !== 'suspended,false') b.fail(`before a touch the sound is ${held[0]}, 音を出す hidden: ${held[1]}`);

  const [pad, confirm] = await Promise.all(kLabels.slice(0, 2).map((l) => page.$(`[aria-label="${l}"]`)));
  const box = await pad.boundingBox(), touch = page.touchscreen;
  const padAt = (dx, dy) => [box.x + box.width * (0.5 + 0.4 * dx), box.y + box.height * (0.5 + 0.4 * dy)];
  // The thumb on the pad's up, then slid through the middle (which holds nothing) to its down,
  // lifted only then.
  await touch.touchStart(...padAt(0, -1));
  await picture('cursor-end', 'the pad\'s up on the title');
  await touch.touchMove(...padAt(0.1, 0.2));
  await touch.touchMove(...padAt(0, 1));
  await picture('cursor-game', 'the thumb slid to the pad\'s down');
  await touch.touchEnd();
  await b.soundRuns(page, 'a touch');
  await confirm.tap();
  await picture('play', '決定');
  // Each direction held until the picture changes, as the keyboard's moments are.
  for (const [name, dx, dy] of [['step-down', 0, 1], ['step-right', 1, 0]]) {
    await b.holdUntilChanged(page, name, () => touch.touchStart(...padAt(dx, dy)), () => touch.touchEnd());
    await picture(name, `${name} by touch`);
  }
  if (shots) await page.screenshot({path: path.join(shots, 'web-phone.png')});

  // A game controller in use (a pad as the Gamepad API describes one; Chromium has none here):
  // the controls go; a touch brings them back.
  await page.evaluate(() => dispatchEvent(Object.assign(new Event('gamepadconnected'), {gamepad: {id: 'pad', index: 0,
    connected: true, mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0], buttons: Array(17).fill({value: 0})}})));
  await checkLayout(page, 'a game controller in use', false);
  await touch.tap(195, 5);
  await checkLayout(page, 'a touch after the game controller');

  await page.setViewport({...phone, width: 844, height: 390, isLandscape: true});
  await page.waitForFunction(() => innerWidth === 844);
  await picture('step-right', 'turned to landscape');
  await checkLayout(page, 'landscape');
  if (shots) await page.screenshot({path: path.join(shots, 'web-phone-landscape.png')});
});
