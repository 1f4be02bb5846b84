// The model pane: the document as a tree that unfolds on demand. Only the
// rows in sight are drawn, so a list of a million elements unfolds at once.
class ModelTree extends VirtualList {
  constructor(pane, table, used) {
    super(pane, 'model');
    this.table = table;
    this.used = used;                  // per node: 1 current object, 2 value read
    this.open = new Uint8Array(table.count);
    this.list = [0];                   // per row: a node, or ~node for its closing bracket
    this.selected = -1;
    this.hovered = -1;
    this.found = null;                 // nodes a search found (a Set)
    this.current = -1;                 // the search hit shown
    this.onSelect = null;
    this.setCount(1);
    this.toggle(0);
    if (table.count < 300) for (const child of table.childrenOf(0)) this.toggle(child);
    this.view.addEventListener('click', (event) => {
      const row = this.rowOf(event.target);
      if (!row) return;
      const node = this.list[row.line];
      if (node < 0) return;  // a closing bracket
      if (event.target.classList.contains('tog')) { this.toggle(node); return; }
      if (this.onSelect) this.onSelect(node, event);
    });
  }

  makeRow() {
    const element = make('div', 'row');
    return { element };
  }

  summary(node) {
    const count = this.table.children[node];
    const object = this.table.kind[node] === 0;
    return (object ? '{ \u2026 }  ' : '[ \u2026 ]  ') + count + (object ? (count === 1 ? ' member' : ' members')
                                                                    : (count === 1 ? ' item' : ' items'));
  }

  fillRow(row, index) {
    const node = this.list[index];
    const table = this.table;
    const element = row.element;
    const shown = node < 0 ? ~node : node;
    if (row.shown !== node || row.openState !== this.open[shown]) {
      row.shown = node;
      row.openState = this.open[shown];
      element.textContent = '';
      element.style.paddingLeft = table.depthOf(shown) * 14 + (node < 0 ? 18 : 4) + 'px';
      if (node < 0) {
        element.append(table.kind[shown] === 0 ? '}' : ']');
      } else {
        element.append(make('span', 'tog', table.isContainer(node) ? (this.open[node] ? '\u25be' : '\u25b8') : ''));
        const key = table.keyOf(node);
        if (key !== null) element.append(make('span', table.isElement(node) ? 'idx' : 'key', table.isElement(node) ? key : JSON.stringify(key)), ': ');
        if (table.isContainer(node) && this.open[node]) {
          element.append(table.kind[node] === 0 ? '{' : '[');
        } else if (table.isContainer(node)) {
          element.append(make('span', 'fold', this.summary(node)));
        } else {
          const value = table.scalar(node);
          const kind = value[0] === '"' ? 'str' : /[-0-9]/.test(value[0]) ? 'num' : 'lit';
          element.append(make('span', kind, value));
        }
      }
    }
    let cls = 'row';
    if (node >= 0) {
      if (this.used[node]) cls += ' used';
      if (node === this.selected) cls += ' sel';
      if (node === this.hovered) cls += ' hover';
      if (this.found && this.found.has(node)) cls += node === this.current ? ' found current' : ' found';
    }
    if (element.className !== cls) element.className = cls;
  }

  refresh() { for (const row of this.rows) if (row.line >= 0) this.fillRow(row, row.line); }

  toggle(node) {
    if (!this.table.isContainer(node)) return;
    const index = this.list.indexOf(node);
    this.open[node] ^= 1;
    if (index < 0) return;
    if (this.open[node]) {
      // Its contents, with its unfolded descendants', and its closing bracket.
      const children = [...this.table.childrenOf(node)];
      const rows = [];
      const pending = [~node];
      for (let i = children.length - 1; i >= 0; i--) pending.push(children[i]);
      while (pending.length > 0) {
        const next = pending.pop();
        rows.push(next);
        if (next < 0 || !this.open[next] || !this.table.isContainer(next)) continue;
        pending.push(~next);
        const inner = [...this.table.childrenOf(next)];
        for (let i = inner.length - 1; i >= 0; i--) pending.push(inner[i]);
      }
      this.list = this.list.slice(0, index + 1).concat(rows, this.list.slice(index + 1));
    } else {
      const close = this.list.indexOf(~node, index);
      this.list.splice(index + 1, close - index);
    }
    this.setCount(this.list.length);
  }

  // Unfolds down to a node, marks it and scrolls to it; -1 clears.
  select(node) {
    this.selected = node;
    if (node >= 0) this.show(node);
    this.refresh();
  }

  show(node) {
    const path = [];
    for (let n = this.table.parent[node]; n >= 0; n = this.table.parent[n]) path.unshift(n);
    for (const n of path) if (!this.open[n]) this.toggle(n);
    // An object opens too, to show its members; a list may be long.
    if (this.table.kind[node] === 0 && !this.open[node]) this.toggle(node);
    const index = this.list.indexOf(node);
    if (index >= 0) this.reveal(index);
  }

  hover(node) {
    if (node === this.hovered) return;
    this.hovered = node;
    this.refresh();
  }
}
