// The time from a keystroke in a study editor to the criteria table and the chart showing the new
// run, in headless chromium: a study of four return periods (2, 10, 25 and 100 years) with a pond
// designed from its outlets. Prints the median and the worst; the time is reported, never judged.
//
//   node keystroke-time.mjs PAGE_DIR DATA_DIR [KEYSTROKES]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {chromium} from 'playwright-core';

const [pageDir, dataDir] = process.argv.slice(2, 4).map((p) => path.resolve(p));
const KEYSTROKES = Number(process.argv[4] || 60);

const study = JSON.parse(fs.readFileSync(path.join(dataDir, 'example.rhstudy'), 'utf8'));
const rainfall = 'atlas14-fort-myers-fl.csv';
study.storm = {rainfall: {name: rainfall, text: fs.readFileSync(path.join(dataDir, rainfall), 'utf8')},
               return_periods: [2, 10, 25, 100]};
study.pond = JSON.parse(fs.readFileSync(path.join(dataDir, 'example-pond.json'), 'utf8'));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'rh-keystroke-'));
fs.writeFileSync(path.join(work, 'timed.rhstudy'), JSON.stringify(study));

const browser = await chromium.launch({executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                                       headless: true, args: ['--no-sandbox', '--disable-gpu']});
try {
  const page = await browser.newPage({viewport: {width: 1280, height: 900}});
  await page.goto('file://' + path.join(pageDir, 'index.html'));
  await page.waitForFunction(() => document.getElementById('status').textContent === '');
  await page.setInputFiles('#study-open', path.join(work, 'timed.rhstudy'));
  await page.waitForFunction(() => document.getElementById('study-verdict').textContent !== '');
  // Each keystroke types a new value into a basin's area or an outlet's diameter at the start of a
  // frame. Shown: the page marks "study-shown" once the criteria table and the chart hold the new
  // run, in the input event or in the frame it asks for, and the page is laid out.
  const times = await page.evaluate(async (keystrokes) => {
    const nextFrame = () => new Promise((done) => requestAnimationFrame(() => done(performance.now())));
    const editors = [['basin-proposed-area', (n) => String(20 + n % 7)],
                     ['outlet-0-diameter_in', (n) => String(18 + n % 9)]];
    const out = [];
    for (let n = 0; n < keystrokes; ++n) {
      const [id, value] = editors[n % editors.length];
      const field = document.getElementById(id);
      await nextFrame();
      field.value = value(n);
      performance.clearMarks('study-shown');
      const start = performance.now();
      field.dispatchEvent(new Event('input', {bubbles: true}));
      const shown = () => performance.getEntriesByName('study-shown').length > 0;
      // Drawn in the next frame: its callbacks run before this one's.
      if (!shown())
        await nextFrame();
      document.body.getBoundingClientRect();
      const end = performance.now();
      if (!shown())
        throw new Error('the study was not shown again');
      out.push(end - start);
    }
    return out;
  }, KEYSTROKES);
  const sorted = [...times].sort((a, b) => a - b);
  console.log(`  keystroke to study shown: median ${sorted[sorted.length >> 1].toFixed(1)} ms, ` +
              `worst ${sorted[sorted.length - 1].toFixed(1)} ms of ${times.length} (one frame: 16 ms)`);
} finally {
  await browser.close();
  fs.rmSync(work, {recursive: true, force: true});
}
