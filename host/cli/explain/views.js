// Scrolling views that draw only the rows in sight, so that any number of
// lines scrolls and the page holds a few dozen rows whatever the length.
// A browser caps an element's height (some 33 million pixels in Chromium,
// less in Firefox); beyond MAX_HEIGHT the scroll range stands for the rows
// in proportion, and the wheel and the keys move by pixels as usual.
const LINE = 18;            // px per row (see --line in explain.css)
const MAX_HEIGHT = 15e6;    // px of scroll range at most

function make(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = text;
  return e;
}

// Named highlights of text ranges (the CSS Custom Highlight API): no
// element is added to the text. Each view keeps the ranges it drew.
const marks = {};
for (const name of ['usercode', 'hover', 'pick', 'found', 'current', 'stop']) {
  marks[name] = typeof Highlight === 'function' ? new Highlight() : new Set();
  if (window.CSS && CSS.highlights) CSS.highlights.set(name, marks[name]);
}

class VirtualList {
  constructor(pane, className) {
    this.view = make('div', 'view ' + (className || ''));
    this.view.tabIndex = 0;
    this.window = make('div', 'window');
    this.box = make('div', 'rows');
    this.window.append(this.box);
    this.spacer = make('div', 'spacer');
    this.view.append(this.window, this.spacer);
    pane.append(this.view);
    this.count = 0;
    this.pos = 0;          // content pixels above the view's top
    this.ratio = 1;        // content pixels per pixel of scroll range
    this.expected = -1;    // the scrollTop this view set last
    this.rows = [];
    this.first = 0;
    this.drawnCount = 0;
    this.view.addEventListener('scroll', () => this.scrolled());
    this.view.addEventListener('wheel', (event) => this.wheel(event), { passive: false });
    this.view.addEventListener('keydown', (event) => this.key(event));
    new ResizeObserver(() => this.layout()).observe(this.view);
  }

  get hidden() { return this.view.hidden; }
  set hidden(value) {
    this.view.hidden = value;
    if (!value) this.layout();
  }

  total() { return this.count * LINE + LINE; }

  setCount(count) {
    this.count = count;
    this.layout();
  }

  layout() {
    const height = this.view.clientHeight;
    if (this.view.hidden || height === 0) return;
    const total = this.total();
    const range = Math.min(total, MAX_HEIGHT);
    this.ratio = total > range && range > height ? (total - height) / (range - height) : 1;
    this.window.style.height = height + 'px';
    this.spacer.style.height = Math.max(range - height, 0) + 'px';
    this.setPos(this.pos);
  }

  maxPos() { return Math.max(this.total() - this.view.clientHeight, 0); }

  setPos(pos) {
    this.pos = Math.max(0, Math.min(pos, this.maxPos()));
    const top = this.pos / this.ratio;
    if (Math.abs(this.view.scrollTop - top) >= 1) this.view.scrollTop = top;
    this.expected = this.view.scrollTop;
    this.draw();
  }

  scrolled() {
    const top = this.view.scrollTop;
    if (Math.abs(top - this.expected) >= 1) {
      // The user moved the scroll bar (or, unscaled, anything moved it).
      this.pos = Math.min(top * this.ratio, this.maxPos());
      this.expected = top;
    }
    this.draw();
  }

  // Scaled, the wheel and the keys would move by the ratio: they move the
  // content by their own amount instead.
  wheel(event) {
    if (this.ratio === 1 || event.ctrlKey) return;
    event.preventDefault();
    const unit = event.deltaMode === 1 ? LINE : event.deltaMode === 2 ? this.view.clientHeight : 1;
    this.view.scrollLeft += event.deltaX * unit;
    this.setPos(this.pos + event.deltaY * unit);
  }

  key(event) {
    if (this.ratio === 1 || event.altKey || event.metaKey) return;
    const page = this.view.clientHeight - LINE;
    const moves = { ArrowDown: LINE, ArrowUp: -LINE, PageDown: page, PageUp: -page, ' ': event.shiftKey ? -page : page };
    if (event.key in moves) {
      this.setPos(this.pos + moves[event.key]);
    } else if (event.key === 'Home' || event.key === 'End') {
      this.setPos(event.key === 'Home' ? 0 : this.maxPos());
    } else {
      return;
    }
    event.preventDefault();
  }

