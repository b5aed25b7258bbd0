// The page on the machine's own network address over plain http, as a phone at home opens
// it: not a secure context, so no AudioWorklet and no service worker. In each case of the
// table (the browser as it is, then without a ScriptProcessorNode, then without any audio
// context) the title is exact, a key moves the cursor, nothing is thrown, and the Japanese
// line says what is missing and that https or localhost gives it. As it is, the page's thread
// plays the sound (its beeps are measured by web_sound_test.js), and its mixer plays the
// cursor's beep; else the game is silent.
// Usage: node web_lan_test.js WEB_ORACLE MOMENTS BUILD_WEB
'use strict';
const os = require('os');
const b = require('./browser');

const {pageDir, out, launch} = b.setUp();

// The first IPv4 address that is not the loopback; without one, a name that Chromium maps to
// 127.0.0.1 is as far from localhost for the browser.
function lanHost() {
  for (const list of Object.values(os.networkInterfaces()))
    for (const a of list) if (a.family === 'IPv4' && !a.internal) return {host: a.address, args: []};
  return {host: 'quillorn.test', args: ['--host-resolver-rules=MAP quillorn.test 127.0.0.1']};
}

const cases = [
  {name: 'as it is', mode: 'page', line: 'AudioWorklet とオフライン再生が使えません'},
  {name: 'without a ScriptProcessorNode', mode: '', line: '音とオフライン再生が使えません',
    hide: () => { AudioContext.prototype.createScriptProcessor = () => { throw new Error('none'); }; }},
  {name: 'without an audio context', mode: '', line: '音とオフライン再生が使えません',
    hide: () => { delete window.AudioContext; delete window.webkitAudioContext; }},
];

b.run(async () => {
  const {host, args} = lanHost();
  const server = await b.serve(pageDir, '0.0.0.0', 0), browser = await launch(args);
  const url = `http://${host}:${server.port}/index.html?clock=1000`;
  for (const c of cases) {
    const page = await b.newPage(browser);
    if (c.hide) await page.evaluateOnNewDocument(c.hide);
    await b.openAtTitle(page, out, url, c.name);
    if (await page.title() !== 'Quillorn') b.fail(`${c.name}: the title is "${await page.title()}"`);
    const [secure, mode, line] = await page.$eval('#notice', (n) => [isSecureContext || 'serviceWorker' in navigator,
      quillornSound.mode, n.hidden ? '' : n.textContent]);
    if (secure) b.fail(`${c.name}: the page is a secure context: nothing was tested`);
    if (!line.includes(c.line) || !line.includes('https か localhost')) b.fail(`${c.name}: the line is "${line}"`);
    if (mode !== c.mode) b.fail(`${c.name}: the sound's mode is "${mode}", not "${c.mode}"`);
    await page.keyboard.press('ArrowDown');
    await b.showsPicture(page, out, 'cursor', `${c.name}, a key`);
    const playing = await page.evaluate(() => __q.playing);
    if ((playing > 0) !== (c.mode === 'page')) b.fail(`${c.name}: the page's mixer plays ${playing} voices on a key`);
    await page.close();
  }
});
