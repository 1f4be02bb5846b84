// The explain page: the generated text, the template and the model side by
// side, from the data mttgen embeds (host/cli/ExplainPage.h). Every offset
// counts UTF-16 code units, as JavaScript strings do; positions shown to
// people count characters (code points), as editors do.
const state = window.explain = { ready: false, times: {} };
const dataElement = document.getElementById('explain-data');
const data = JSON.parse(dataElement.textContent);
// The text is read: the page need not keep a second copy of it.
dataElement.remove();
state.times.parsed = performance.now();

// ---- Tables

const [spans, chains, nodes, ...pieces] = await Promise.all([
  unpack(data.directives, 3), unpack(data.contexts, 2), data.model ? unpack(data.model.nodes, 3) : null,
  ...data.outputs.map((output) => unpack(output.pieces, 4))]);
const [directiveFile, directiveBegin] = spans;
const directiveEnd = Int32Array.from(spans[1], (begin, i) => begin + spans[2][i]);
// Context 0 is the empty chain.
const contextParent = new Int32Array(chains[0].length + 1);
const contextDirective = new Int32Array(chains[0].length + 1);
contextParent[0] = -1;
contextDirective[0] = -1;
for (let i = 0; i < chains[0].length; i++) {
  contextParent[i + 1] = i + 1 - chains[0][i];
  contextDirective[i + 1] = chains[1][i];
}
state.times.unpacked = performance.now();
const model = data.model ? new ModelTable(data.model, nodes) : null;
const nodeCount = model ? model.count : 0;
state.times.model = performance.now();
const outputs = data.outputs.map((output, index) => new OutputData(output, index, pieces[index]));
state.times.outputs = performance.now();
const templates = data.files.map((file, index) => ({
  index, name: file.name, text: file.text, from: file.from, view: null, starts: null, tab: null,
}));

// The directives of each template file, by position.
const byFile = templates.map(() => []);
directiveFile.forEach((file, index) => byFile[file].push(index));
for (const list of byFile) list.sort((a, b) => directiveBegin[a] - directiveBegin[b]);
const beginsByFile = byFile.map((list) => list.map((index) => directiveBegin[index]));

// The model nodes that made text: 1 as the current object, 2 as the value read.
const used = new Uint8Array(nodeCount);
function objectNode(object) {
  if (object < nodeCount) return object;
  const extra = data.extras[object - nodeCount];
  return extra ? extra[1] : -1;
}
function objectPointer(object) {
  if (object < 0) return null;
  if (object < nodeCount) return model.pointerOf(object);
  const extra = data.extras[object - nodeCount];
  return extra ? extra[0] : null;
}
if (model) {
  for (const output of outputs) {
    let last = -2;
    for (let i = 0; i < output.objects.length; i++) {
      const object = output.objects[i];
      if (object !== last && object >= 0) {
        const node = objectNode(object);
        if (node >= 0) used[node] |= 1;
        last = object;
      }
      if (output.values[i] >= 0) used[output.values[i]] |= 2;
    }
  }
}

state.times.tables = performance.now();

// ---- Words and places

function fileStarts(file) {
  if (!file.starts) file.starts = lineStartsOf(file.text);
  return file.starts;
}

// The characters from begin to end, a surrogate pair counting once.
function characters(text, begin, end) {
  let count = 0;
  for (let at = begin; at < end; at++) {
    const code = text.charCodeAt(at);
    if (code < 0xdc00 || code > 0xdfff || at === begin) count++;
  }
  return count;
}

// "FILE:LINE:COLUMN", the column counting characters from 1.
function whereIn(file, offset) {
  const starts = fileStarts(file);
  const line = upper(starts, offset) - 1;
  return file.name + ':' + (line + 1) + ':' + (characters(file.text, starts[line], offset) + 1);
}

// Text on one line, cut to about max characters (never inside one).
function excerpt(text, max) {
  const flat = text.replace(/\s+/g, ' ').trim();
  const chars = Array.from(flat);
  return chars.length <= max ? flat : chars.slice(0, max - 1).join('') + '\u2026';
}