  // Draws the rows in sight from row pos / LINE.
  draw() {
    const height = this.view.clientHeight;
    if (this.view.hidden || height === 0) return;
    const first = Math.floor(this.pos / LINE);
    const shift = this.pos - first * LINE;
    const count = Math.min(Math.ceil((height + shift) / LINE) + 1, Math.max(this.count - first, 0));
    while (this.rows.length < count) {
      const row = this.makeRow();
      row.line = -1;
      this.rows.push(row);
      this.box.append(row.element);
    }
    for (let i = 0; i < this.rows.length; i++) {
      const row = this.rows[i];
      row.element.hidden = i >= count;
      if (i < count) {
        this.fillRow(row, first + i, row.line !== first + i);
        row.line = first + i;
      } else {
        row.line = -1;
      }
    }
    this.first = first;
    this.drawnCount = count;
    this.box.style.transform = 'translateY(' + -shift + 'px)';
    this.drawn();
  }

  // Overridden: the marks of the rows just drawn.
  drawn() {}

  // Whether row index is in full sight.
  inSight(index) {
    const top = index * LINE;
    return top >= this.pos && top + LINE <= this.pos + this.view.clientHeight;
  }

  // Scrolls row index into sight, a third from the top, unless it is.
  reveal(index, force) {
    if (!force && this.inSight(index)) return;
    this.setPos(index * LINE - this.view.clientHeight / 3);
  }

  // The row drawn for an element inside it, or null.
  rowOf(element) {
    for (const row of this.rows) if (row.line >= 0 && row.element.contains(element)) return row;
    return null;
  }
}

// A text with line numbers. Marks (named highlights) are kept as sorted
// [begin, end) offsets and drawn for the lines in sight.
class TextView extends VirtualList {
  constructor(pane, text, options) {
    super(pane, 'text');
    this.text = text;
    this.starts = (options && options.lineStarts) || lineStartsOf(text);
    this.decorate = (options && options.decorate) || null;
    this.lineMark = null;   // [first, last] lines marked as a band
    this.ranges = {};       // name -> {begins, ends}
    this.drawnRanges = {};  // name -> ranges added to the highlight
    let longest = 0;
    for (let line = 0; line < this.starts.length; line++) {
      const length = (line + 1 < this.starts.length ? this.starts[line + 1] : text.length) - this.starts[line];
      if (length > longest) longest = length;
    }
    const digits = String(this.starts.length).length;
    this.view.style.setProperty('--gutter', digits + 2 + 'ch');
    this.window.style.width = 'calc(' + (digits + 3) + 'ch + ' + (longest + 4) + 'ch + 24px)';
    this.window.style.minWidth = '100%';
    this.setCount(this.starts.length);
  }

  lineCount() { return this.starts.length; }
  lineOf(offset) { return Math.max(upper(this.starts, offset) - 1, 0); }
  lineStart(line) { return this.starts[line]; }
  // The line's end before its line break.
  lineEnd(line) {
    const end = line + 1 < this.starts.length ? this.starts[line + 1] : this.text.length;
    return end > this.starts[line] && this.text.charCodeAt(end - 1) === 10 ? end - 1 : end;
  }

  makeRow() {
    const element = make('div', 'row');
    const gutter = make('span', 'gut');
    const code = make('span', 'code');
    const node = document.createTextNode('');
    code.append(node);
    element.append(gutter, code);
    return { element, gutter, code, node };
  }

  fillRow(row, line, moved) {
    if (moved) {
      row.gutter.textContent = String(line + 1);
      row.node.data = this.text.slice(this.starts[line], this.lineEnd(line));
    }
    let cls = 'row';
    const band = this.lineMark && line >= this.lineMark[0] && line <= this.lineMark[1];
    if (band) cls += ' band' + (this.lineMark[2] ? ' ' + this.lineMark[2] : '');
    const decoration = this.decorate ? this.decorate(line) : null;
    if (decoration && decoration.cls) cls += ' ' + decoration.cls;
    if (row.element.className !== cls) row.element.className = cls;
    const badge = decoration && decoration.badge ? decoration.badge : '';
    if ((row.element.dataset.badge || '') !== badge) {
      if (badge) row.element.dataset.badge = badge; else delete row.element.dataset.badge;
    }
  }

