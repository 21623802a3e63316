// The browser edition in Debian's chromium, headless, checked against the command-line companion:
// every output of a sweep of addresses, refusals, a rainfall table and a pond through the page's
// own controls, and that the page fetches nothing from outside its folder. Reports the time from
// opening the page to the listing shown, and the folder's size.
//
//   node page-test.mjs PAGE_DIR COMPANION DATA_DIR
//
// Closes with "N tests failed out of M" and exits 1 when any failed.
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {chromium} from 'playwright-core';

const [pageDir, companion, dataDir] = process.argv.slice(2).map((p) => path.resolve(p));
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const GOAL_MS = 300;             // opening to listing shown
const MOST_BYTES = 1.5 * 1024 * 1024;  // the whole folder

let failed = 0, total = 0;
async function test(name, body) {
  ++total;
  try {
    await body();
    console.log(`PASS ${name}`);
  } catch (error) {
    ++failed;
    console.log(`FAIL ${name}\n  ${String(error.stack || error).split('\n').join('\n  ')}`);
  }
}
function expectEqual(actual, expected, what) {
  if (actual !== expected) {
    const a = String(actual).split('\n'), e = String(expected).split('\n');
    const line = a.findIndex((l, i) => l !== e[i]);
    throw new Error(`${what} differs at line ${line + 1}: page ${JSON.stringify(a[line])}, ` +
                    `companion ${JSON.stringify(e[line])}`);
  }
}
function expect(condition, what) {
  if (!condition)
    throw new Error(what);
}

// The companion in a folder of its own, where its deck and chart files land.
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'rh-page-test-'));
function runCompanion(args) {
  const run = spawnSync(companion, args, {cwd: work, encoding: 'utf8', env: {...process.env, LC_ALL: 'C'}});
  return {status: run.status, out: run.stdout, err: run.stderr};
}
const readWork = (name) => fs.readFileSync(path.join(work, name), 'utf8');
// Decks carry the day's date in the host's short form: the page's is the browser's.
const undated = (deck) => deck.split('\r\n').filter((l) => !l.startsWith('KM RUN DATE')).join('\r\n');

