// Offline play, from a sub-folder of a static host: one visit (after which Chromium finds the
// page installable), then the server gone, then a reload, and the page is there, its title
// exact, the game playing with its sound's worklet.
// Then a new build served in the same place: the next visit shows it, its cache replaces the
// old one, and it too plays offline.
// Usage: node web_offline_test.js WEB_ORACLE MOMENTS BUILD_WEB
'use strict';
const fs = require('fs');
const path = require('path');
const b = require('./browser');

const {pageDir, out, launch} = b.setUp();

// The page copied into a sub-folder of a host's root; a build marked other than '' is another
// page, and so has another cache's name. Returns the cache's name.
const root = path.join(out, 'site'), folder = path.join(root, 'games', 'quillorn');
function publish(mark) {
  fs.cpSync(pageDir, folder, {recursive: true});
  const edit = (file, from, to) => fs.writeFileSync(path.join(folder, file),
      fs.readFileSync(path.join(folder, file), 'utf8').replace(from, to));
  if (mark) edit('index.html', '<head>', `<head>\n<meta name="build" content="${mark}">`);
  if (mark) edit('sw.js', /const kCache = '[^']+'/, `const kCache = 'quillorn-${mark}'`);
  return /const kCache = '([^']+)'/.exec(fs.readFileSync(path.join(folder, 'sw.js'), 'utf8'))[1];
}

b.run(async () => {
  const page = await b.newPage(await launch(), {allowed: /Failed to load resource|ERR_CONNECTION_REFUSED/});
  // The page's state once it plays: its title, the build's mark, the caches, the game.
  const plays = async (what, cache, mark) => {
    if (await page.title() !== 'Quillorn') b.fail(`${what}: the title is "${await page.title()}"`);
    await b.showsPicture(page, out, 'title', what, 30000);
    await b.waitFor(page, async () => `${what}: the caches are ${await page.evaluate(() => caches.keys())}`,
        (c) => caches.keys().then((k) => k.join() === c), cache, 30000);
    const got = await page.evaluate(() => document.querySelector('meta[name=build]')?.content || '');
    if (got !== mark) b.fail(`${what}: the page of build "${got}", not "${mark}"`);
    await page.keyboard.press('ArrowDown');
    await b.showsPicture(page, out, 'cursor', `${what}, a key`);
    await b.waitFor(page, `${what}: the sound's worklet did not start`, () => quillornSound.mode === 'worklet');
  };
  // The built page, then a new build: each visited, installable, then played offline.
  for (const mark of ['', 'second']) {
    const cache = publish(mark), server = await b.serve(root, '127.0.0.1', 1);
    await page.goto(`http://127.0.0.1:${server.port}/games/quillorn/?clock=1000`);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await plays(`the ${mark || 'first'} build served`, cache, mark);
    // Installable: Chromium finds nothing missing in the manifest, its icons or the worker.
    const cdp = await page.target().createCDPSession();
    const [{installabilityErrors: missing}, {errors, data}] = await Promise.all(
        ['Page.getInstallabilityErrors', 'Page.getAppManifest'].map((m) => cdp.send(m)));
    if (missing.length || errors.length || !JSON.parse(data).name.includes('透明な王様'))
      b.fail(`not installable: ${JSON.stringify(missing)}; the manifest: ${JSON.stringify(errors)} ${data}`);
    server.stop();
    await page.reload();
    await plays(`the ${mark || 'first'} build offline`, cache, mark);
  }
});
