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
    for (const field of document.querySelectorAll('[aria-invalid]')) {
      field.removeAttribute('aria-invalid');
      field.removeAttribute('aria-describedby');
    }
  }

  // The warning, beside the field it is about (or below the buttons for the run as a whole).
  function showMessage(title, text, fieldId) {
    const message = $('message');
    const title_ = document.createElement('strong');
    title_.textContent = title;
    message.replaceChildren(title_, document.createTextNode(' ' + text));
    let field = fieldId ? $(fieldId) : null;
    // With a rainfall table the 6-hour rainfall box is hidden: the table takes its place.
    if (field && field.closest('[hidden]'))
      field = $('rainfall');
    if (field)
      field.closest('.field').append(message);
    else
      document.querySelector('.actions').after(message);
    message.hidden = false;
    if (field) {
      field.setAttribute('aria-invalid', 'true');
      field.setAttribute('aria-describedby', 'message');
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
    setDownload('download-study', run.study ? new Uint8Array(core.studyPdf()) : null,
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
  }, () => {
    $('status').textContent = 'This browser could not start the program (WebAssembly is needed).';
  });
})();
