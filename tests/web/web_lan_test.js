// The page on the machine's own network address over plain http, as a phone at home opens
// it: not a secure context, so no AudioWorklet and no service worker. In each case of the
// table (the browser as it is, then without a ScriptProcessorNode, then without any audio
// context) the title is exact, a key moves the cursor, nothing is thrown, and the Japanese
// line says what is missing and that https or localhost gives it. As it is, the beep plays
// through the ScriptProcessorNode at the headless mix's pitch.
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

// What the ScriptProcessorNode plays, from its first loud sample on (the page's thread; an
// AudioWorklet is not to be had here); null after 3 s without one.
const recordOutput = (frames) => new Promise((resolve) => {
  const c = quillornSound.context, tap = c.createScriptProcessor(2048, 2, 1);
  const samples = [], done = (got) => (tap.disconnect(), resolve(got));
  tap.onaudioprocess = (e) => {
    for (const v of e.inputBuffer.getChannelData(0))
      if (samples.length || Math.abs(v) > 500 / 32768) samples.push(v);
    if (samples.length >= frames) done({samples: samples.slice(0, frames), rate: c.sampleRate});
  };
  setTimeout(() => done(null), 3000);
  quillornSound.output.connect(tap);
  tap.connect(c.destination);
});

const cases = [
  {name: 'as it is', mode: 'page', line: 'AudioWorklet とオフライン再生が使えません', hide: null},
  {name: 'without a ScriptProcessorNode', mode: null, line: '音とオフライン再生が使えません',
    hide: () => { AudioContext.prototype.createScriptProcessor = () => { throw new Error('none'); }; }},
  {name: 'without an audio context', mode: null, line: '音とオフライン再生が使えません',
    hide: () => { delete window.AudioContext; delete window.webkitAudioContext; }},
];

b.run(async (keep) => {
  const {host, args} = lanHost();
  const server = keep(await b.serve(pageDir, '0.0.0.0', 0));
  const browser = keep(await launch(args));
  const url = `http://${host}:${server.port}/index.html?clock=1000`;
  console.log(`the page at ${url}`);
  for (const c of cases) {
    const {page, errors} = await b.newPage(browser);
    if (c.hide) await page.evaluateOnNewDocument(c.hide);
    await b.openAtTitle(page, out, url, c.name);
    if (await page.title() !== 'Quillorn') b.fail(`${c.name}: the title is "${await page.title()}"`);
    const state = await page.evaluate(() => [window.isSecureContext, quillornSound.mode,
      !!navigator.serviceWorker, document.getElementById('notice').hidden ? '' : document.getElementById('notice').textContent]);
    if (state[0] || state[2]) b.fail(`${c.name}: the page is a secure context: nothing was tested`);
    if (!state[3].includes(c.line) || !state[3].includes('https か localhost')) b.fail(`${c.name}: the line is "${state[3]}"`);
    if (c.mode && state[1] !== c.mode) b.fail(`${c.name}: the sound's mode is "${state[1]}", not ${c.mode}`);
    const listen = () => page.evaluate((f) => { __q.tap = eval(f)(4800); }, recordOutput.toString());
    if (c.mode) await listen();
    await page.keyboard.press('ArrowDown');
    await b.showsPicture(page, out, 'cursor', `${c.name}, a key`);
    // A block that the page's thread hands over late is dropped, with the beep it held: a
    // machine under load may lose a beep or two, not three.
    for (let lost = 0; c.mode; ++lost) {
      const heard = await page.evaluate(() => __q.tap);
      if (heard) {
        b.checkPitch(out, 'first-beep', heard, c.name);
        break;
      }
      if (lost === 2) b.fail(`${c.name}: three beeps in a row never sounded`);
      await listen();
      await page.keyboard.press(lost % 2 ? 'ArrowDown' : 'ArrowUp');
    }
    b.noErrors(errors, `${c.name}: `);
    console.log(`${c.name}: plays; the line: ${state[3]}`);
    await page.close();
  }
});
