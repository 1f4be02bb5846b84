// The page's panel (the run's messages, where a selection was found, what
// changed since an earlier run), search, going to a line, links to a
// place, and start-up.

// ---- Messages

const messages = data.messages.map((message, index) => Object.assign({ index }, message));
function messagesOf(output) { return messages.filter((message) => message.output === output.index); }

// Lines of the template that errors point at.
for (const message of messages) {
  if (message.context) continue;
  let file = -1;
  let at = -1;
  if (message.directive >= 0) { file = directiveFile[message.directive]; at = directiveBegin[message.directive]; }
  else if (message.file >= 0) { file = message.file; at = message.at; }
  if (file < 0) continue;
  const line = upper(fileStarts(templates[file]), at) - 1;
  templateMarks[file].set(line, { cls: message.severity === 'error' ? 'errline' : 'warnline' });
}

function messagePlace(message) {
  if (message.directive >= 0) return whereIn(templates[directiveFile[message.directive]], directiveBegin[message.directive]);
  if (message.file >= 0) return whereIn(templates[message.file], message.at);
  return message.where || '';
}

function outputLineOf(message) {
  if (message.output < 0) return 0;
  const output = outputs[message.output];
  if (message.offset >= 0) return upper(output.lineStarts(), message.offset);
  return message.line;
}

function selectMessage(message) {
  clearPick();
  const parts = [[message.severity, message.severity], ['text', message.text]];
  const place = messagePlace(message);
  if (message.directive >= 0) {
    showDirective(message.directive);
    templates[directiveFile[message.directive]].view.markLines(
      shownFile.view.lineOf(directiveBegin[message.directive]), shownFile.view.lineOf(directiveBegin[message.directive]), 'err');
  } else if (message.file >= 0) {
    showFile(message.file);
    const line = shownFile.view.lineOf(message.at);
    shownFile.view.markLines(line, line, 'err');
    shownFile.view.revealOffset(message.at);
  }
  if (place) parts.push(['where', place]);
  if (message.object >= 0) {
    const node = objectNode(message.object);
    if (node >= 0) modelTree.select(node);
    const pointer = objectPointer(message.object);
    parts.push(['ptr', pointer === '' ? '(root)' : pointer]);
  }
  if (message.output >= 0) {
    const output = outputs[message.output];
    showOutput(message.output);
    const line = outputLineOf(message);
    if (line > 0) {
      output.view.markLines(line - 1, line - 1, 'err');
      output.view.reveal(line - 1, true);
    }
    parts.push(['file', output.name + (line > 0 ? ':' + line : '')]);
  }
  pin(parts, message.output >= 0 && outputLineOf(message) > 0
    ? 'out=' + (outputs.length > 1 ? outputs[message.output].name + ':' : '') + outputLineOf(message) : null);
}

// ---- Changes since an earlier run

const changes = data.changes;
function changesOf(output) {
  if (!changes) return null;
  return changes.outputs.find((entry) => entry.output === output.index) || null;
}

function causeText(cause) { return changes.causes[cause] ? changes.causes[cause].text : ''; }

// The breadcrumb of a changed line, or null.
function changeAt(output, line) {
  const entry = changesOf(output);
  if (!entry) return null;
  for (const [first, count, cause] of entry.lines) {
    if (line >= first && line < first + count) return [['changed', 'changed since ' + changes.since], ['cause', causeText(cause)]];
  }
  for (const [at, count, cause] of entry.removed) {
    if (line === at) return [['changed', plural(count, 'line', 'lines') + ' removed above since ' + changes.since], ['cause', causeText(cause)]];
  }
  return null;
}

function selectChange(output, line, cause) {
  clearPick();
  showOutput(output.index);
  output.view.reveal(line, true);
  const described = changeAt(output, line) || [];
  const found = changes.causes[cause];
  if (found && found.directive >= 0) showDirective(found.directive);
  if (found && found.node >= 0) modelTree.select(found.node);
  pin(described, 'out=' + (outputs.length > 1 ? output.name + ':' : '') + (line + 1));
}

// ---- The panel

const panelTabs = { problems: document.getElementById('tabProblems'), found: document.getElementById('tabFound'),
                    changes: document.getElementById('tabChanges') };
let panelShown = null;

function showPanel(name) {
  panelShown = name;
  panel.hidden = false;
  for (const key in panelTabs) panelTabs[key].classList.toggle('on', key === name);
  panelBody.textContent = '';
  if (name === 'problems') fillProblems();
  if (name === 'found') fillFound();
  if (name === 'changes') fillChanges();
}

function panelRow(parent, cls, parts, action) {
  const row = make('div', 'item ' + cls);
  for (const [partCls, text] of parts) if (text) row.append(make('span', partCls, text));
  if (action) row.addEventListener('click', (event) => timed(event, action));
  parent.append(row);
  return row;
}