// "FILE:LINE" with the file's last name only.
function shortWhere(directive) {
  const file = templates[directiveFile[directive]];
  return file.name.split('/').pop() + ':' + upper(fileStarts(file), directiveBegin[directive]);
}

function directiveText(directive) {
  return templates[directiveFile[directive]].text.slice(directiveBegin[directive], directiveEnd[directive]);
}

function isLiteral(directive) {
  const text = directiveText(directive);
  return !text.startsWith('[%') && !text.startsWith('${');
}

// How a directive is named in the breadcrumb; a literal text by the line
// of it that holds iAt (a template offset), in quotes.
function labelOf(directive, at) {
  const text = directiveText(directive);
  if (!isLiteral(directive)) return excerpt(text, 48);
  const begin = directiveBegin[directive];
  const from = at === undefined ? 0 : at - begin;
  const lineBegin = text.lastIndexOf('\n', from - 1) + 1;
  let lineEnd = text.indexOf('\n', from);
  if (lineEnd < 0) lineEnd = text.length;
  const line = excerpt(text.slice(lineBegin, lineEnd), 48);
  return line === '' ? '(line break)' : '"' + line + '"';
}

// The chain of directives of a context, outermost first.
function chainOf(context) {
  const chain = [];
  for (let c = context; c > 0; c = contextParent[c]) chain.unshift(contextDirective[c]);
  return chain;
}

function plural(count, one, many) { return count.toLocaleString('en') + ' ' + (count === 1 ? one : many); }

// ---- Layout

const crumb = document.getElementById('crumb');
const genPane = document.getElementById('genPane');
const tplPane = document.getElementById('tplPane');
const mdlPane = document.getElementById('mdlPane');
const outputList = document.getElementById('outputs');
const panel = document.getElementById('panel');
const panelBody = document.getElementById('panelBody');
let current = null;    // the output shown
let shownFile = null;  // the template file shown
let pinned = null;     // the breadcrumb of the last click: [parts, link]

// A breadcrumb part: [class, text, action when clicked].
function setCrumb(parts) {
  crumb.textContent = '';
  parts.forEach(([cls, text, action], index) => {
    if (index > 0) crumb.append(make('span', 'sep', cls === 'chain-next' ? ' \u203a ' : ' \u00b7 '));
    const part = make(action ? 'a' : 'span', cls === 'chain-next' ? 'chain' : cls, text);
    if (action) {
      part.href = '#';
      part.addEventListener('click', (event) => { event.preventDefault(); action(); });
    }
    crumb.append(part);
  });
}

function pin(parts, link) {
  pinned = [parts, link || null];
  setCrumb(parts);
  document.getElementById('linkCrumb').disabled = !link;
}

