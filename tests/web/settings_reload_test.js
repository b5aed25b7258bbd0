// The page's settings in a real browser: headless Chromium on the page served from 127.0.0.1.
// Ctrl+M and 「ピッを表示」 chosen from the 設定 menu by its keys are kept in the page's
// storage and hold after a reload (the canvas keeps the beep strip, the sound stays muted);
// the query's flags hold for one visit and are never stored; the console has no error.
// Usage: node settings_reload_test.js WEB_ORACLE MOMENTS BUILD_WEB
'use strict';
const b = require('./browser');

const {pageDir, launch} = b.setUp();

b.run(async () => {
  const page = await b.newPage(await launch()), server = await b.serve(pageDir, '127.0.0.1', 3);
  // The page at the title: its game's loop running (its wasm may still be compiling when the
  // page has loaded) past its first ticks, and the focus on it.
  const open = async (query) => {
    await page.goto(`http://127.0.0.1:${server.port}/index.html${query}`);
    await b.waitFor(page, `the game did not start on ${page.url()}`,
        () => quillornPage.running && Module._quillorn_web_ticks() > 3, undefined, 30000);
    await b.focus(page);
  };
  const stored = () => page.evaluate(() => localStorage.getItem('quillorn.settings'));
  // The canvas: the menu bar (20 pixels) over the client area (512), the beep strip (24) below
  // while it shows.
  const strip = (on, what) => b.waitFor(page, `${what}: the beep strip ${on ? 'does not show' : 'shows'}`,
      (h) => quillornCanvas.canvas.height === h, on ? 556 : 532);

  await open('');
  await strip(false, 'at first');
  if (await stored() !== null) b.fail('something was stored before anything changed');
  // Ctrl+M, then F10, to 設定, down past the two volumes to ピッを表示, Enter.
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyM');
  await page.keyboard.up('Control');
  for (const k of ['F10', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter']) await page.keyboard.press(k);
  await strip(true, 'ピッを表示');
  const text = await stored();
  if (!/\nmute = true\n/.test(text) || !/\nvisual_beep = true\n/.test(text)) b.fail('not stored:\n' + text);

  await open('');  // the page again, from the start
  await strip(true, 'after a reload');
  if (await stored() !== text) b.fail('the stored settings changed by a reload');
  // Muted, the sound rests: the page does not offer to start it.
  const resting = await page.evaluate(() => [quillornSound.resting, document.getElementById('sound-on').hidden]);
  if (resting.join() !== 'true,true') b.fail(`muted after a reload, the sound's rest and button: ${resting}`);

  // A visit with flags of its own: in force for it, never stored.
  await page.evaluate(() => localStorage.clear());
  await open('?scale=1&visual-beep=1&mute=1');
  await strip(true, '?visual-beep=1');
  const width = await page.evaluate(() => quillornCanvas.canvas.clientWidth);
  if (width !== 480) b.fail(`?scale=1 gave a canvas ${width} pixels wide, not 480`);
  if (await stored() !== null) b.fail('the query was stored');
  await open('');
  await strip(false, 'the next visit without the query');
});
