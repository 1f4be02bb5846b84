// The explain page: the generated text, the template and the model side by
// side, from the data mttgen embeds (its layout is described in
// host/cli/ExplainPage.h). Every offset is in UTF-16 code units, as
// JavaScript strings count; mttgen has converted them from bytes.
'use strict';
(function () {
  const LINE = 18;    // px per line (see --line): line positions are exact
  const CHUNK = 200;  // lines per chunk: chunks out of view are not laid out
  const GROUP = 100;  // model rows per group, likewise
  const data = JSON.parse(document.getElementById('explain-data').textContent);
  const state = window.explain = { ready: false };

  function make(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // The first index whose value is greater than x in an ascending array.
  function upper(array, x) {
    let low = 0;
    let high = array.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (array[middle] > x) high = middle; else low = middle + 1;
    }
    return low;
  }

  // Named highlights of text ranges: no element is added to the text.
  const marks = {};
  for (const name of ['usercode', 'hover', 'pick']) {
    marks[name] = typeof Highlight === 'function' ? new Highlight() : new Set();
    if (window.CSS && CSS.highlights) CSS.highlights.set(name, marks[name]);
  }

  // A text with line numbers in a scrolling view. It is cut into chunks of
  // lines, one text node each, so a megabyte of text makes a few hundred
  // nodes, and the browser lays out only the chunks in view.
  class TextView {
    constructor(view, text) {
      this.view = view;
      this.text = text;
      const starts = [0];
      for (let at = text.indexOf('\n'); at >= 0 && at + 1 < text.length; at = text.indexOf('\n', at + 1)) {
        starts.push(at + 1);
      }
      this.lineStarts = starts;
      this.chunkStarts = [];
      this.nodes = [];
      this.chunkOf = new Map();
      const sheet = make('div', 'sheet');
      const width = String(starts.length).length + 2 + 'ch';
      for (let first = 0; first < starts.length; first += CHUNK) {
        const last = Math.min(first + CHUNK, starts.length);
        const chunk = make('div', 'chunk');
        chunk.style.height = (last - first) * LINE + 'px';
        let numbers = '';
        for (let line = first + 1; line <= last; line++) numbers += line + '\n';
        const gutter = make('pre', 'gut', numbers);
        gutter.style.width = width;
        const code = make('pre', 'code');
        const node = document.createTextNode(text.slice(starts[first], last < starts.length ? starts[last] : text.length));
        code.append(node);
        chunk.append(gutter, code);
        sheet.append(chunk);
        this.chunkOf.set(node, this.nodes.length);
        this.chunkStarts.push(starts[first]);
        this.nodes.push(node);
      }
      this.mark = make('div', 'linemark');
      this.mark.hidden = true;
      sheet.append(this.mark);
      view.append(sheet);
    }

    // The offset of the character under a point, or -1.
    offsetAt(x, y) {
      let node = null;
      let offset = 0;
      if (document.caretRangeFromPoint) {
        const caret = document.caretRangeFromPoint(x, y);
        if (caret) { node = caret.startContainer; offset = caret.startOffset; }
      } else if (document.caretPositionFromPoint) {
        const caret = document.caretPositionFromPoint(x, y);
        if (caret) { node = caret.offsetNode; offset = caret.offset; }
      }
      const chunk = this.chunkOf.get(node);
      if (chunk === undefined) return -1;
      // The caret falls between characters: take the one before it when
      // the point is on that one (a surrogate pair is one character).
      if (offset > 0) {
        const code = node.data.charCodeAt(offset - 1);
        const before = code >= 0xdc00 && code <= 0xdfff && offset > 1 ? 2 : 1;
        const range = document.createRange();
        range.setStart(node, offset - before);
        range.setEnd(node, offset);
        const box = range.getBoundingClientRect();
        if (x >= box.left && x < box.right) offset -= before;
      }
      return this.chunkStarts[chunk] + offset;
    }

    // Ranges covering [begin, end), one per chunk crossed.
    ranges(begin, end) {
      const result = [];
      for (let chunk = Math.max(upper(this.chunkStarts, begin) - 1, 0);
           chunk < this.nodes.length && this.chunkStarts[chunk] < end; chunk++) {
        const node = this.nodes[chunk];
        const start = this.chunkStarts[chunk];
        const range = document.createRange();
        range.setStart(node, Math.max(begin - start, 0));
        range.setEnd(node, Math.min(end - start, node.length));
        if (!range.collapsed) result.push(range);
      }
      return result;
    }

    lineOf(offset) { return upper(this.lineStarts, offset); }

    // Marks the lines of [begin, end) and scrolls them into view.
    markLines(begin, end) {
      const first = this.lineOf(begin);
      const last = Math.max(first, this.lineOf(Math.max(begin, end - 1)));
      this.mark.style.top = (first - 1) * LINE + 'px';
      this.mark.style.height = (last - first + 1) * LINE + 'px';
      this.mark.dataset.line = first;
      this.mark.hidden = false;
      this.reveal(begin);
    }

    unmark() { this.mark.hidden = true; }

    reveal(offset) {
      const top = (this.lineOf(offset) - 1) * LINE;
      const view = this.view;
      if (top < view.scrollTop || top + LINE > view.scrollTop + view.clientHeight) {
        view.scrollTop = Math.max(0, top - view.clientHeight / 3);
      }
    }
  }

  // Tables.
  const directives = [];
  for (let i = 0; i < data.directives.length; i += 5) {
    const [file, begin, end, where, label] = data.directives.slice(i, i + 5);
    directives.push({ file, begin, end, where, label });
  }
  const contextParent = [];
  const contextDirective = [];
  for (let i = 0; i < data.contexts.length; i += 2) {
    contextParent.push(data.contexts[i]);
    contextDirective.push(data.contexts[i + 1]);
  }
  const objectNode = [];
  const objectPointer = [];
  for (let i = 0; i < data.objects.length; i += 2) {
    objectNode.push(data.objects[i]);
    objectPointer.push(data.objects[i + 1]);
  }
  const outputs = data.outputs.map((output) => {
    const count = output.pieces.length / 3;
    const piece = { ends: new Int32Array(count), contexts: new Int32Array(count), objects: new Int32Array(count) };
    let end = 0;
    let object = -1;
    for (let i = 0; i < count; i++) {
      piece.ends[i] = end += output.pieces[3 * i];
      piece.contexts[i] = output.pieces[3 * i + 1];
      piece.objects[i] = object += output.pieces[3 * i + 2];
    }
    return Object.assign(piece, { name: output.name, text: output.text, userCode: output.userCode, view: null });
  });

  // The directives of each file, by position.
  const byFile = data.files.map(() => []);
  directives.forEach((directive, index) => byFile[directive.file].push(index));
  for (const list of byFile) list.sort((a, b) => directives[a].begin - directives[b].begin);
  const beginsByFile = byFile.map((list) => list.map((index) => directives[index].begin));

  function directiveAt(file, offset) {
    const list = byFile[file];
    let best = -1;
    // Spans are disjoint or nested: look back a little for the innermost.
    let at = upper(beginsByFile[file], offset) - 1;
    for (let seen = 0; at >= 0 && seen < 64; at--, seen++) {
      const directive = directives[list[at]];
      if (directive.end > offset &&
          (best < 0 || directive.end - directive.begin < directives[best].end - directives[best].begin)) {
        best = list[at];
      }
    }
    return best;
  }

  function labelOf(directive) { return directives[directive].label || '(blank text)'; }

  // The chain of directives of a context, outermost first.
  function chainOf(context) {
    const chain = [];
    for (let c = context; c > 0; c = contextParent[c]) chain.unshift(contextDirective[c]);
    return chain;
  }

  // Panes.
  const crumb = document.getElementById('crumb');
  const genPane = document.getElementById('genPane');
  const tplPane = document.getElementById('tplPane');
  const mdlView = document.getElementById('mdlView');
  let current = null;   // the output shown
  let pinned = null;    // the breadcrumb of the last click

  function setCrumb(parts) {
    crumb.textContent = '';
    parts.forEach(([cls, text], index) => {
      if (index > 0) crumb.append(make('span', 'sep', ' \u00b7 '));
      crumb.append(make('span', cls, text));
    });
  }

  function describePiece(output, index, offset) {
    const chain = chainOf(output.contexts[index]);
    const parts = [];
    const section = output.userCode.findIndex((v, i) => i % 4 === 1 && offset >= v && offset < output.userCode[i + 1]);
    if (section >= 0) parts.push(['user', 'user code']);
    const producer = chain.length > 0 ? directives[chain[chain.length - 1]] : null;
    parts.push(['where', producer ? producer.where : 'no template position']);
    if (producer) parts.push(['chain', chain.map(labelOf).join(' \u203a ')]);
    const object = output.objects[index];
    if (object >= 0) parts.push(['ptr', objectPointer[object] === '' ? '(root)' : objectPointer[object]]);
    return parts;
  }

  function pieceAt(output, offset) {
    const index = upper(output.ends, offset);
    return offset >= 0 && index < output.ends.length ? index : -1;
  }

  function pieceBegin(output, index) { return index > 0 ? output.ends[index - 1] : 0; }

  // Highlights the pieces for which keep(index) holds; adjacent ones make
  // one range.
  function pickPieces(output, keep) {
    if (!output) return 0;
    let count = 0;
    let begin = -1;
    let end = -1;
    let first = -1;
    const flush = () => {
      if (begin >= 0) for (const range of output.view.ranges(begin, end)) marks.pick.add(range);
    };
    for (let i = 0; i < output.ends.length; i++) {
      if (!keep(i) || output.ends[i] === pieceBegin(output, i)) continue;
      count++;
      if (first < 0) first = pieceBegin(output, i);
      if (pieceBegin(output, i) !== end) { flush(); begin = pieceBegin(output, i); }
      end = output.ends[i];
    }
    flush();
    if (first >= 0) output.view.reveal(first);
    return count;
  }

  function clearPick() {
    marks.pick.clear();
    for (const file of files) if (file.view) file.view.unmark();
    model.select(-1);
  }

  // Generated text.
  const outputList = document.getElementById('outputs');
  function showOutput(index) {
    const output = outputs[index];
    if (current) current.view.view.hidden = true;
    if (!output.view) {
      const view = make('div', 'view');
      genPane.append(view);
      output.view = new TextView(view, output.text);
      for (let i = 0; i < output.userCode.length; i += 4) {
        for (const range of output.view.ranges(output.userCode[i], output.userCode[i + 3])) marks.usercode.add(range);
      }
      let hovered = -1;
      let frame = 0;
      view.addEventListener('mousemove', (event) => {
        if (frame) return;
        frame = requestAnimationFrame(() => {
          frame = 0;
          const offset = output.view.offsetAt(event.clientX, event.clientY);
          const piece = pieceAt(output, offset);
          if (piece === hovered) return;
          hovered = piece;
          hoverPiece(output, piece);
          setCrumb(piece < 0 ? pinned || [] : describePiece(output, piece, offset));
        });
      });
      view.addEventListener('mouseleave', () => {
        hovered = -1;
        hoverPiece(output, -1);
        if (pinned) setCrumb(pinned);
      });
      view.addEventListener('click', (event) => timed(event, () => {
        const offset = output.view.offsetAt(event.clientX, event.clientY);
        const piece = pieceAt(output, offset);
        if (piece >= 0) selectPiece(output, piece, offset);
      }));
    }
    output.view.view.hidden = false;
    current = output;
    outputList.value = String(index);
  }

  // Lighter than a click: nothing scrolls, unfolds or changes file.
  function hoverPiece(output, piece) {
    marks.hover.clear();
    model.hover(-1);
    if (piece < 0) return;
    for (const range of output.view.ranges(pieceBegin(output, piece), output.ends[piece])) marks.hover.add(range);
    const chain = chainOf(output.contexts[piece]);
    const directive = chain.length > 0 ? directives[chain[chain.length - 1]] : null;
    if (directive && shownFile === files[directive.file]) {
      for (const range of shownFile.view.ranges(directive.begin, directive.end)) marks.hover.add(range);
    }
    const object = output.objects[piece];
    if (object >= 0) model.hover(objectNode[object]);
  }

  function selectPiece(output, piece, offset) {
    clearPick();
    for (const range of output.view.ranges(pieceBegin(output, piece), output.ends[piece])) marks.pick.add(range);
    const chain = chainOf(output.contexts[piece]);
    if (chain.length > 0) showDirective(chain[chain.length - 1]);
    const object = output.objects[piece];
    if (object >= 0) model.select(objectNode[object], objectPointer[object]);
    pinned = describePiece(output, piece, offset);
    setCrumb(pinned);
  }

  // Template.
  const tabs = document.getElementById('tabs');
  const files = data.files.map((file, index) => {
    const tab = make('button', 'tab', file.name.split('/').pop());
    tab.title = file.from ? file.name + ', included at ' + file.from : file.name;
    tab.addEventListener('click', () => showFile(index));
    tabs.append(tab);
    return { text: file.text, tab, view: null, index };
  });
  let shownFile = null;
  function showFile(index) {
    const file = files[index];
    if (shownFile) { shownFile.view.view.hidden = true; shownFile.tab.classList.remove('on'); }
    if (!file.view) {
      const view = make('div', 'view');
      tplPane.append(view);
      file.view = new TextView(view, file.text);
      view.addEventListener('click', (event) => timed(event, () => {
        const directive = directiveAt(index, file.view.offsetAt(event.clientX, event.clientY));
        if (directive >= 0) selectDirective(directive);
      }));
    }
    file.view.view.hidden = false;
    file.tab.classList.add('on');
    shownFile = file;
  }

  function showDirective(index) {
    const directive = directives[index];
    if (shownFile !== files[directive.file]) showFile(directive.file);
    const view = files[directive.file].view;
    for (const range of view.ranges(directive.begin, directive.end)) marks.pick.add(range);
    view.markLines(directive.begin, directive.end);
  }

  // All text that a directive produced, itself or through the directives
  // under it.
  function selectDirective(index) {
    clearPick();
    showDirective(index);
    const under = new Uint8Array(contextParent.length);
    for (let c = 1; c < under.length; c++) {
      under[c] = contextDirective[c] === index || under[contextParent[c]] ? 1 : 0;
    }
    const count = pickPieces(current, (piece) => under[current.contexts[piece]] === 1);
    const directive = directives[index];
    pinned = [['where', directive.where], ['chain', labelOf(index)],
              ['count', count + (count === 1 ? ' piece' : ' pieces') + ' of generated text']];
    setCrumb(pinned);
  }

  // Model: a tree that unfolds on demand, so a large document costs little
  // until it is opened.
  class ModelTree {
    constructor(view, table) {
      this.view = view;
      this.parent = [];
      this.key = [];
      this.value = [];
      this.children = [];
      for (let i = 0; i < table.length; i += 3) {
        const node = i / 3;
        this.parent.push(table[i]);
        this.key.push(table[i + 1]);
        this.value.push(table[i + 2]);
        this.children.push(null);
        if (table[i] >= 0) (this.children[table[i]] = this.children[table[i]] || []).push(node);
      }
      this.objects = new Map();  // node -> objects made from it
      objectNode.forEach((node, object) => {
        if (node >= 0) (this.objects.get(node) || this.objects.set(node, []).get(node)).push(object);
      });
      this.rows = [];
      this.open = new Uint8Array(this.parent.length);
      this.selected = -1;
      this.hovered = -1;
      view.append(this.render(0, 0));
      this.toggle(0);
      if (this.parent.length < 300) for (const child of this.children[0] || []) this.toggle(child);
      view.addEventListener('click', (event) => {
        const row = event.target.closest('.row');
        if (!row || row.dataset.node === undefined) return;  // a closing bracket
        const node = Number(row.dataset.node);
        if (event.target.classList.contains('tog')) { this.toggle(node); return; }
        timed(event, () => selectNode(node));
      });
    }

    isContainer(node) { return this.value[node] === '{' || this.value[node] === '['; }

    // The row of a node, in a block that also takes its children.
    render(node, depth) {
      const block = make('div', 'node');
      const row = make('div', 'row');
      row.dataset.node = node;
      row.style.paddingLeft = depth * 14 + 4 + 'px';
      if (this.objects.has(node)) row.classList.add('used');
      row.append(make('span', 'tog', this.isContainer(node) ? '\u25b8' : ''));
      const key = this.key[node];
      if (key !== null) row.append(make('span', 'key', typeof key === 'number' ? String(key) : JSON.stringify(key)), ': ');
      const value = this.value[node];
      if (this.isContainer(node)) {
        row.append(value, make('span', 'fold', this.summary(node)));
      } else {
        const kind = value[0] === '"' ? 'str' : /[-0-9]/.test(value[0]) ? 'num' : 'lit';
        row.append(make('span', kind, value));
      }
      block.append(row);
      this.rows[node] = row;
      row.depth = depth;
      return block;
    }

    summary(node) {
      const count = (this.children[node] || []).length;
      const what = this.value[node] === '{' ? [' member', ' members', '}'] : [' item', ' items', ']'];
      return ' \u2026 ' + what[2] + '  ' + count + what[count === 1 ? 0 : 1];
    }

    toggle(node) {
      if (!this.isContainer(node)) return;
      const row = this.rows[node];
      const block = row.parentNode;
      this.open[node] ^= 1;
      row.firstChild.textContent = this.open[node] ? '\u25be' : '\u25b8';
      row.lastChild.textContent = this.open[node] ? '' : this.summary(node);
      if (!this.open[node]) {
        while (block.lastChild !== row) block.lastChild.remove();
        return;
      }
      // Long lists go in groups that the browser lays out only in view.
      const fragment = document.createDocumentFragment();
      const children = this.children[node] || [];
      for (let first = 0; first < children.length; first += GROUP) {
        const group = children.length > GROUP ? make('div', 'group') : fragment;
        for (const child of children.slice(first, first + GROUP)) group.append(this.render(child, row.depth + 1));
        if (group !== fragment) {
          group.style.containIntrinsicSize = 'auto ' + Math.min(GROUP, children.length - first) * LINE + 'px';
          fragment.append(group);
        }
      }
      const close = make('div', 'row', this.value[node] === '{' ? '}' : ']');
      close.style.paddingLeft = row.depth * 14 + 18 + 'px';
      fragment.append(close);
      block.append(fragment);
    }

    // Marks a node's row if it is unfolded; -1 clears the mark.
    hover(node) {
      if (this.hovered >= 0 && this.rows[this.hovered]) this.rows[this.hovered].classList.remove('hover');
      this.hovered = node;
      if (node >= 0 && this.rows[node] && this.rows[node].isConnected) this.rows[node].classList.add('hover');
    }

    // Unfolds down to a node and marks it; -1 clears the mark.
    select(node, pointer) {
      if (this.selected >= 0 && this.rows[this.selected]) this.rows[this.selected].classList.remove('sel');
      this.selected = node;
      if (node < 0) return;
      const path = [];
      for (let n = this.parent[node]; n >= 0; n = this.parent[n]) path.unshift(n);
      for (const n of path) if (!this.open[n]) this.toggle(n);
      // An object opens too, to show its members; a list may be long.
      if (this.value[node] === '{' && !this.open[node]) this.toggle(node);
      const row = this.rows[node];
      row.classList.add('sel');
      if (pointer !== undefined) row.dataset.pointer = pointer;
      const top = row.offsetTop;
      if (top < this.view.scrollTop || top + LINE > this.view.scrollTop + this.view.clientHeight) {
        this.view.scrollTop = Math.max(0, top - this.view.clientHeight / 3);
      }
    }
  }

  const model = data.model
    ? new ModelTree(mdlView, data.model)
    : { select() {}, hover() {}, objects: new Map() };
  if (!data.model) {
    mdlView.append(make('div', 'note', 'Late evaluation: the generated code reads the model when it runs, ' +
                                       'so no model took part here. The text points at the directives only.'));
  }

  // All text made while a model element was the current object.
  function selectNode(node) {
    clearPick();
    const objects = model.objects.get(node) || [];
    model.select(node, objects.length > 0 ? objectPointer[objects[0]] : undefined);
    const count = pickPieces(current, (piece) => objects.includes(current.objects[piece]));
    pinned = [['ptr', objects.length > 0 ? objectPointer[objects[0]] || '(root)' : 'this element'],
              ['count', count + (count === 1 ? ' piece' : ' pieces') + ' of generated text']];
    setCrumb(pinned);
  }

  // Time from an input event to the frame that shows its answer.
  function timed(event, work) {
    work();
    requestAnimationFrame(() => setTimeout(() => { state.clickMs = performance.now() - event.timeStamp; }));
  }

  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') { clearPick(); pinned = null; setCrumb([]); }
  });

  outputs.forEach((output, index) => outputList.append(new Option(output.name, String(index))));
  outputList.hidden = outputs.length < 2;
  document.querySelector('.legend.user').hidden = outputs.every((output) => output.userCode.length === 0);
  outputList.addEventListener('change', () => { clearPick(); showOutput(Number(outputList.value)); });
  document.getElementById('title').textContent =
    (outputs.length === 1 ? outputs[0].name : outputs.length + ' files') + ' \u2190 ' + data.files[0].name;
  if (files.length > 0) showFile(0);
  if (outputs.length > 0) showOutput(0);
  state.readyMs = performance.now();
  state.ready = true;
  requestAnimationFrame(() => setTimeout(() => { state.shownMs = performance.now(); }));
})();
