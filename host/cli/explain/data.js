// The page's data (host/cli/ExplainPage.h describes it). Long tables come
// packed (host/cli/PackedNumbers.h): gzip-compressed columns of 32-bit
// integers, in base64, which the browser inflates and which are read as
// typed arrays without making a JavaScript number object per value. Every
// offset counts UTF-16 code units.

function bytesOf(base64) {
  if (typeof Uint8Array.fromBase64 === 'function') return Uint8Array.fromBase64(base64);
  const binary = atob(base64);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// The columns of a packed table, each as narrow a typed array as it was
// written.
async function unpack(base64, columns) {
  if (!base64) return Array.from({ length: columns }, () => new Int32Array(0));
  const bytes = bytesOf(base64);
  // The gzip trailer ends with the inflated size.
  const end = bytes.length;
  const size = (bytes[end - 4] | bytes[end - 3] << 8 | bytes[end - 2] << 16 | bytes[end - 1] << 24) >>> 0;
  const raw = new Uint8Array(size);
  const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip')).getReader();
  for (let at = 0; ;) {
    const { done, value } = await reader.read();
    if (done) break;
    raw.set(value, at);
    at += value.length;
  }
  const rows = new DataView(raw.buffer).getUint32(0, true);
  let at = 4 + columns;
  return Array.from({ length: columns }, (_, column) => {
    const width = raw[4 + column];
    at = (at + 3) & ~3;
    const Type = width === 1 ? Int8Array : width === 2 ? Int16Array : Int32Array;
    const array = new Type(raw.buffer, at, rows);
    at += rows * width;
    return array;
  });
}

// Growable Int32Array.
class IntList {
  constructor(capacity) {
    this.array = new Int32Array(Math.max(capacity || 16, 16));
    this.length = 0;
  }

  push(value) {
    if (this.length === this.array.length) {
      const grown = new Int32Array(this.array.length * 2);
      grown.set(this.array);
      this.array = grown;
    }
    this.array[this.length++] = value;
  }

  done() { return this.array.subarray(0, this.length); }
}

// The first index whose value is greater than x in an ascending array.
function upper(array, x, low, high) {
  low = low || 0;
  high = high === undefined ? array.length : high;
  while (low < high) {
    const middle = (low + high) >>> 1;
    if (array[middle] > x) high = middle; else low = middle + 1;
  }
  return low;
}

// Where each line of a text starts.
function lineStartsOf(text) {
  const starts = new IntList(text.length / 32 + 16);
  starts.push(0);
  for (let at = text.indexOf('\n'); at >= 0 && at + 1 < text.length; at = text.indexOf('\n', at + 1)) starts.push(at + 1);
  return starts.done();
}

// The model document: parents, keys and scalar texts per node, nodes in
// document order so that a node's descendants run up to end[node].
class ModelTable {
  constructor(model, [distances, keys, values]) {
    const count = distances.length;
    this.count = count;
    this.keys = model.keys;
    this.scalars = model.scalars;
    this.parent = new Int32Array(count);
    for (let node = 0; node < count; node++) this.parent[node] = distances[node] === 0 ? -1 : node - distances[node];
    this.key = keys;                  // 0: an element (or the root), else 1 + index in keys
    this.kind = new Uint8Array(count);  // 0 object, 1 array, 2 scalar
    this.scalarStart = new Int32Array(count + 1);
    this.end = new Int32Array(count);
    this.children = new Int32Array(count);
    this.ordinal = new Int32Array(count);  // place among the parent's children
    let at = 0;
    for (let node = 0; node < count; node++) {
      const v = values[node];
      this.kind[node] = v < 2 ? v : 2;
      this.scalarStart[node] = at;
      if (v >= 2) at += v - 2;
      const p = this.parent[node];
      if (p >= 0) this.ordinal[node] = this.children[p]++;
    }
    this.scalarStart[count] = at;
    for (let node = count - 1; node >= 0; node--) {
      if (this.end[node] < node + 1) this.end[node] = node + 1;
      const p = this.parent[node];
      if (p >= 0 && this.end[p] < this.end[node]) this.end[p] = this.end[node];
    }
  }

  isContainer(node) { return this.kind[node] < 2; }
  // The member name, or the element's number as a string (null for the root).
  keyOf(node) {
    if (this.parent[node] < 0) return null;
    const key = this.key[node];
    return key > 0 ? this.keys[key - 1] : String(this.ordinal[node]);
  }
  isElement(node) { return this.parent[node] >= 0 && this.key[node] === 0; }
  scalar(node) { return this.scalars.slice(this.scalarStart[node], this.scalarStart[node + 1]); }
  *childrenOf(node) {
    for (let child = node + 1; child < this.end[node]; child = this.end[child]) yield child;
  }
  depthOf(node) {
    let depth = 0;
    for (let n = this.parent[node]; n >= 0; n = this.parent[n]) depth++;
    return depth;
  }
  // The RFC 6901 JSON pointer.
  pointerOf(node) {
    const parts = [];
    for (let n = node; this.parent[n] >= 0; n = this.parent[n]) {
      parts.push(this.keyOf(n).replace(/~/g, '~0').replace(/\//g, '~1'));
    }
    return parts.length === 0 ? '' : '/' + parts.reverse().join('/');
  }
}

// One generated file: its text and, per piece (output leaf) in text
// order, where it ends, its chain of directives, its object and the node
// it was read from.
class OutputData {
  constructor(output, index, [lengths, contexts, objects, values]) {
    this.index = index;
    this.name = output.name;
    this.template = output.template;
    this.status = output.status;
    this.text = output.text;
    this.userCode = output.userCode;
    this.stop = output.stop;
    const count = lengths.length;
    this.ends = new Int32Array(count);
    this.contexts = contexts;
    this.objects = new Int32Array(count);
    this.values = new Int32Array(count);
    let end = 0;
    let object = -1;
    for (let i = 0; i < count; i++) {
      this.ends[i] = end += lengths[i];
      this.objects[i] = object += objects[i];
      this.values[i] = values[i] === -2147483648 ? -1 : object + values[i];
    }
    this.lines = null;  // line starts, made when first needed
  }

  lineStarts() {
    if (!this.lines) this.lines = lineStartsOf(this.text);
    return this.lines;
  }

  pieceAt(offset) {
    const index = upper(this.ends, offset);
    return offset >= 0 && index < this.ends.length ? index : -1;
  }

  pieceBegin(index) { return index > 0 ? this.ends[index - 1] : 0; }
}