  // Sets the [begin, end) offsets of a mark (sorted, not overlapping).
  setMark(name, begins, ends) {
    this.ranges[name] = { begins, ends };
    this.drawMark(name);
  }

  clearMark(name) { this.setMark(name, [], []); }

  markLines(first, last, cls) {
    this.lineMark = [first, last, cls || ''];
    this.refresh();
  }

  unmarkLines() {
    this.lineMark = null;
    this.refresh();
  }

  // Redraws the decorations of the rows in sight.
  refresh() {
    for (const row of this.rows) if (row.line >= 0) this.fillRow(row, row.line, false);
  }

  drawn() { for (const name in this.ranges) this.drawMark(name); }

  drawMark(name) {
    const highlight = marks[name];
    for (const range of this.drawnRanges[name] || []) highlight.delete(range);
    const drawn = [];
    this.drawnRanges[name] = drawn;
    const { begins, ends } = this.ranges[name];
    if (this.view.hidden || begins.length === 0 || this.drawnCount === 0) return;
    const firstLine = this.first;
    const lastLine = this.first + this.drawnCount - 1;
    const from = this.starts[firstLine];
    const to = lastLine + 1 < this.starts.length ? this.starts[lastLine + 1] : this.text.length;
    // The first range ending after the first line in sight.
    let low = 0;
    let high = ends.length;
    while (low < high) {
      const middle = (low + high) >>> 1;
      if (ends[middle] > from) high = middle; else low = middle + 1;
    }
    for (let i = low; i < begins.length && begins[i] < to; i++) {
      for (let line = Math.max(this.lineOf(begins[i]), firstLine); line <= lastLine; line++) {
        const start = this.starts[line];
        if (start >= ends[i]) break;
        const row = this.rows[line - firstLine];
        const length = row.node.length;
        const a = Math.max(begins[i] - start, 0);
        const b = Math.min(ends[i] - start, length);
        if (a >= b) continue;
        const range = new StaticRange({ startContainer: row.node, startOffset: a, endContainer: row.node, endOffset: b });
        highlight.add(range);
        drawn.push(range);
      }
    }
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
    if (!node) return -1;
    const row = this.rowOf(node);
    if (!row || row.gutter.contains(node)) return -1;
    if (node !== row.node) offset = node === row.code && offset > 0 ? row.node.length : 0;
    // The caret falls between characters: take the one before it when
    // the point is on that one (a surrogate pair is one character).
    if (offset > 0) {
      const code = row.node.data.charCodeAt(offset - 1);
      const before = code >= 0xdc00 && code <= 0xdfff && offset > 1 ? 2 : 1;
      const range = document.createRange();
      range.setStart(row.node, offset - before);
      range.setEnd(row.node, offset);
      const box = range.getBoundingClientRect();
      if (x >= box.left && x < box.right) offset -= before;
    }
    return this.starts[row.line] + offset;
  }

  // Scrolls so that an offset is in sight, sideways too.
  revealOffset(offset, force) {
    const line = this.lineOf(offset);
    this.reveal(line, force);
    const row = this.rows[line - this.first];
    if (!row || row.line !== line) return;
    const at = Math.min(offset - this.starts[line], row.node.length);
    const range = document.createRange();
    range.setStart(row.node, at);
    range.setEnd(row.node, Math.min(at + 1, row.node.length));
    const box = range.getBoundingClientRect();
    const view = this.view.getBoundingClientRect();
    const gutter = row.gutter.getBoundingClientRect().width;
    if (box.left < view.left + gutter + 8 || box.right > view.right - 16) {
      this.view.scrollLeft += box.left - (view.left + gutter + Math.min(view.width / 4, 80));
    }
  }
}