// The page's folder over HTTP, as any static server would give it.
const server = http.createServer((request, response) => {
  const file = path.join(pageDir, decodeURIComponent(new URL(request.url, 'http://x').pathname));
  if (!file.startsWith(pageDir + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                 '.webmanifest': 'application/manifest+json', '.png': 'image/png'};
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
  response.end(fs.readFileSync(file));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}`;
const pageUrl = pathToFileUrl(path.join(pageDir, 'index.html'));
function pathToFileUrl(p) {
  return 'file://' + p.split(path.sep).map(encodeURIComponent).join('/');
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'rh-page-profile-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: CHROMIUM,
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--no-first-run', '--disable-sync'],
});
// Nothing may come from outside the page's folder: every other request is refused and noted.
const outside = [];
const inFolder = (url) => url.startsWith(origin + '/') || url.startsWith('blob:') ||
                          url.startsWith('data:') || url.startsWith(pathToFileUrl(pageDir) + '/');
await context.route('**/*', (route) => {
  const url = route.request().url();
  if (inFolder(url))
    return route.continue();
  outside.push(url);
  return route.abort();
});
context.on('request', (request) => {
  if (!inFolder(request.url()))
    outside.push(request.url());
});
const page = context.pages()[0] || await context.newPage();
const pageErrors = [];
page.on('pageerror', (error) => pageErrors.push(error.message));

// Opens an address and waits for the run's listing or warning, or, for an address without a run,
// for the core to be ready.
async function open(url) {
  await page.goto(url);
  await page.waitForFunction(
      () => document.getElementById('listing').textContent !== '' ||
            !document.getElementById('message').hidden || location.search === '' &&
            document.getElementById('status').textContent === '');
}
async function generate() {
  await page.evaluate(() => {
    document.getElementById('listing').textContent = '';
    document.getElementById('message').hidden = true;
  });
  await page.click('#generate');
  await page.waitForFunction(
      () => document.getElementById('listing').textContent !== '' ||
            !document.getElementById('message').hidden);
}
// The text behind a download link ("" when it offers none).
const downloaded = (id) => page.evaluate(async (id) => {
  const link = document.getElementById(id);
  return link.hidden || !link.href ? '' : (await fetch(link.href)).text();
}, id);
// A download's bytes, as a latin1 string so that binary files compare byte for byte.
const downloadedBytes = async (id) => Buffer.from(await page.evaluate(async (id) => {
  const link = document.getElementById(id);
  return link.hidden || !link.href ? [] : Array.from(new Uint8Array(await (await fetch(link.href)).arrayBuffer()));
}, id)).toString('latin1');
// A PDF with its dates blanked: the printed date and the document's creation and change dates.
const undatedPdf = (pdf) => pdf.replace(/D:\d{14}Z/g, 'D:')
  .replace(/(January|February|March|April|May|June|July|August|September|October|November|December) \d{1,2}, \d{4}/g, 'DATE');
const text = (id) => page.evaluate((id) => document.getElementById(id).textContent, id);
// The warning: its title, its text, and the field whose row holds it.
const warning = () => page.evaluate(() => {
  const message = document.getElementById('message');
  const field = message.closest('.field');
  return {
    shown: !message.hidden,
    title: message.querySelector('strong')?.textContent,
    text: message.textContent.slice((message.querySelector('strong')?.textContent.length || 0) + 1),
    field: field ? field.querySelector('input').id : '',
    focused: document.activeElement.id,
  };
});
// The companion's warning "TITLE: TEXT" on standard error, or its usage error's first line.
function companionWarning(run) {
  const line = run.err.split('\n')[0];
  if (run.status === 64)
    return {text: line.replace(/^rational-hydrograph-cli: /, '')};
  const colon = line.indexOf(': ');
  return {title: line.slice(0, colon), text: line.slice(colon + 2)};
}

// A sweep of addresses: the listing, the check, the CSV table, the chart and the deck, each as the
// companion makes them for the same entries.
const sweep = [
  {tc: '10', rain: '2.5', area: '100', coef: '.85', peak: '250'},
  {tc: '15', rain: '2.5', area: '100', coef: '.85', peak: '250', hec1: '1'},
  {tc: '5', rain: '1.8', area: '12.5', coef: '.4', peak: 'chart'},
  {tc: '4.5', rain: '3', area: '640', coef: '.95', peak: 'chart'},
  {tc: '30', rain: '2', area: '1000', coef: '.6', peak: 'chart', hec1: '1'},
  {tc: '120', rain: '4.25', area: '50', coef: '.3', peak: '20'},
  {tc: ' 7.4', rain: '2.5in', area: '100 ', coef: '0.85', peak: '450cfs'},
  {tc: '360', rain: '2', area: '10', coef: '.5', peak: 'chart'},
  {tc: '12', rain: '2.5', area: '1e3', coef: '.7', peak: 'chart', hec1: '1'},
];
for (const run of sweep) {
  const query = new URLSearchParams(run).toString();
  await test(`address ?${query}`, async () => {
    const args = ['--tc', run.tc, '--rain', run.rain, '--area', run.area, '--coef', run.coef,
                  '--peak', run.peak];
    const deck = run.hec1 ? ['--hec1', 'RUN.HC1'] : [];
    const listed = runCompanion([...args, ...deck]);
    const checked = runCompanion([...args, ...deck, '--check', '--plot', 'chart.svg']);
    const table = runCompanion([...args, ...deck, '--csv']);
    expect(listed.status === 0 && checked.status === 0 && table.status === 0,
           `companion failed: ${listed.err}${checked.err}${table.err}`);
    await open(`${origin}/index.html?${query}`);
    expectEqual(await text('listing'), listed.out, 'listing');
    expectEqual(await text('listing') + await text('check'), checked.out, 'listing and check');
    expectEqual(await downloaded('download-listing'), listed.out, 'listing download');
    expectEqual(await downloaded('download-csv'), table.out, 'CSV table');
    expectEqual(await downloaded('download-svg'), readWork('chart.svg'), 'chart');
    expectEqual(undated(await downloaded('download-deck')), run.hec1 ? undated(readWork('RUN.HC1')) : '',
                'HEC-1 deck');
  });
}

// Refusals through the page's own fields, typed at a phone's width and sent with Enter: the
// companion's warning, beside the field it is about, which takes the focus.
await page.setViewportSize({width: 375, height: 740});
const good = {tc: '10', rain: '2.5', area: '100', coef: '.85', peak: '250'};
const refusals = [
  {name: 'short time of concentration', entries: {tc: '4.4'}, field: 'tc'},
  {name: 'blank basin area', entries: {area: '  '}, field: 'area'},
  {name: 'coefficient above 1', entries: {coef: '1.5'}, field: 'coef'},
  {name: 'rainfall with a decimal comma', entries: {rain: '2,5'}, field: 'rain'},
];
for (const refusal of refusals) {
  await test(`refusal: ${refusal.name}`, async () => {
    const entries = {...good, ...refusal.entries};
    const run = runCompanion(Object.entries(entries).flatMap(([k, v]) => [`--${k}`, v]));
    expect(run.status === 2, `companion status ${run.status}`);
    await open(`${origin}/index.html`);
    for (const [id, value] of Object.entries(entries))
      await page.fill(`#${id}`, value);
    await page.press('#peak', 'Enter');
    await page.waitForFunction(() => !document.getElementById('message').hidden);
    const shown = await warning();
    const expected = companionWarning(run);
    expectEqual(shown.title, expected.title, 'warning title');
    expectEqual(shown.text, expected.text, 'warning text');
    expectEqual(shown.field, refusal.field, 'field beside the warning');
    expectEqual(shown.focused, refusal.field, 'focused field');
    expectEqual(await text('listing'), '', 'listing of a refused run');
    // What was typed is the address of the run.
    const query = new URLSearchParams(await page.evaluate(() => location.search));
    for (const [id, value] of Object.entries(entries))
      expectEqual(query.get(id) ?? '', value, `address ${id}`);
  });
}
await test('a phone\'s width needs no sideways scrolling', async () => {
  await open(`${origin}/index.html?${new URLSearchParams(good)}`);
  expect(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth),
         'the page is wider than the screen');
});
await page.setViewportSize({width: 1280, height: 900});

