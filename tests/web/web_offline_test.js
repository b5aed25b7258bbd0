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

// The page copied into a sub-folder of a host's root; returns the service worker's cache.
const root = path.join(out, 'site'), folder = path.join(root, 'games', 'quillorn');
function publish(mark) {
  fs.cpSync(pageDir, folder, {recursive: true});
  if (!mark) return /const kCache = '([^']+)'/.exec(fs.readFileSync(path.join(folder, 'sw.js'), 'utf8'))[1];
  // A new build: another page, and so another cache's name.
  const html = path.join(folder, 'index.html'), sw = path.join(folder, 'sw.js');
  fs.writeFileSync(html, fs.readFileSync(html, 'utf8').replace('<head>', `<head>\n<meta name="build" content="${mark}">`));
  const cache = `quillorn-${mark}`;
  fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace(/const kCache = '[^']+'/, `const kCache = '${cache}'`));
  return cache;
}

b.run(async (keep) => {
  const first = publish('');
  const {page, errors} = await b.newPage(keep(await launch()));
  let server = keep(await b.serve(root, '127.0.0.1', 1));
  const url = `http://127.0.0.1:${server.port}/games/quillorn/?clock=1000`;

  // The page's state once it plays: its title, the build's mark, the caches, the game.
  const plays = async (what, cache, mark) => {
    if (await page.title() !== 'Quillorn') b.fail(`${what}: the title is "${await page.title()}"`);
    await b.showsPicture(page, out, 'title', what, 30000);
    await page.waitForFunction((c) => caches.keys().then((k) => k.join() === c), {timeout: 30000}, cache)
        .catch(async () => b.fail(`${what}: the caches are ${await page.evaluate(() => caches.keys())}, not ${cache}`));
    const got = await page.evaluate(() => document.querySelector('meta[name=build]')?.content || '');
    if (got !== mark) b.fail(`${what}: the page of build "${got}", not "${mark}"`);
    await page.keyboard.press('ArrowDown');
    await b.showsPicture(page, out, 'cursor', `${what}, a key`);
    await page.waitForFunction(() => quillornSound.mode === 'worklet', {timeout: 10000})
        .catch(() => b.fail(`${what}: the sound's worklet did not start`));
  };

  await page.goto(url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await plays('the first visit', first, '');
  // Installable: Chromium finds nothing missing in the manifest, its icons or the worker.
  const cdp = await page.target().createCDPSession();
  const {installabilityErrors: missing} = await cdp.send('Page.getInstallabilityErrors');
  if (missing.length) b.fail(`not installable: ${JSON.stringify(missing)}`);
  const {errors: manifestErrors, data} = await cdp.send('Page.getAppManifest');
  if (manifestErrors.length || !JSON.parse(data).name.includes('透明な王様'))
    b.fail(`the manifest: ${JSON.stringify(manifestErrors)} ${data}`);
  server.stop();
  await page.reload();
  await plays('offline', first, '');

  const second = publish('second');
  server = keep(await b.serve(root, '127.0.0.1', 1));
  await page.goto(url);
  await plays('a new build served', second, 'second');
  server.stop();
  await page.reload();
  await plays('the new build offline', second, 'second');
  b.noErrors(errors, '', /Failed to load resource|ERR_CONNECTION_REFUSED/);
  console.log(`played offline from ${first}, then from ${second} after a new build was served`);
});