function fillProblems() {
  if (messages.length === 0) { panelBody.append(make('div', 'note', 'The run said nothing.')); return; }
  let main = null;
  for (const message of messages) {
    const line = outputLineOf(message);
    const where = [message.output >= 0 ? outputs[message.output].name + (line > 0 ? ':' + line : '') : '',
                   messagePlace(message), objectPointer(message.object)]
      .filter((part) => part !== null && part !== '').join(' \u00b7 ');
    const row = panelRow(message.context && main ? main : panelBody,
                         (message.context ? 'context ' : '') + message.severity + (message.stop ? ' stop' : ''),
                         [['sev', message.context ? '' : message.severity], ['text', message.text],
                          ['place', where], ['hint', message.hint || '']], () => selectMessage(message));
    row.dataset.index = message.index;
    if (!message.context) main = row;
  }
}

function fillFound() {
  if (!selection) { panelBody.append(make('div', 'note', 'Click a directive or a model element to see where its text went.')); return; }
  outputs.forEach((output, index) => {
    const [count, first] = selection.found[index];
    if (count === 0) return;
    panelRow(panelBody, 'found' + (output === current ? ' here' : ''),
             [['file', output.name], ['count', plural(count, 'place', 'places')]],
             () => { showOutput(index); output.view.revealOffset(first, true); });
  });
}

function fillChanges() {
  if (!changes) return;
  panelBody.append(make('div', 'note', 'Compared with ' + changes.since + '.'));
  for (const entry of changes.outputs) {
    const output = outputs[entry.output];
    if (entry.created) panelRow(panelBody, 'change', [['file', output.name], ['cause', 'new file']], () => showOutput(output.index));
    for (const [first, count, cause] of entry.lines) {
      const lines = count === 1 ? String(first + 1) : first + 1 + '\u2013' + (first + count);
      panelRow(panelBody, 'change', [['file', output.name + ':' + lines], ['cause', causeText(cause)]],
               () => selectChange(output, first, cause));
    }
    for (const [line, count, cause] of entry.removed) {
      panelRow(panelBody, 'change', [['file', output.name + ':' + (line + 1)],
                                     ['cause', plural(count, 'line', 'lines') + ' removed: ' + causeText(cause)]],
               () => selectChange(output, line, cause));
    }
  }
  for (const name of changes.gone || []) panelRow(panelBody, 'change', [['file', name], ['cause', 'no longer generated']]);
}

// The tab of the places found tells their count; its list follows the selection.
function showFound() {
  const tab = panelTabs.found;
  const files = selection ? selection.found.filter(([count]) => count > 0).length : 0;
  tab.hidden = outputs.length < 2 || !selection;
  tab.querySelector('.n').textContent = files > 0 ? String(files) : '';
  // The list opens by itself unless another list is being read.
  if (panelShown === 'found' || (selection && files > 1 && (panel.hidden || panelShown === null))) showPanel('found');
}

for (const key in panelTabs) panelTabs[key].addEventListener('click', () => showPanel(key));
document.getElementById('panelClose').addEventListener('click', () => { panel.hidden = true; panelShown = null; });

// ---- Search, across the three panes

const MAX_HITS = 100000;
const searchBox = document.getElementById('search');
const searchCount = document.getElementById('searchCount');
let search = null;  // { query, hits: [[kind, which, offset]], outputs, files, nodes, at }
const lowered = new Map();

function textFor(key, text, caseless) {
  if (!caseless) return text;
  if (!lowered.has(key)) lowered.set(key, text.toLowerCase());
  return lowered.get(key);
}

function occurrences(text, query, hits, kind, which) {
  const found = [];
  for (let at = text.indexOf(query); at >= 0 && hits.length < MAX_HITS; at = text.indexOf(query, at + 1)) {
    found.push(at);
    hits.push([kind, which, at]);
  }
  return found;
}

