// The page's side of the browser edition: it reads the fields and the picked files, hands them to
// the core (RationalHydrograph, compiled from the program's C++), and shows what the core returns.
// The page decides nothing about the hydrograph: reading the entries, refusing them and every
// number come from the core.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const ENTRIES = ['tc', 'rain', 'area', 'coef', 'peak'];
  const DEFAULT_DECK = 'RUN.HC1';

  let core = null;          // the core, once its WebAssembly is ready
  let studyShown = false;   // the last thing run was the study
  let runWhenReady = false;  // Generate was asked for before that
  const picked = {rainfall: null, pond: null};  // {name, bytes} of the files chosen
  const reading = {rainfall: null, pond: null};  // the reads of picked files still going on
  const downloads = {};     // object URLs of the downloads, by link id

  const tableStorm = () => $('storm-table').checked;
  const chartPeak = () => $('peak-chart').checked;

  // Fields the current choices do not read are disabled and hidden from the address.
  function applyChoices() {
    for (const field of document.querySelectorAll('[data-storm]'))
      field.hidden = field.dataset.storm !== (tableStorm() ? 'table' : 'chart');
    $('peak').disabled = chartPeak();
    $('deck').disabled = !$('hec1').checked;
  }

  // A run is an address: ?tc=10&rain=2.5&area=100&coef=.85&peak=250 (peak=chart for the chart
  // peak), hec1=1 for the deck, deck=NAME, ari=YEARS.
  function readAddress() {
    const query = new URLSearchParams(location.search);
    for (const id of ENTRIES) {
      if (query.has(id))
        $(id).value = query.get(id);
    }
    if ((query.get('peak') || '').trim().toLowerCase() === 'chart') {
      $('peak-chart').checked = true;
      $('peak').value = '';
    }
    $('hec1').checked = query.get('hec1') === '1';
    if (query.has('deck'))
      $('deck').value = query.get('deck');
    if (query.has('ari')) {
      $('ari').value = query.get('ari');
      $('storm-table').checked = true;
    }
    applyChoices();
    return ENTRIES.some((id) => query.has(id));
  }

  function writeAddress() {
    const query = new URLSearchParams();
    for (const id of ENTRIES) {
      if (id === 'peak' && chartPeak())
        query.set('peak', 'chart');
      else if (!$(id).disabled && !$(id).closest('[hidden]') && $(id).value !== '')
        query.set(id, $(id).value);
    }
    if ($('hec1').checked) {
      query.set('hec1', '1');
      if ($('deck').value !== DEFAULT_DECK)
        query.set('deck', $('deck').value);
    }
    if (tableStorm() && $('ari').value !== '')
      query.set('ari', $('ari').value);
    const search = query.toString();
    history.replaceState(null, '', search ? '?' + search : location.pathname);
  }

  function request() {
    const rainfall = tableStorm() ? picked.rainfall : null;
    const pond = picked.pond;
    return {
      tc: $('tc').value,
      rain: tableStorm() ? '' : $('rain').value,
      area: $('area').value,
      coef: $('coef').value,
      peak: chartPeak() ? '' : $('peak').value,
      chartPeak: chartPeak(),
      hec1: $('hec1').checked,
      deck: $('deck').value,
      rainfallName: rainfall ? rainfall.name : '',
      rainfallText: rainfall ? rainfall.bytes : '',
      ari: tableStorm() ? $('ari').value : '',
      pondName: pond ? pond.name : '',
      pondText: pond ? pond.bytes : '',
      today: new Date().toLocaleDateString(),
      now: Date.now() / 1000,
    };
  }

  function clearMessage() {
    const message = $('message');
    message.hidden = true;
    message.textContent = '';
    // Back to its place below the buttons: the row it stood in may be rebuilt.
    const actions = document.querySelector('.actions');
    if (actions.nextElementSibling !== message)
      actions.after(message);
    for (const field of document.querySelectorAll('[aria-invalid]')) {
      field.removeAttribute('aria-invalid');
      field.removeAttribute('aria-describedby');
    }
  }

  // The warning, beside the field it is about (or below the buttons for the run as a whole).
  function showMessage(title, text, fieldId, focus = true) {
    const message = $('message');
    const title_ = document.createElement('strong');
    title_.textContent = title;
    message.replaceChildren(title_, document.createTextNode(' ' + text));
    let field = fieldId ? $(fieldId) : null;
    // With a rainfall table the 6-hour rainfall box is hidden: the table takes its place.
    if (field && field.closest('#entries') && field.closest('[hidden]'))
      field = $('rainfall');
    if (field)
      (field.closest('.field, .basin-grid, .outlet, fieldset') || field.parentNode).append(message);
    else if (studyShown)
      $('study').after(message);
    else
      document.querySelector('.actions').after(message);
    message.hidden = false;
    if (field) {
      field.setAttribute('aria-invalid', 'true');
      field.setAttribute('aria-describedby', 'message');
      if (focus)
        field.focus();
    }
  }

  function setDownload(id, text, type, name) {
    const link = $(id);
    if (downloads[id])
      URL.revokeObjectURL(downloads[id]);
    delete downloads[id];
    if (!text) {
      link.removeAttribute('href');
      link.hidden = true;
      return;
    }
    downloads[id] = URL.createObjectURL(new Blob([text], {type}));
    link.href = downloads[id];
    if (name)
      link.download = name;
    link.hidden = false;
  }

  function show(run) {
    studyShown = false;
    clearMessage();
    const refused = run.warningTitle !== '';
    if (refused)
      showMessage(run.warningTitle, run.warningText, run.warningEntry);
    $('results').hidden = refused;
    $('listing').textContent = run.listing;
    setDownload('download-listing', run.listing, 'text/plain');
    setDownload('download-csv', run.csv, 'text/csv');
    // The deck's own name, without any folders typed before it.
    setDownload('download-deck', run.deck, 'text/plain',
                $('deck').value.split(/[\\/]/).pop() || DEFAULT_DECK);
    setDownload('download-svg', run.svg, 'image/svg+xml');
    setDownload('download-pond', run.pondCsv, 'text/csv');
    // A copy: the core's buffer is reused by the next run.
    document.querySelector('#results .downloads').append($('download-study-pdf'));
    setDownload('download-study-pdf', run.study ? new Uint8Array(core.studyPdf()) : null,
                'application/pdf');

    const plot = $('plot');
    if (run.svg) {
      const image = document.createElement('img');
      image.src = downloads['download-svg'];
      image.alt = 'Chart of the hydrograph';
      plot.replaceChildren(image);
    } else {
      plot.textContent = run.plotProblem;
    }
    $('check').textContent = run.check || run.checkProblem;
    $('pond-summary').textContent = run.pondSummary;
    $('pond-summary').hidden = run.pondSummary === '';
    if (!refused)
      performance.mark('listing-shown');
  }

  async function runNow() {
    await Promise.all(Object.values(reading));
    show(core.run(request()));
  }

  async function generate() {
    writeAddress();
    if (!core) {
      runWhenReady = true;
      return;
    }
    await runNow();
  }

  function pick(which) {
    const file = $(which).files[0];
    picked[which] = null;
    if (!file)
      return;
    if (which === 'rainfall') {
      $('storm-table').checked = true;
      applyChoices();
      writeAddress();
    }
    reading[which] = file.arrayBuffer().then((bytes) => {
      picked[which] = {name: file.name, bytes: new Uint8Array(bytes)};
    });
  }


  // The study: its file as the page holds it, the tables picked for the ones it names by path,
  // and the return periods its rainfall table offers. Every number and refusal is the core's; the
  // page sends the editors' entries as typed.
  const STORE = 'rational-hydrograph-study';
  const DOCUMENT_DELAY_MS = 300;
  let documentTimer = 0;
  const study = {name: '', text: '', opened: false, rainfall: null, pond: null, periods: []};
  const decoder = new TextDecoder();

  function studyEdits() {
    const edits = {};
    for (const field of document.querySelectorAll('#study-editors [data-edit]')) {
      if (!field.disabled && !field.closest('[hidden]'))
        edits[field.id] = field.value;
    }
    // A table without return periods has none to pick.
    if (!$('storm').hidden && $('storm-p6-field').hidden && study.periods.length) {
      edits['storm-return-periods'] = Array.from(
          document.querySelectorAll('#storm-return-periods input:checked'), (box) => box.value)
          .join(',');
    }
    return edits;
  }

  function studyRequest() {
    return {
      name: study.name, text: study.text, opened: study.opened,
      rainfallName: study.rainfall ? study.rainfall.name : '',
      rainfallText: study.rainfall ? study.rainfall.text : '',
      pondName: study.pond ? study.pond.name : '',
      pondText: study.pond ? study.pond.text : '',
      edits: study.opened ? '{}' : JSON.stringify(studyEdits()),
    };
  }

  function fieldRow(id, label, value) {
    const row = document.createElement('div');
    row.className = 'field';
    const name = document.createElement('label');
    name.htmlFor = id;
    name.textContent = label;
    const input = document.createElement('input');
    input.id = id;
    input.dataset.edit = '';
    input.spellcheck = false;
    input.value = value === undefined || value === null ? '' : String(value);
    if (label === 'name')
      input.dataset.was = input.value;  // the name a sizing may know the outlet by
    row.append(name, input);
    return row;
  }

  // The outlets' fields, one group per outlet with a field per key it has.
  function showOutlets(outlets) {
    const list = $('outlet-list');
    list.replaceChildren();
    (outlets || []).forEach((outlet, n) => {
      const group = document.createElement('fieldset');
      group.className = 'outlet';
      const legend = document.createElement('legend');
      legend.textContent = `Outlet ${n + 1}` + (outlet.name ? ` (${outlet.name})` : '');
      group.append(legend);
      // The device's kind first, then its measures as the file lists them.
      const first = ['type', 'name', 'shape'].filter((key) => key in outlet);
      const keys = [...first, ...Object.keys(outlet).filter((key) => !first.includes(key))];
      for (const key of keys)
        group.append(fieldRow(`outlet-${n}-${key}`, key, outlet[key]));
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.className = 'plain';
      remove.id = `outlet-${n}-remove`;
      remove.textContent = 'Remove this outlet';
      remove.addEventListener('click', () => changeOutlets((all) => all.splice(n, 1)));
      group.append(remove);
      list.append(group);
    });
  }

  // Adds or removes an outlet: what the outlet fields hold goes into the study as typed (the core
  // reads it on the next run), then the list changes and runs again.
  function changeOutlets(change) {
    const held = JSON.parse(study.text);
    const outlets = held.pond.outlets || (held.pond.outlets = []);
    for (const field of document.querySelectorAll('#outlet-list [data-edit]')) {
      const [, n, key] = field.id.match(/^outlet-(\d+)-(.+)$/);
      if (outlets[n])
        outlets[n][key] = field.value;
    }
    change(outlets);
    study.text = JSON.stringify(held, null, 2);
    clearMessage();
    showOutlets(outlets);
    runStudy();
  }

  // The editors, filled from the study the core returned.
  function showEditors(held) {
    const basins = held.basins || [];
    for (const role of ['existing', 'proposed']) {
      const basin = basins.find((b) => (b.role || 'proposed') === role);
      const keys = {tc: 'tc_min', area: 'area_acres', coef: 'c', peak: 'peak_cfs'};
      for (const [entry, key] of Object.entries(keys)) {
        const field = $(`basin-${role}-${entry}`);
        field.disabled = !basin;
        field.value = basin && basin[key] !== undefined ? String(basin[key]) : '';
      }
    }
    const storm = held.storm || {};
    const chart = storm.p6_in !== undefined;
    $('storm').hidden = !storm.rainfall && !chart;
    $('storm-p6-field').hidden = !chart;
    $('storm-p6').value = chart ? String(storm.p6_in) : '';
    const picked = (storm.return_periods || study.periods).map(Number);
    $('storm-return-periods').replaceChildren(...study.periods.map((period) => {
      const label = document.createElement('label');
      label.className = 'choice period';
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.value = period;
      box.checked = picked.includes(Number(period));
      label.append(box, ` ${period}-yr`);
      return label;
    }));
    const pond = held.pond && typeof held.pond === 'object' ? held.pond : null;
    $('pond-editor').hidden = !pond;
    if (pond) {
      $('pond-storage').value = JSON.stringify(pond.storage);
      $('pond-top_ft').value = pond.top_ft === undefined ? '' : String(pond.top_ft);
      showOutlets(pond.outlets);
      const barrel = $('barrel');
      barrel.replaceChildren();
      if (pond.barrel) {
        const group = document.createElement('fieldset');
        group.className = 'outlet';
        const legend = document.createElement('legend');
        legend.textContent = 'Barrel';
        group.append(legend);
        for (const [key, value] of Object.entries(pond.barrel))
          group.append(fieldRow(`barrel-${key}`, key, value));
        barrel.append(group);
      }
    }
    const size = held.size || {};
    $('size-device').value = size.device || '';
    $('size-dimension').value = size.storage ? 'scale' : (size.dimension || '');
    $('size-min').value = size.min === undefined ? '' : String(size.min);
    $('size-max').value = size.max === undefined ? '' : String(size.max);
    $('study-editors').hidden = false;
  }

  // The study's address: its file, tables held in it, deflated and in base64url.
  async function studyAddress(text) {
    const stream = new Blob([text]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    const bytes = new Uint8Array(await new Response(stream).arrayBuffer());
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  async function studyOfAddress(code) {
    const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
    const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    return new Response(stream).text();
  }

  function showStudy(result) {
    studyShown = true;
    clearMessage();
    if (result.needs) {
      const picker = $(result.needs);
      picker.closest('.field').hidden = false;
      $(result.needs + '-name').textContent = `(${result.needsName})`;
      showMessage('Pick the study\'s table',
                  `This study reads "${result.needsName}": pick that file here.`, result.needs,
                  false);
      return;
    }
    if (result.warningTitle) {
      // The results stay those of the last entries the core took.
      // A refusal that names no entry goes beside the one just changed, or else beside the
      // file's picker.
      showMessage(result.warningTitle, result.warningText,
                  result.warningEntry || edited || 'study-open', false);
      return;
    }
    const first = study.opened;
    study.opened = false;
    study.text = result.studyText;
    study.periods = JSON.parse(result.periods);
    // The tables are held in the study now (a CSV pond stays picked: a study cannot hold one).
    if (first || study.pond) {
      const held = JSON.parse(result.studyText);
      if (first)
        showEditors(held);
      if (study.pond && typeof held.pond === 'object')
        study.pond = null;
    }
    study.rainfall = null;
    for (const id of ['study-rainfall', 'study-pond']) {
      if (!(id === 'study-pond' && study.pond))
        $(id).closest('.field').hidden = true;
    }
    $('study-results').hidden = false;
    $('study-verdict').textContent = result.verdict;
    $('study-verdict').className = result.verdict === 'PASS' ? 'pass' : 'fail';
    $('criteria-table').textContent = result.criteria;
    $('size-result').textContent = result.sizing;
    const saved = study.name.replace(/\.[^.]*$/, '') + '.rhstudy';
    // A data address, not an object URL: it is made anew on every keystroke, and costs the
    // browser less.
    const link = $('download-study');
    link.href = 'data:application/json;charset=utf-8,' + encodeURIComponent(result.studyText);
    link.download = saved;
    link.hidden = false;
    // The document is made once the entries rest: it takes longer than the study's run.
    document.querySelector('#study-results .downloads').append($('download-study-pdf'));
    setDownload('download-study-pdf', null);
    clearTimeout(documentTimer);
    documentTimer = setTimeout(() => {
      if (studyShown && core.studyDocument(new Date().toLocaleDateString(), Date.now() / 1000)) {
        setDownload('download-study-pdf', new Uint8Array(core.studyPdf()), 'application/pdf',
                    study.name.replace(/\.[^.]*$/, '') + '.pdf');
      }
    }, DOCUMENT_DELAY_MS);
    StudyChart.draw($('chart'), $('chart-readout'), chartStorms(result.chart));
    keepLater(study.name, result.studyText);
    performance.mark('study-shown');
  }

  // The chart's storms: their labels and allowable releases, and their curves' points, copied out
  // of the core (which reuses them on its next run) as numbers rather than text.
  function chartStorms(chart) {
    const points = new Float64Array(core.studyChartPoints());
    let next = 0;
    const curve = (count) => points.subarray(next, next += 2 * count);
    return JSON.parse(chart).map((held) => {
      const storm = {label: held.label, inflow: curve(held.inflow)};
      if (held.outflow !== undefined)
        storm.outflow = curve(held.outflow);
      if (held.allowable !== undefined)
        storm.allowable = held.allowable;
      return storm;
    });
  }

  // The study kept in this browser and written into the address once the entries rest (no
  // keystroke for a moment), in idle time after the frame that shows the run: neither is part of
  // what a keystroke shows, and while typing goes on neither is redone for every keystroke. Leaving
  // the page keeps what is still waiting.
  let keeping = null, keepTimer = 0, keepTask = 0;
  const idle = window.requestIdleCallback || ((work) => setTimeout(work, 50));
  const cancelIdle = window.cancelIdleCallback || clearTimeout;
  function keepLater(name, text) {
    clearTimeout(keepTimer);
    cancelIdle(keepTask);
    keeping = {name, text};
    keepTimer = setTimeout(() => {
      keepTask = idle(keepNow, {timeout: 250});
    }, DOCUMENT_DELAY_MS);
  }
  function keepNow() {
    if (!keeping)
      return;
    const {name, text} = keeping;
    keeping = null;
    try {
      localStorage.setItem(STORE, JSON.stringify({name, text}));
    } catch (error) {
      // A full or refused store keeps nothing; the study itself is unaffected.
    }
    if (!location.search) {
      studyAddress(text).then((code) => {
        if (!location.search)
          history.replaceState(null, '', location.pathname + '#study=' + code);
      }, () => {});  // a browser without CompressionStream keeps the plain address
    }
  }
  addEventListener('pagehide', keepNow);

  let edited = '';  // the editor whose change made this run
  function runStudy(event) {
    if (!core || !study.text)
      return;
    const target = event && event.target;
    edited = target && target.closest ? (target.closest('#storm-return-periods') || target).id : '';
    // Renaming the outlet being sized keeps it sized.
    if (target && target.dataset && target.dataset.was !== undefined) {
      const sized = $('size-device'), was = target.dataset.was.trim(), now = target.value.trim();
      if (was && now && sized.value.trim() === was)
        sized.value = now;
      target.dataset.was = target.value;
    }
    const opening = study.opened;
    showStudy(core.runStudy(studyRequest()));
    // A study just opened runs once more from its editors, as every keystroke runs it: the
    // browser prepares that path while the study opens rather than on the first keystroke, which
    // would otherwise take two frames or more. The editors hold the study's own values, so the
    // run is the same.
    if (opening && !study.opened)
      showStudy(core.runStudy(studyRequest()));
  }

  function openStudy(name, text) {
    Object.assign(study, {name, text, opened: true, rainfall: null, pond: null, periods: []});
    $('study-results').hidden = true;
    $('study-editors').hidden = true;
    runStudy();
  }

  async function readPicked(input) {
    const file = input.files[0];
    return file ? {name: file.name, text: decoder.decode(await file.arrayBuffer())} : null;
  }
  $('study-open').addEventListener('change', async () => {
    const file = await readPicked($('study-open'));
    if (file)
      openStudy(file.name, file.text);
  });
  for (const which of ['rainfall', 'pond']) {
    $(`study-${which}`).addEventListener('change', async () => {
      study[which] = await readPicked($(`study-${which}`));
      if (study[which])
        runStudy();
    });
  }
  $('study').addEventListener('submit', (event) => event.preventDefault());
  $('study-editors').addEventListener('input', runStudy);
  $('outlet-add').addEventListener('click', () => changeOutlets((all) => all.push(
      {type: 'orifice', shape: 'circular', diameter_in: '', invert_ft: ''})));
  $('study-save').addEventListener('click', () => $('download-study').click());

  // Without a run in the address, the study in it (#study=), or else the last one opened here.
  async function reopenStudy() {
    let kept = null;
    try {
      kept = JSON.parse(localStorage.getItem(STORE));
    } catch (error) {
      kept = null;
    }
    if (!(kept && typeof kept.name === 'string' && typeof kept.text === 'string'))
      kept = null;
    const hash = location.hash.match(/^#study=([A-Za-z0-9_-]+)$/);
    if (hash) {
      try {
        const text = await studyOfAddress(hash[1]);
        // The study's own name when it is the one kept here.
        openStudy(kept && kept.text === text ? kept.name : 'study.rhstudy', text);
      } catch (error) {
        showMessage('Study address', 'The study in this address cannot be read: open the study ' +
                    'file instead.', 'study-open', false);
      }
      return;
    }
    if (!location.search && kept)
      openStudy(kept.name, kept.text);
  }

  $('entries').addEventListener('submit', (event) => {
    event.preventDefault();
    generate();
  });
  const choicesChanged = () => {
    applyChoices();
    writeAddress();
  };
  $('entries').addEventListener('input', choicesChanged);
  $('entries').addEventListener('change', choicesChanged);
  $('rainfall').addEventListener('change', () => pick('rainfall'));
  $('pond').addEventListener('change', () => pick('pond'));

  runWhenReady = readAddress();
  for (const link of document.querySelectorAll('.downloads a'))
    link.hidden = true;

  RationalHydrograph().then((module) => {
    core = module;
    $('status').textContent = '';
    if (runWhenReady)
      runNow();
    else
      reopenStudy();
  }, () => {
    $('status').textContent = 'This browser could not start the program (WebAssembly is needed).';
  });

  // Installed or served from a web server, the page keeps its folder for use offline; opened from
  // disk it needs nothing kept.
  if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol))
    navigator.serviceWorker.register('sw.js').catch(() => {});
})();