// A rainfall table from disk through the file picker, with and without its return period.
const atlas = path.join(dataDir, 'atlas14-fort-myers-fl.csv');
await test('rainfall table with its return period and the chart peak', async () => {
  const run = runCompanion(['--tc', '10', '--rainfall', atlas, '--ari', '100', '--area', '100',
                            '--coef', '.85', '--peak', 'chart', '--check']);
  expect(run.status === 0, run.err);
  await open(`${origin}/index.html`);
  await page.setInputFiles('#rainfall', atlas);
  for (const [id, value] of Object.entries({tc: '10', area: '100', coef: '.85', ari: '100'}))
    await page.fill(`#${id}`, value);
  await page.check('#peak-chart');
  await generate();
  // The listing and check name the table by the file's name alone, as picked.
  expectEqual(await text('listing') + await text('check'), run.out.split(atlas).join(path.basename(atlas)),
              'listing and check');
});
await test('rainfall table without the return period it needs', async () => {
  const run = runCompanion(['--tc', '10', '--rainfall', atlas, '--area', '100', '--coef', '.85',
                            '--peak', 'chart']);
  expect(run.status === 64, `companion status ${run.status}`);
  await page.fill('#ari', '');
  await generate();
  const shown = await warning();
  expectEqual(shown.field, 'ari', 'field beside the warning');
  // The companion's words, with the page's box in place of its option.
  const periods = companionWarning(run).text.split('one of: ')[1];
  expect(!shown.text.includes('--') && shown.text.endsWith(`pick a return period, one of: ${periods}`),
         `warning text ${shown.text}`);
});

// A pond table from disk through its picker, routed and refused. Until the companion routes ponds
// the page's run is held to the companion's unrouted listing with the pond's section after it.
const pondFile = path.join(dataDir, 'example-pond.csv');
const pondArgs = ['--tc', '10', '--rain', '2.5', '--area', '100', '--coef', '.85', '--peak', '250'];
const routed = runCompanion([...pondArgs, '--pond', pondFile, '--pond-csv', 'pond.csv',
                             '--study', 'study.pdf']);
const companionRoutes = routed.status === 0 && routed.out.includes('PEAK OUTFLOW');
if (!companionRoutes)
  console.log('  (the companion routes no ponds yet: the pond checks are partial)');