function runSearch(query) {
  if (search && search.query === query) return;
  search = null;
  if (query === '') { searchCount.textContent = ''; drawSearch(); return; }
  const caseless = query === query.toLowerCase();
  const needle = caseless ? query.toLowerCase() : query;
  const hits = [];
  const found = { query, hits, outputs: [], files: [], nodes: new Set(), at: -1, length: query.length };
  // The file shown first, then the others, the templates and the model.
  const order = current ? [current, ...outputs.filter((output) => output !== current)] : outputs;
  for (const output of order) found.outputs[output.index] = occurrences(textFor('o' + output.index, output.text, caseless), needle, hits, 'out', output.index);
  for (const file of templates) found.files[file.index] = occurrences(textFor('t' + file.index, file.text, caseless), needle, hits, 'tpl', file.index);
  if (model) {
    const keys = new Set();
    model.keys.forEach((key, index) => { if ((caseless ? key.toLowerCase() : key).includes(needle)) keys.add(index + 1); });
    const scalars = textFor('m', model.scalars, caseless);
    const nodes = [];
    for (let node = 0; node < model.count && keys.size > 0; node++) if (keys.has(model.key[node])) nodes.push(node);
    for (let at = scalars.indexOf(needle); at >= 0; at = scalars.indexOf(needle, at + 1)) {
      const node = upper(model.scalarStart, at) - 1;
      nodes.push(node);
      at = model.scalarStart[node + 1] - 1;
    }
    nodes.sort((a, b) => a - b);
    for (const node of nodes) {
      if (found.nodes.has(node) || hits.length >= MAX_HITS) continue;
      found.nodes.add(node);
      hits.push(['model', node, 0]);
    }
  }
  search = found;
  const count = (kind) => hits.filter((hit) => hit[0] === kind).length;
  searchCount.textContent = hits.length === 0 ? 'not found'
    : (hits.length >= MAX_HITS ? MAX_HITS.toLocaleString('en') + '+' : hits.length.toLocaleString('en')) +
      ' found: ' + count('out').toLocaleString('en') + ' in the text, ' + count('tpl') + ' in the template, ' +
      count('model') + ' in the model';
  drawSearch();
}

function drawSearch() {
  for (const output of outputs) if (output.view) drawFound(output.view, search ? search.outputs[output.index] : null);
  for (const file of templates) if (file.view) drawFound(file.view, search ? search.files[file.index] : null);
  if (model) {
    modelTree.found = search ? search.nodes : null;
    modelTree.refresh();
  }
}

function drawFound(view, begins) {
  if (!begins || begins.length === 0) { view.clearMark('found'); return; }
  view.setMark('found', begins, begins.map((at) => at + search.length));
}

// Shows the next (or previous) place found, in whichever pane it is.
function nextHit(step) {
  if (!search || search.hits.length === 0) return;
  search.at = (search.at + step + search.hits.length) % search.hits.length;
  const [kind, which, at] = search.hits[search.at];
  for (const view of [current && current.view, shownFile && shownFile.view]) if (view) view.clearMark('current');
  if (kind === 'out') {
    showOutput(which);
    outputs[which].view.setMark('current', [at], [at + search.length]);
    outputs[which].view.revealOffset(at);
  } else if (kind === 'tpl') {
    showFile(which);
    templates[which].view.setMark('current', [at], [at + search.length]);
    templates[which].view.revealOffset(at);
  } else {
    modelTree.current = which;
    modelTree.show(which);
    modelTree.refresh();
  }
  searchCount.textContent = (search.at + 1).toLocaleString('en') + ' of ' + search.hits.length.toLocaleString('en') +
    (kind === 'out' ? ' \u00b7 ' + outputs[which].name : kind === 'tpl' ? ' \u00b7 ' + templates[which].name : ' \u00b7 model');
}

let searchTimer = 0;
searchBox.addEventListener('input', () => {
  clearTimeout(searchTimer);
  searchTimer = setTimeout(() => runSearch(searchBox.value), 250);
});
searchBox.addEventListener('keydown', (event) => {
  if (event.key !== 'Enter') return;
  clearTimeout(searchTimer);
  runSearch(searchBox.value);
  nextHit(event.shiftKey ? -1 : 1);
});

// ---- Going to a line, and links to a place

// "120" (the generated file shown), "NAME:120" (a generated or template
// file, by its name or its end), or a link's "out=..." or "tpl=...".
function goTo(text) {
  text = text.trim();
  let match = /^(out|tpl)=(.*)$/.exec(text);
  const kind = match ? match[1] : null;
  if (match) text = match[2];
  match = /^(?:(.*):)?(\d+)$/.exec(text);
  if (!match) return false;
  const name = match[1];
  const line = Number(match[2]);
  const named = (file) => file.name === name || file.name.endsWith('/' + name);
  if (name === undefined && kind !== 'tpl') return current ? goToOutputLine(current, line) : false;
  const output = kind === 'tpl' ? null : outputs.find(named);
  if (output) return goToOutputLine(output, line);
  const file = kind === 'out' ? null : templates.find(named);
  return file ? goToTemplateLine(file, line) : false;
}

function goToOutputLine(output, line) {
  showOutput(output.index);
  const view = output.view;
  const index = Math.min(Math.max(line, 1), view.lineCount()) - 1;
  // The first character of the line that holds text stands for it.
  const text = output.text;
  let offset = view.lineStart(index);
  while (offset < view.lineEnd(index) && /\s/.test(text[offset])) offset++;
  const piece = output.pieceAt(Math.min(offset, Math.max(text.length - 1, 0)));
  if (piece >= 0) selectPiece(output, piece, offset); else clearPick();
  view.markLines(index, index);
  view.reveal(index, true);
  return true;
}

