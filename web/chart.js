// The study's chart, drawn as inline SVG from the storms the core returns: each return period's
// inflow (thin) and routed outflow (thick) in its own colour, its allowable release as a dashed
// line, a legend naming the storms, and a readout of the time and flows under the pointer. A
// curve is a Float64Array of its points one after the other, each its time (min) and flow (cfs).
'use strict';

const StudyChart = (function () {
  const SVG = 'http://www.w3.org/2000/svg';
  const COLOURS = ['#0b5cad', '#b3261e', '#1e7b34', '#7b3fa0', '#a15c00', '#00707a'];
  // Drawn at the width it is shown at, so its text is 11 px on every screen; a narrow screen gets
  // fewer ticks, never smaller text.
  const FONT = 11;
  const PAD = {left: 52, right: 12, top: 12, bottom: 40};
  const TICK_SPACE = 70;  // px between time ticks at least

  function element(name, attributes, text) {
    const node = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes))
      node.setAttribute(key, value);
    if (text !== undefined)
      node.textContent = text;
    return node;
  }

  // A round step that gives at most `count` ticks over [0, top].
  function tickStep(top, count) {
    const rough = top / count;
    const power = Math.pow(10, Math.floor(Math.log10(rough)));
    for (const m of [1, 2, 2.5, 5, 10]) {
      if (m * power >= rough)
        return m * power;
    }
    return 10 * power;
  }

  // The flow of a curve at time t, straight between its points (null outside them).
  function at(curve, t) {
    const count = curve ? curve.length >> 1 : 0;
    if (count === 0 || t < curve[0] || t > curve[2 * count - 2])
      return null;
    let lo = 0, hi = count - 1;
    while (hi - lo > 1) {
      const mid = (lo + hi) >> 1;
      if (curve[2 * mid] <= t)
        lo = mid;
      else
        hi = mid;
    }
    const t0 = curve[2 * lo], q0 = curve[2 * lo + 1], t1 = curve[2 * hi], q1 = curve[2 * hi + 1];
    return t1 === t0 ? q0 : q0 + (q1 - q0) * (t - t0) / (t1 - t0);
  }

  function draw(box, readout, storms, width) {
    const WIDTH = Math.max(240, width || 640);
    const HEIGHT = Math.round(Math.min(Math.max(WIDTH * 0.5, 220), 360));
    const TICKS = Math.max(2, Math.min(8, Math.floor((WIDTH - PAD.left - PAD.right) / TICK_SPACE)));
    let tMax = 0, qMax = 0;
    for (const storm of storms) {
      for (const curve of [storm.inflow, storm.outflow || []]) {
        for (let i = 0; i < curve.length; i += 2) {
          tMax = Math.max(tMax, curve[i]);
          qMax = Math.max(qMax, curve[i + 1]);
        }
      }
      if (storm.allowable !== undefined)
        qMax = Math.max(qMax, storm.allowable);
    }
    if (!(tMax > 0) || !(qMax > 0)) {
      box.replaceChildren();
      readout.textContent = '';
      return;
    }
    const tStep = tickStep(tMax / 60, TICKS) * 60, qStep = tickStep(qMax, Math.min(TICKS, 6));
    tMax = Math.ceil(tMax / tStep) * tStep;
    qMax = Math.ceil(qMax / qStep) * qStep;
    const plotW = WIDTH - PAD.left - PAD.right, plotH = HEIGHT - PAD.top - PAD.bottom;
    const x = (t) => PAD.left + t / tMax * plotW;
    const y = (q) => PAD.top + plotH - q / qMax * plotH;

    // The grid and the ticks' numbers: the part of the chart its axes' ranges decide.
    const scale = () => {
      const axes = element('g', {stroke: '#c8ced6', 'stroke-width': 1});
      const numbers = [];
      for (let t = 0; t <= tMax + 1e-9; t += tStep) {
        axes.append(element('line', {x1: x(t), x2: x(t), y1: PAD.top, y2: PAD.top + plotH}));
        numbers.push(element('text', {x: x(t), y: PAD.top + plotH + FONT + 4,
                                      'text-anchor': 'middle', fill: '#1b1f24'},
                             String(+(t / 60).toFixed(2))));
      }
      for (let q = 0; q <= qMax + 1e-9; q += qStep) {
        axes.append(element('line', {x1: PAD.left, x2: PAD.left + plotW, y1: y(q), y2: y(q)}));
        numbers.push(element('text', {x: PAD.left - 4, y: y(q) + FONT / 3, 'text-anchor': 'end',
                                      fill: '#1b1f24'}, String(+q.toFixed(2))));
      }
      return {axes, numbers};
    };
    const path = (curve) => {
      let d = '';
      for (let i = 0; i < curve.length; i += 2)
        d += (i ? 'L' : 'M') + x(curve[i]).toFixed(1) + ' ' + y(curve[i + 1]).toFixed(1);
      return d;
    };
    const moveMarks = (marks) => {
      storms.forEach((storm, i) => {
        const [inflow, outflow, allowable] = marks[i];
        inflow.setAttribute('d', path(storm.inflow));
        if (outflow)
          outflow.setAttribute('d', path(storm.outflow));
        if (allowable) {
          allowable.setAttribute('y1', y(storm.allowable));
          allowable.setAttribute('y2', y(storm.allowable));
        }
      });
    };
    // The same storms at the same width as the chart shown (a keystroke in an editor): only the
    // curves and the allowable releases move, and the grid and ticks when the axes' ranges change;
    // the rest stays as drawn.
    const shape = JSON.stringify([WIDTH, storms.map(
        (storm) => [storm.label, Boolean(storm.outflow), storm.allowable !== undefined])]);
    const frame = JSON.stringify([tMax, qMax, tStep, qStep]);
    const last = drawn.get(box);
    if (last && last.shape === shape && box.contains(last.svg)) {
      moveMarks(last.marks);
      if (last.frame === frame) {
        last.follow(storms);
        return;
      }
      // New ranges: the chart as drawn anew, its readout's cursor hidden.
      const {axes, numbers} = scale();
      last.scale.axes.replaceWith(axes);
      last.scale.numbers.forEach((number) => number.remove());
      axes.after(...numbers);
      last.reframe({tMax, tStep, x, storms});
      drawn.set(box, {...last, frame, scale: {axes, numbers}});
      return;
    }

    const svg = element('svg', {viewBox: `0 0 ${WIDTH} ${HEIGHT}`, width: WIDTH, role: 'img',
                                'aria-label': 'Inflow and outflow of each return period',
                                'font-size': FONT, 'font-family': 'sans-serif'});
    const ticks = scale();
    svg.append(ticks.axes, ...ticks.numbers);
    svg.append(element('text', {x: PAD.left + plotW / 2, y: HEIGHT - 6, 'text-anchor': 'middle',
                                fill: '#1b1f24'}, 'time (h)'));
    svg.append(element('text', {x: 12, y: PAD.top + plotH / 2, 'text-anchor': 'middle',
                                transform: `rotate(-90 12 ${PAD.top + plotH / 2})`,
                                fill: '#1b1f24'}, 'flow (cfs)'));

    const marks = storms.map((storm, i) => {
      const colour = COLOURS[i % COLOURS.length];
      const group = element('g', {fill: 'none', stroke: colour, 'data-storm': storm.label});
      const mark = [element('path', {d: path(storm.inflow), 'stroke-width': 1.25}), null, null];
      group.append(mark[0]);
      if (storm.outflow) {
        mark[1] = element('path', {d: path(storm.outflow), 'stroke-width': 2.75});
        group.append(mark[1]);
      }
      if (storm.allowable !== undefined) {
        mark[2] = element('line', {x1: PAD.left, x2: PAD.left + plotW, y1: y(storm.allowable),
                                   y2: y(storm.allowable), 'stroke-dasharray': '6 4',
                                   'stroke-width': 1.25, class: 'allowable'});
        group.append(mark[2]);
      }
      svg.append(group);
      return mark;
    });
    const cursor = element('line', {y1: PAD.top, y2: PAD.top + plotH, stroke: '#555e68',
                                    'stroke-width': 1, visibility: 'hidden'});
    svg.append(cursor);

    // The legend: a swatch and name per storm, then what the line styles mean.
    const legend = document.createElement('ul');
    legend.className = 'legend';
    storms.forEach((storm, i) => {
      const item = document.createElement('li');
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = COLOURS[i % COLOURS.length];
      item.append(swatch, storm.label);
      legend.append(item);
    });
    const key = document.createElement('li');
    key.className = 'key';
    key.textContent = 'thin: inflow · thick: outflow · dashed: allowable release';
    legend.append(key);
    box.replaceChildren(svg, legend);

    // What the readout reads: the axes and storms last drawn.
    let view = {tMax, tStep, x, storms};
    let shownAt = 0;
    const readAt = (t) => {
      shownAt = t;
      cursor.setAttribute('x1', view.x(t));
      cursor.setAttribute('x2', view.x(t));
      cursor.setAttribute('visibility', 'visible');
      const flows = view.storms.map((storm) => {
        const inflow = at(storm.inflow, t), outflow = at(storm.outflow, t);
        const cfs = (q) => q === null ? '—' : q.toFixed(1);
        return `${storm.label}: in ${cfs(inflow)} cfs` +
               (storm.outflow ? `, out ${cfs(outflow)} cfs` : '');
      });
      readout.textContent = `${Math.round(t)} min (${(t / 60).toFixed(2)} h) — ${flows.join('; ')}`;
    };
    const show = (event) => {
      const rect = svg.getBoundingClientRect();
      const sx = (event.clientX - rect.left) / rect.width * WIDTH;
      readAt(Math.min(Math.max((sx - PAD.left) / plotW * view.tMax, 0), view.tMax));
    };
    // From the keyboard: the arrows step the readout along the time axis, a tenth of a tick.
    svg.setAttribute('tabindex', '0');
    svg.addEventListener('keydown', (event) => {
      const step = {ArrowLeft: -view.tStep / 10, ArrowRight: view.tStep / 10, Home: -view.tMax,
                    End: view.tMax}[event.key];
      if (step === undefined)
        return;
      event.preventDefault();
      readAt(Math.min(Math.max(shownAt + step, 0), view.tMax));
    });
    svg.addEventListener('pointermove', show);
    svg.addEventListener('pointerdown', show);
    svg.addEventListener('pointerleave', () => cursor.setAttribute('visibility', 'hidden'));
    // New curves under the same axes: the readout follows them from where it is.
    const follow = (now) => {
      view.storms = now;
      if (cursor.getAttribute('visibility') === 'visible')
        readAt(shownAt);
    };
    // New axes: the readout starts again, its cursor hidden, as on a chart drawn anew.
    const reframe = (now) => {
      view = now;
      shownAt = 0;
      cursor.removeAttribute('x1');
      cursor.removeAttribute('x2');
      cursor.setAttribute('visibility', 'hidden');
    };
    drawn.set(box, {shape, frame, svg, marks, scale: ticks, follow, reframe});
  }
  const drawn = new WeakMap();  // each box's chart: its frame, marks and readout

  // Drawn again when its box changes width (a phone turned, a window resized). The width is the
  // one last seen: reading the box's width again would lay the page out in the middle of a
  // keystroke's frame.
  const shown = new WeakMap();
  const resized = new ResizeObserver((entries) => {
    for (const entry of entries) {
      const last = shown.get(entry.target);
      const width = Math.floor(entry.contentRect.width);
      if (last && width !== last.width) {
        last.width = width;
        drawAndFollow(entry.target, last.readout, last.storms);
      }
    }
  });
  function drawAndFollow(box, readout, storms) {
    const last = shown.get(box);
    const width = last ? last.width : Math.floor(box.clientWidth);
    draw(box, readout, storms, width);
    shown.set(box, {readout, storms, width});
    resized.observe(box);
  }

  return {draw: drawAndFollow};
})();