await test('pond table routed', async () => {
  await open(`${origin}/index.html?${new URLSearchParams(good)}`);
  await page.setInputFiles('#pond', pondFile);
  await generate();
  const listing = await text('listing'), summary = await text('pond-summary');
  if (companionRoutes) {
    expectEqual(listing, routed.out.split(pondFile).join(path.basename(pondFile)), 'listing');
    expectEqual(await downloaded('download-pond'), readWork('pond.csv'), 'routed pond table');
    // The study document: the companion's bytes, once the dates are blanked.
    expectEqual(undatedPdf(await downloadedBytes('download-study-pdf')),
                undatedPdf(fs.readFileSync(path.join(work, 'study.pdf')).toString('latin1')),
                'study document');
  } else {
    expectEqual(listing, runCompanion(pondArgs).out + summary, 'listing and pond section');
    expect((await downloaded('download-pond')).startsWith('time_min,'), 'no routed pond table');
  }
  expect(summary.includes('PEAK OUTFLOW'), 'no pond section');
});
await test('pond table refused beside its picker', async () => {
  fs.writeFileSync(path.join(work, 'bad-pond.csv'), 'stage_ft,storage_acft,outflow_cfs\n0,0,0\n');
  const run = runCompanion([...pondArgs, '--pond', 'bad-pond.csv']);
  await page.setInputFiles('#pond', path.join(work, 'bad-pond.csv'));
  await generate();
  const shown = await warning();
  expectEqual(shown.field, 'pond', 'field beside the warning');
  if (companionRoutes)
    expectEqual(`${shown.title}: ${shown.text}`, run.err.trimEnd(), 'warning');
  else
    expectEqual(shown.title, 'ERROR In Pond Table', 'warning title');
});


// A study through the page's controls: opened, given the tables it names by path, judged as the
// companion judges the study the page saves, edited, and saved and reopened byte for byte.
const studyFile = path.join(dataDir, 'example.rhstudy');
const verdictShown = () => page.waitForFunction(
    () => document.getElementById('study-verdict').textContent !== '' ||
          !document.getElementById('message').hidden);