function goToTemplateLine(file, line) {
  showFile(file.index);
  const view = file.view;
  const index = Math.min(Math.max(line, 1), view.lineCount()) - 1;
  const list = byFile[file.index];
  const directive = list.find((d) => view.lineOf(directiveBegin[d]) === index && !isLiteral(d)) ??
                    list.find((d) => view.lineOf(directiveBegin[d]) === index);
  if (directive !== undefined) {
    selectDirective(directive);
  } else {
    clearPick();
    pin([['where', file.name + ':' + (index + 1)]], 'tpl=' + file.name + ':' + (index + 1));
  }
  view.markLines(index, index);
  view.reveal(index, true);
  return true;
}

const gotoBox = document.getElementById('goto');
gotoBox.addEventListener('keydown', (event) => {
  if (event.key !== 'Enter') return;
  gotoBox.classList.toggle('bad', !goTo(gotoBox.value));
});

function applyHash() {
  const hash = decodeURIComponent(location.hash.slice(1));
  if (hash) goTo(hash);
}
window.addEventListener('hashchange', applyHash);

function copyText(text) {
  if (navigator.clipboard && window.isSecureContext) {
    navigator.clipboard.writeText(text).catch(() => copyBySelection(text));
  } else {
    copyBySelection(text);
  }
  state.copied = text;
}

function copyBySelection(text) {
  const area = make('textarea', 'offscreen');
  area.value = text;
  document.body.append(area);
  area.select();
  document.execCommand('copy');
  area.remove();
}

document.getElementById('copyCrumb').addEventListener('click', () => copyText(crumb.textContent));
document.getElementById('linkCrumb').addEventListener('click', () => {
  if (!pinned || !pinned[1]) return;
  history.replaceState(null, '', '#' + pinned[1]);
  copyText(location.href);
});

document.addEventListener('keydown', (event) => {
  const typing = event.target instanceof HTMLInputElement;
  if (event.key === 'Escape') {
    if (typing) event.target.blur();
    clearPick();
    pinned = null;
    setCrumb([]);
  } else if (!typing && event.key === '/') {
    event.preventDefault();
    searchBox.focus();
  } else if ((event.key === 'g' && (event.ctrlKey || event.metaKey)) || (!typing && event.key === 'g')) {
    event.preventDefault();
    gotoBox.focus();
  }
});

// ---- What tests and benchmarks read

state.text = () => (current ? current.text : '');
// The texts lit in the file shown, all of them, in sight or not.
state.lit = () => {
  const ranges = current && current.view ? current.view.ranges.pick : null;
  return ranges ? Array.from(ranges.begins, (begin, i) => current.text.slice(begin, ranges.ends[i])) : [];
};
state.found = () => search && {
  out: search.hits.filter((hit) => hit[0] === 'out').length,
  tpl: search.hits.filter((hit) => hit[0] === 'tpl').length,
  model: search.hits.filter((hit) => hit[0] === 'model').length,
};

// ---- Start

outputs.forEach((output, index) => outputList.append(new Option(output.name, String(index))));
outputList.hidden = outputs.length < 2;
outputList.addEventListener('change', () => showOutput(Number(outputList.value)));
document.querySelector('.legend .user').hidden = outputs.every((output) => output.userCode.length === 0);
document.querySelector('.legend .changed').hidden = !changes;
document.getElementById('title').textContent =
  (outputs.length === 1 ? outputs[0].name : outputs.length === 0 ? 'no file' : plural(outputs.length, 'file', 'files')) +
  (templates.length > 0 ? ' \u2190 ' + templates[0].name : '');
const outcome = document.getElementById('outcome');
if (!data.outcome.written || data.skipped > 0) {
  outcome.hidden = false;
  outcome.textContent = data.outcome.summary +
    (data.skipped > 0 ? ' ' + plural(data.skipped, 'more file was', 'more files were') + ' not evaluated.' : '');
}
const problems = messages.filter((message) => !message.context);
panelTabs.problems.querySelector('.n').textContent = problems.length > 0 ? String(problems.length) : '';
panelTabs.problems.hidden = messages.length === 0;
panelTabs.changes.hidden = !changes;
if (changes) {
  const lines = changes.outputs.reduce((sum, entry) => sum + entry.lines.reduce((s, line) => s + line[1], 0), 0);
  panelTabs.changes.querySelector('.n').textContent = String(lines);
}
showFound();
if (templates.length > 0) showFile(0);
if (outputs.length > 0) showOutput(0);
if (messages.length > 0) showPanel('problems');
else if (changes) showPanel('changes');
else panel.hidden = true;
// A failed run opens where it stopped.
const stop = messages.find((message) => message.stop);
if (stop && !location.hash) selectMessage(stop);
applyHash();
state.readyMs = performance.now();
state.ready = true;
requestAnimationFrame(() => setTimeout(() => { state.shownMs = performance.now(); }));