// Where a piece came from, as breadcrumb parts.
function describePiece(output, piece, offset) {
  const chain = chainOf(output.contexts[piece]);
  const parts = [];
  const code = output.userCode;
  for (let i = 0; i < code.length; i += 4) if (offset >= code[i + 1] && offset < code[i + 2]) parts.push(['user', 'user code']);
  if (chain.length === 0) {
    parts.push(['where', 'no template text']);
  } else {
    const producer = chain[chain.length - 1];
    const at = templateOffsetOf(output, piece, offset, producer);
    parts.push(['where', whereIn(templates[directiveFile[producer]], at)]);
    chain.forEach((directive, index) => {
      let label = index === chain.length - 1 ? labelOf(directive, at) : labelOf(directive);
      // A function is called from several places: the call names its own.
      if (/^\[%[-+]?\s*call\b/.test(directiveText(directive))) label += ' @' + shortWhere(directive);
      parts.push([index === 0 ? 'chain' : 'chain-next', label, () => selectDirective(directive)]);
    });
  }
  const value = output.values[piece];
  const object = output.objects[piece];
  const pointer = value >= 0 ? model.pointerOf(value) : objectPointer(object);
  if (pointer !== null) {
    const node = value >= 0 ? value : objectNode(object);
    parts.push(['ptr', pointer === '' ? '(root)' : pointer, node >= 0 ? () => selectNode(node) : null]);
  }
  return parts;
}

// The template offset a place in a piece stands for: in a literal text,
// the same line and column of the literal; elsewhere its directive.
function templateOffsetOf(output, piece, offset, directive) {
  const begin = directiveBegin[directive];
  if (!isLiteral(directive)) return begin;
  const text = output.text;
  const from = output.pieceBegin(piece);
  const template = templates[directiveFile[directive]].text;
  const end = directiveEnd[directive];
  let at = begin;
  let lineStart = from;
  for (let n = text.indexOf('\n', from); n >= 0 && n < offset; n = text.indexOf('\n', n + 1)) {
    const next = template.indexOf('\n', at);
    if (next < 0 || next + 1 >= end) return Math.max(Math.min(at, end - 1), begin);
    at = next + 1;
    lineStart = n + 1;
  }
  return Math.min(at + (offset - lineStart), end - 1);
}

// ---- Selecting pieces

let selection = null;  // what is lit: { test(output, piece), what, found: per output [places, first piece] }

function pieceIntervals(output, test) {
  const begins = [];
  const ends = [];
  const pieceEnds = output.ends;
  for (let i = 0; i < pieceEnds.length; i++) {
    const begin = i > 0 ? pieceEnds[i - 1] : 0;
    if (pieceEnds[i] === begin || !test(output, i)) continue;
    if (ends.length > 0 && ends[ends.length - 1] === begin) ends[ends.length - 1] = pieceEnds[i];
    else { begins.push(begin); ends.push(pieceEnds[i]); }
  }
  return { begins, ends };
}

// Lights what a test keeps, in every file; the file shown scrolls to its
// first place, and the panel lists the files.
function lightPieces(test, what) {
  selection = { test, what, found: [] };
  let total = 0;
  let files = 0;
  for (const output of outputs) {
    const { begins } = output === current ? drawPick(output, test) : pieceIntervals(output, test);
    selection.found.push([begins.length, begins.length > 0 ? begins[0] : -1]);
    total += begins.length;
    if (begins.length > 0) files++;
  }
  const here = current ? selection.found[current.index][0] : 0;
  if (current && here > 0) current.view.revealOffset(selection.found[current.index][1]);
  showFound();
  let count = plural(here, 'place', 'places') + ' in the generated text';
  if (outputs.length > 1) {
    count = plural(here, 'place', 'places') + ' in this file';
    if (total > here) count += ', ' + plural(total - here, 'place', 'places') + ' in ' + plural(files - (here > 0 ? 1 : 0), 'other file', 'other files');
  }
  return count;
}

function drawPick(output, test) {
  const intervals = pieceIntervals(output, test);
  output.view.setMark('pick', intervals.begins, intervals.ends);
  return intervals;
}

function clearPick() {
  selection = null;
  for (const output of outputs) if (output.view) output.view.clearMark('pick');
  for (const file of templates) {
    if (!file.view) continue;
    file.view.clearMark('pick');
    file.view.unmarkLines();
  }
  modelTree.select(-1);
  showFound();
}

function selectPiece(output, piece, offset) {
  clearPick();
  output.view.setMark('pick', [output.pieceBegin(piece)], [output.ends[piece]]);
  const chain = chainOf(output.contexts[piece]);
  if (chain.length > 0) {
    const producer = chain[chain.length - 1];
    showDirective(producer, templateOffsetOf(output, piece, offset, producer));
  }
  const value = output.values[piece];
  const node = value >= 0 ? value : objectNode(output.objects[piece]);
  if (node >= 0) modelTree.select(node);
  const line = output.view.lineOf(offset) + 1;
  pin(describePiece(output, piece, offset), 'out=' + (outputs.length > 1 ? output.name + ':' : '') + line);
}

// All text that a directive produced, itself or through the directives
// under it (a foreach its whole output, a call what its function wrote).
function selectDirective(directive) {
  clearPick();
  showDirective(directive);
  const under = new Uint8Array(contextParent.length);
  for (let c = 1; c < under.length; c++) under[c] = contextDirective[c] === directive || under[contextParent[c]] ? 1 : 0;
  const count = lightPieces((output, piece) => under[output.contexts[piece]] === 1, 'directive');
  const file = templates[directiveFile[directive]];
  const where = whereIn(file, directiveBegin[directive]);
  const line = where.split(':').slice(-2)[0];
  pin([['where', where], ['chain', labelOf(directive)], ['count', count]], 'tpl=' + file.name + ':' + line);
}

// All text made while a model element was the current object, or read
// from it: a scalar member lights every piece that printed it.
function selectNode(node) {
  clearPick();
  modelTree.select(node);
  const count = lightPieces((output, piece) => output.values[piece] === node || objectNode(output.objects[piece]) === node, 'node');
  const pointer = model.pointerOf(node);
  pin([['ptr', pointer === '' ? '(root)' : pointer], ['count', count]]);
}

function showDirective(directive, at) {
  const file = templates[directiveFile[directive]];
  if (shownFile !== file) showFile(file.index);
  const view = file.view;
  view.setMark('pick', [directiveBegin[directive]], [directiveEnd[directive]]);
  const first = view.lineOf(directiveBegin[directive]);
  const last = view.lineOf(Math.max(directiveBegin[directive], directiveEnd[directive] - 1));
  view.markLines(first, last);
  view.revealOffset(at === undefined ? directiveBegin[directive] : at);
}

// ---- Generated text

function decorationsOf(output) {
  const lines = new Map();
  const add = (line, cls, badge) => {
    const known = lines.get(line) || { cls: '', badge: '' };
    if (cls && !known.cls.includes(cls)) known.cls = (known.cls + ' ' + cls).trim();
    if (badge && !known.badge) known.badge = badge;
    lines.set(line, known);
  };
  const starts = output.lineStarts();
  const lineOf = (offset) => Math.max(upper(starts, offset) - 1, 0);
  if (output.status === 'stopped') add(lineOf(output.stop), 'stopline', '\u25a0 evaluation stopped here');
  for (const message of messagesOf(output)) {
    const line = message.offset >= 0 ? lineOf(message.offset) : message.line - 1;
    if (line >= 0) add(line, message.severity === 'error' ? 'errline' : 'warnline');
  }
  const changes = changesOf(output);
  if (changes) {
    for (const [first, count] of changes.lines) for (let line = first; line < first + count; line++) add(line, 'changed');
    for (const [line, count] of changes.removed) add(line, 'removed', '\u2212 ' + plural(count, 'line', 'lines') + ' removed above');
  }
  return lines;
}

function showOutput(index) {
  const output = outputs[index];
  if (current === output) return;
  if (current) current.view.hidden = true;
  if (!output.view) {
    const decorations = decorationsOf(output);
    output.view = new TextView(genPane, output.text, {
      lineStarts: output.lineStarts(), decorate: (line) => decorations.get(line) || null,
    });
    const view = output.view;
    const code = output.userCode;
    const begins = [];
    const ends = [];
    for (let i = 0; i < code.length; i += 4) { begins.push(code[i]); ends.push(code[i + 3]); }
    view.setMark('usercode', begins, ends);
    if (output.status === 'stopped') view.setMark('stop', [Math.max(output.stop - 1, 0)], [output.stop]);
    let hovered = -1;
    let frame = 0;
    view.view.addEventListener('mousemove', (event) => {
      if (frame) return;
      frame = requestAnimationFrame(() => {
        frame = 0;
        const offset = view.offsetAt(event.clientX, event.clientY);
        const piece = output.pieceAt(offset);
        if (piece === hovered) return;
        hovered = piece;
        hoverPiece(output, piece);
        setCrumb(piece >= 0 ? describePiece(output, piece, offset) : hoverLine(output, offset) || (pinned ? pinned[0] : []));
      });
    });
    view.view.addEventListener('mouseleave', () => {
      hovered = -1;
      hoverPiece(output, -1);
      if (pinned) setCrumb(pinned[0]);
    });
    view.view.addEventListener('click', (event) => timed(event, () => {
      const offset = view.offsetAt(event.clientX, event.clientY);
      const piece = output.pieceAt(offset);
      if (piece >= 0) {
        selectPiece(output, piece, offset);
      } else if (offset >= 0) {
        const line = view.lineOf(offset);
        const described = hoverLine(output, offset);
        if (described) pin(described, 'out=' + (outputs.length > 1 ? output.name + ':' : '') + (line + 1));
      }
    }));
  }
  output.view.hidden = false;
  current = output;
  outputList.value = String(index);
  if (selection) drawPick(output, selection.test);
  drawSearch();
  showFound();
}

// What a line without pieces tells: a change, or where evaluation stopped.
function hoverLine(output, offset) {
  if (offset < 0) return null;
  const line = output.view.lineOf(offset);
  const change = changeAt(output, line);
  if (change) return change;
  if (output.status === 'stopped') {
    if (line < output.view.lineOf(output.stop)) {
      return [['text', 'the text as far as evaluation got: it kept nothing to point at']];
    }
    const stop = messagesOf(output).find((message) => message.stop);
    return [['error', 'evaluation stopped here'], ['text', stop ? stop.text : 'no message']];
  }
  return null;
}

// Lighter than a click: nothing scrolls, unfolds or changes file.
function hoverPiece(output, piece) {
  if (piece < 0) {
    output.view.clearMark('hover');
    if (shownFile) shownFile.view.clearMark('hover');
    modelTree.hover(-1);
    return;
  }
  output.view.setMark('hover', [output.pieceBegin(piece)], [output.ends[piece]]);
  const chain = chainOf(output.contexts[piece]);
  const directive = chain.length > 0 ? chain[chain.length - 1] : -1;
  if (shownFile) {
    if (directive >= 0 && shownFile.index === directiveFile[directive]) {
      shownFile.view.setMark('hover', [directiveBegin[directive]], [directiveEnd[directive]]);
    } else {
      shownFile.view.clearMark('hover');
    }
  }
  const value = output.values[piece];
  modelTree.hover(value >= 0 ? value : objectNode(output.objects[piece]));
}

// ---- Template

const tabs = document.getElementById('tabs');
templates.forEach((file) => {
  file.tab = make('button', 'tab', file.name.split('/').pop());
  file.tab.title = file.from ? file.name + ', included at ' + whereIn(templates[file.from[0]], file.from[1]) : file.name;
  file.tab.addEventListener('click', () => showFile(file.index));
  tabs.append(file.tab);
});

function showFile(index) {
  const file = templates[index];
  if (shownFile === file) return;
  if (shownFile) { shownFile.view.hidden = true; shownFile.tab.classList.remove('on'); }
  if (!file.view) {
    file.view = new TextView(tplPane, file.text, { lineStarts: fileStarts(file), decorate: (line) => templateDecorations(file, line) });
    file.view.view.addEventListener('click', (event) => timed(event, () => {
      const offset = file.view.offsetAt(event.clientX, event.clientY);
      const directive = directiveAt(index, offset);
      if (directive >= 0) selectDirective(directive);
    }));
  }
  file.view.hidden = false;
  file.tab.classList.add('on');
  shownFile = file;
  drawSearch();
}

// The innermost directive at an offset of a template file.
function directiveAt(file, offset) {
  const list = byFile[file];
  let best = -1;
  // Spans are disjoint or nested: look back a little for the innermost.
  let at = upper(beginsByFile[file], offset) - 1;
  for (let seen = 0; at >= 0 && seen < 64; at--, seen++) {
    const directive = list[at];
    if (directiveEnd[directive] > offset &&
        (best < 0 || directiveEnd[directive] - directiveBegin[directive] < directiveEnd[best] - directiveBegin[best])) {
      best = directive;
    }
  }
  return best;
}

// Lines of a template file that messages point at.
const templateMarks = templates.map(() => new Map());
function templateDecorations(file, line) { return templateMarks[file.index].get(line) || null; }

// ---- Model

const modelTree = model
  ? new ModelTree(mdlPane, model, used)
  : { select() {}, hover() {}, refresh() {}, found: null, current: -1 };
if (model) modelTree.onSelect = (node, event) => timed(event, () => selectNode(node));
if (!model) {
  mdlPane.append(make('div', 'note', 'Late evaluation: the generated code reads the model when it runs, ' +
                                     'so no model took part here. The text points at the directives only.'));
}

// Time from an input event to the frame that shows its answer.
function timed(event, work) {
  work();
  requestAnimationFrame(() => setTimeout(() => { state.clickMs = performance.now() - event.timeStamp; }));
}