// The page's saved study, judged by the companion: its criteria table and study document.
async function judgedBySaved() {
  const saved = await downloaded('download-study');
  const name = await page.evaluate(() => document.getElementById('download-study').download);
  fs.writeFileSync(path.join(work, name), saved);
  const run = runCompanion(['--study-file', name, '--study', 'saved.pdf']);
  expect(run.status === 0 || run.status === 5, `companion status ${run.status}: ${run.err}`);
  return {saved, run, criteria: run.out};
}
async function pickStudy(file) {
  await page.evaluate(() => {
    document.getElementById('study-verdict').textContent = '';
    document.getElementById('message').hidden = true;
  });
  await page.setInputFiles('#study-open', file);
  await verdictShown();
}
let savedStudy = '';
await test('study opened with its tables: the companion\'s criteria and document', async () => {
  await page.evaluate(() => localStorage.clear());
  await open(`${origin}/index.html`);
  await pickStudy(studyFile);
  for (const [picker, table] of [['study-rainfall', 'atlas14-fort-myers-fl.csv'],
                                 ['study-pond', 'example-pond.json']]) {
    const shown = await warning();
    expectEqual(shown.field, picker, 'picker the study asks for');
    expect(shown.text.includes(table), `no name of the table: ${shown.text}`);
    await page.evaluate(() => { document.getElementById('message').hidden = true; });
    await page.setInputFiles(`#${picker}`, path.join(dataDir, table));
    await verdictShown();
  }
  const {saved, run, criteria} = await judgedBySaved();
  expectEqual(run.status, 0, 'companion status');
  expectEqual(await text('criteria-table'), criteria, 'criteria table');
  expectEqual(await text('study-verdict'), 'PASS', 'verdict');
  await page.waitForFunction(() => !document.getElementById('download-study-pdf').hidden);
  expectEqual(undatedPdf(await downloadedBytes('download-study-pdf')),
              undatedPdf(fs.readFileSync(path.join(work, 'saved.pdf')).toString('latin1')),
              'study document');
  expect(saved.includes('"text"') && !saved.includes('"example-pond.json"'), 'tables not held');
  expectEqual(await page.evaluate(() => document.querySelectorAll('#chart .legend li').length),
              4, 'legend entries: three storms and the key');
  expectEqual(await page.evaluate(() => document.querySelectorAll('#chart path').length), 6,
              'an inflow and an outflow curve per storm');
  await page.hover('#chart svg');
  expect(/^\d+ min .*2-yr: in ([\d.]+|—) cfs, out [\d.]+ cfs; 10-yr: .*100-yr: /.test(await text('chart-readout')),
         `readout ${await text('chart-readout')}`);
  await page.focus('#chart svg');
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowRight');
  expect(/^\d+ min \(0\.\d\d h\) — 2-yr: in [\d.]+ cfs/.test(await text('chart-readout')),
         `readout from the keyboard ${await text('chart-readout')}`);
});
await test('an outlet edited: PASS turns to FAIL, a refusal keeps the last results', async () => {
  await page.fill('#outlet-0-diameter_in', '60');
  await page.waitForFunction(() => document.getElementById('study-verdict').textContent === 'FAIL');
  const {run, criteria} = await judgedBySaved();
  expectEqual(run.status, 5, 'companion status');
  expectEqual(await text('criteria-table'), criteria, 'criteria table');
  await page.fill('#basin-proposed-coef', '1.5');
  await page.waitForFunction(() => !document.getElementById('message').hidden);
  const shown = await page.evaluate(() => ({
    describedBy: document.getElementById('basin-proposed-coef').getAttribute('aria-describedby'),
    message: document.getElementById('message').textContent,
  }));
  expectEqual(shown.describedBy, 'message', 'field described by the warning');
  expect(shown.message.includes('the proposed runoff coefficient is 1.5'), `warning ${shown.message}`);
  expectEqual(await text('criteria-table'), criteria, 'criteria table while refused');
  await page.fill('#basin-proposed-coef', '0.85');
  await page.waitForFunction(() => document.getElementById('message').hidden);
  // A refusal that names no key stands beside the entry just changed.
  await page.fill('#outlet-1-crest_ft', '99');
  await page.waitForFunction(() => document.getElementById('outlet-1-crest_ft').getAttribute('aria-invalid'));
  await page.fill('#outlet-1-crest_ft', '105');
  await page.waitForFunction(() => document.getElementById('message').hidden);
  // No return period picked is refused beside the storms, not read as every one.
  const picked = await page.$$('#storm-return-periods input:checked');
  for (const box of picked)
    await box.uncheck();
  expectEqual((await warning()).field, '', 'warning beside a field row');
  expect(await page.evaluate(() => document.getElementById('message').closest('#storm') !== null),
         'warning not beside the return periods');
  for (const box of picked)
    await box.check();
  await page.waitForFunction(() => document.getElementById('message').hidden);
  savedStudy = (await judgedBySaved()).saved;
});
const reopenings = [
  ['the file picker', async () => pickStudy(path.join(work, 'example.rhstudy'))],
  ['the browser\'s storage', async () => {
    await page.goto(`${origin}/index.html`);
    await verdictShown();
  }],
  ['its address', async () => {
    // Written once the entries rest, after the frame that shows them.
    await page.waitForFunction(() => location.hash.startsWith('#study='));
    const address = await page.evaluate(() => location.href);
    expect(address.includes('#study='), `no study in the address ${address}`);
    await page.evaluate(() => localStorage.clear());
    await page.goto('about:blank');
    await page.goto(address);
    await verdictShown();
  }],
];
for (const [how, reopen] of reopenings) {
  await test(`study reopened from ${how} saves the same bytes`, async () => {
    await reopen();
    expectEqual(await text('study-verdict'), 'FAIL', 'verdict');
    expectEqual(await downloaded('download-study'), savedStudy, 'saved study');
  });
}
// Each editor as the companion judges the study the page then saves.
const studyEdits = [
  ['the 100-year storm left out', () => page.uncheck('#storm-return-periods input[value="100"]')],
  ['an outlet added', async () => {
    await page.click('#outlet-add');
    await page.fill('#outlet-4-diameter_in', '4');
    await page.fill('#outlet-4-invert_ft', '101');
  }],
  ['that outlet removed', () => page.click('#outlet-4-remove')],
  ['a barrel of 18 in', () => page.fill('#barrel-diameter_in', '18')],
  ['a top of the pond of 103 ft', () => page.fill('#pond-top_ft', '103')],
  ['the low orifice sized', async () => {
    await page.fill('#size-device', 'low');
    await page.selectOption('#size-dimension', 'diameter_in');
    await page.fill('#size-min', '6');
    await page.fill('#size-max', '48');
  }],
  ['the sized orifice renamed', () => page.fill('#outlet-0-name', 'small')],
];
for (const [name, edit] of studyEdits) {
  await test(`study edited: ${name}`, async () => {
    const before = await text('criteria-table');
    await edit();
    await page.waitForFunction((before) => document.getElementById('message').hidden &&
                                           document.getElementById('criteria-table').textContent !== before,
                               before);
    const {run, criteria} = await judgedBySaved();
    expectEqual(await text('criteria-table'), criteria, 'criteria table');
    expectEqual(await text('study-verdict'), run.status === 0 ? 'PASS' : 'FAIL', 'verdict');
    expectEqual(await text('size-result'), criteria.split('\n').find((l) => l.startsWith('SIZING')) ?? '',
                'sizing');
  });
}
// A study file the core refuses as it opens: the companion's warning, beside the file's picker.
// A study on the county chart, its 6-hour rainfall edited: as the companion judges it.
await test('study on the county chart, its rainfall edited', async () => {
  const county = JSON.parse(fs.readFileSync(studyFile, 'utf8'));
  county.storm = {p6_in: 2.5};
  county.pond = JSON.parse(fs.readFileSync(path.join(dataDir, 'example-pond.json'), 'utf8'));
  fs.writeFileSync(path.join(work, 'county.rhstudy'), JSON.stringify(county));
  await pickStudy(path.join(work, 'county.rhstudy'));
  const before = await text('criteria-table');
  await page.fill('#storm-p6', '3.5');
  await page.waitForFunction((before) => document.getElementById('criteria-table').textContent !== before, before);
  const {criteria} = await judgedBySaved();
  expectEqual(await text('criteria-table'), criteria, 'criteria table');
  expect(criteria.includes('County chart'), 'not on the county chart');
});
// Keystrokes that move the chart's flow axis redraw its grid and move its curves: the chart is
// then the one the saved study draws when it opens in a page of its own.
await test('study chart after keystrokes: as the saved study draws it anew', async () => {
  const fresh = await context.newPage();
  try {
    await fresh.setViewportSize(page.viewportSize());
    for (const area of ['200', '20']) {
      const before = await text('criteria-table');
      await page.fill('#basin-proposed-area', area);
      await page.waitForFunction((before) => document.getElementById('criteria-table').textContent !== before, before);
      const moved = await page.evaluate(() => document.getElementById('chart').innerHTML);
      const code = zlib.deflateRawSync(Buffer.from(await downloaded('download-study'))).toString('base64url');
      await fresh.goto('about:blank');
      await fresh.goto(`${origin}/index.html#study=${code}`);
      await fresh.waitForFunction(() => document.getElementById('study-verdict').textContent !== '');
      expectEqual(await fresh.evaluate(() => document.getElementById('chart').innerHTML), moved,
                  `chart at ${area} acres`);
    }
  } finally {
    await fresh.close();
  }
});
const badStudies = [
  ['an unknown key', (study) => ({...study, colour: 'blue'})],
  ['a coefficient above 1', (study) => ({...study, basins: [{...study.basins[0], c: 1.5}, study.basins[1]]})],
];
for (const [name, change] of badStudies) {
  await test(`study file refused: ${name}`, async () => {
    // A name of its own: picking the file the picker holds already changes nothing.
    const bad = `bad-${badStudies.findIndex(([n]) => n === name)}.rhstudy`;
    const file = path.join(work, bad);
    fs.writeFileSync(file, JSON.stringify(change(JSON.parse(fs.readFileSync(studyFile, 'utf8')))));
    const run = runCompanion(['--study-file', bad]);
    await pickStudy(file);
    const shown = await warning();
    expectEqual(shown.field, 'study-open', 'field beside the warning');
    expectEqual(`${shown.title}: ${shown.text}`, run.err.trimEnd(), 'warning');
  });
}
await test('an address with a run wins over the stored study', async () => {
  await open(`${origin}/index.html?${new URLSearchParams(good)}`);
  expectEqual(await text('study-verdict'), '', 'study shown');
});
await test('at 360 px no element is wider than its box', async () => {
  await page.setViewportSize({width: 360, height: 740});
  await open(`${origin}/index.html`);
  await verdictShown();
  const wide = await page.evaluate(() => {
    const scrolls = (e) => ['auto', 'scroll'].includes(getComputedStyle(e).overflowX);
    const out = [];
    for (const e of document.body.querySelectorAll('*')) {
      const parent = e.parentElement;
      if (e.closest('[hidden]') || !e.getClientRects().length || scrolls(parent) ||
          parent.closest('pre'))
        continue;
      if (e.getBoundingClientRect().right > parent.getBoundingClientRect().right + 0.5 &&
          !scrolls(parent))
        out.push(e.id || e.tagName);
    }
    return out;
  });
  expectEqual(wide.join(' '), '', 'elements wider than their box');
  const smallest = await page.evaluate(() => {
    const svg = document.querySelector('#chart svg');
    const scale = svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
    return Math.min(...Array.from(svg.querySelectorAll('text'),
                                  (t) => scale * parseFloat(getComputedStyle(t).fontSize)));
  });
  expect(smallest >= 10, `chart text of ${smallest} px`);
  expect(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth),
         'the page is wider than the screen');
  await page.setViewportSize({width: 1280, height: 900});
});
await test('installable: its manifest and icons, and kept for offline use', async () => {
  const manifest = JSON.parse(fs.readFileSync(path.join(pageDir, 'manifest.webmanifest'), 'utf8'));
  expectEqual(manifest.display, 'standalone', 'display');
  const sizes = manifest.icons.map((icon) => {
    const png = fs.readFileSync(path.join(pageDir, icon.src));
    return `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`;
  });
  expectEqual(sizes.join(' '), '192x192 512x512', 'icon sizes');
  const kept = await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    const cache = await caches.open('rational-hydrograph-page');
    return Boolean(await cache.match('rational-hydrograph.js'));
  });
  expect(kept, 'the core is not kept for offline use');
  // Without a network the kept folder answers, and a run works as before.
  await context.setOffline(true);
  try {
    await open(`${origin}/index.html?${new URLSearchParams(good)}`);
    expectEqual(await text('listing'), runCompanion(Object.entries(good).flatMap(([k, v]) => [`--${k}`, v])).out,
                'listing offline');
  } finally {
    await context.setOffline(false);
  }
});

// Opened from disk: it works, and the time from opening to the listing shown.
const times = [];
await test('opened from disk, the listing within the goal', async () => {
  for (let i = 0; i < 7; ++i) {
    await open(`${pageUrl}?${new URLSearchParams(good)}`);
    times.push(await page.evaluate(() => performance.getEntriesByName('listing-shown')[0].startTime));
  }
  expectEqual(await text('listing'), runCompanion(['--tc', '10', '--rain', '2.5', '--area', '100',
                                                   '--coef', '.85', '--peak', '250']).out, 'listing');
  const sorted = [...times].sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  console.log(`  opening to listing shown: first ${times[0].toFixed(0)} ms, median ` +
              `${median.toFixed(0)} ms of ${times.length} (goal ${GOAL_MS} ms)`);
  // A loaded machine may miss the goal now and then; three times over it is a fault.
  expect(median <= 3 * GOAL_MS, `median ${median.toFixed(0)} ms`);
});

await test('nothing fetched from outside the page\'s folder, no script errors', async () => {
  expectEqual(outside.join(' '), '', 'requests outside the folder');
  expectEqual(pageErrors.join(' '), '', 'script errors');
});
await test('the folder is at most 1.5 MiB', async () => {
  const files = fs.readdirSync(pageDir);
  const bytes = files.reduce((sum, f) => sum + fs.statSync(path.join(pageDir, f)).size, 0);
  console.log(`  ${files.length} files, ${bytes} bytes (${(bytes / 1024).toFixed(0)} KiB of 1536)`);
  expect(bytes <= MOST_BYTES, `${bytes} bytes`);
});

await context.close();
server.close();
fs.rmSync(work, {recursive: true, force: true});
fs.rmSync(profile, {recursive: true, force: true});
console.log(`\n${failed} tests failed out of ${total}`);
process.exit(failed === 0 ? 0 : 1);
