'use strict';
// Tokenizes templates with the VS Code extension's grammar as VS Code does and
// checks the chosen tokens of tokens.json, that every reserved word of the
// parser is a keyword, and that well-formed templates have no invalid token
// and leave nothing open at a line's end but a directive or a comment.
// Usage: node textmate.js SOURCE_DIR NODE_MODULES_DIR
const fs = require('fs');
const path = require('path');

const [sourceDir, modulesDir] = process.argv.slice(2, 4).map((dir) => path.resolve(dir));
const vsctm = require(path.join(modulesDir, 'vscode-textmate'));
const oniguruma = require(path.join(modulesDir, 'vscode-oniguruma'));
const read = (file) => fs.readFileSync(path.join(sourceDir, file), 'utf8');

// A scope that a token of each kind has; text has none but the file's.
const kinds = {
  keyword: /^keyword\.control\./, boolean: /^constant\.language\.boolean\./, defined: /^keyword\.operator\.word\./,
  clause: /^keyword\.other\.clause\./, comment: /^comment\.block\./, string: /^string\.quoted\./,
  escape: /^constant\.character\.escape\./, property: /^variable\.other\.property\./,
  loop: /^variable\.language\.loop\./, self: /^variable\.language\.self\./, this: /^variable\.language\.this\./,
  parent: /^variable\.language\.parent\./, transform: /^support\.function\.transform\./,
  member: /^variable\.other\.member\./, number: /^constant\.numeric\./, variable: /^variable\.other\.mtt$/,
  function: /^entity\.name\.function\./, operator: /^keyword\.operator\.(?!trim)/, trim: /^keyword\.operator\.trim\./,
  separator: /^punctuation\.separator\.path\./, invalid: /^invalid\.illegal\./,
};
const multiLine = ['comment.block.mtt', 'meta.directive.mtt', 'meta.directive.output.mtt'];
// One-line constructs end at the line's end: their last token must close them.
const closers = { 'meta.property.mtt': 'punctuation.definition.property.end.mtt',
  'string.quoted.double.mtt': 'punctuation.definition.string.end.mtt',
  'string.quoted.double.name.mtt': 'punctuation.definition.string.end.mtt',
  'meta.arguments.transform.mtt': 'punctuation.section.arguments.end.mtt' };

// Every example, the parser's golden templates that parse, and this folder's.
function wellFormedTemplates() {
  const found = [];
  const walk = (folder, deep) => fs.readdirSync(path.join(sourceDir, folder), { withFileTypes: true }).forEach((e) => {
    const file = path.posix.join(folder, e.name);
    if (e.isDirectory() && deep) walk(file, deep);
    else if (e.name.endsWith('.mtt') && !/^(late-)?err-/.test(e.name)) found.push(file);
  });
  walk('examples', true);
  walk('editors/tests', false);
  walk('tests/host/parser/golden', false);
  return found;
}

async function loadGrammar() {
  const extension = path.join(sourceDir, 'editors', 'vscode');
  const { contributes } = JSON.parse(fs.readFileSync(path.join(extension, 'package.json'), 'utf8'));
  const entry = contributes.grammars[0];
  const language = contributes.languages.find((l) => l.id === entry.language && l.extensions.includes('.mtt'));
  JSON.parse(fs.readFileSync(path.join(extension, language.configuration), 'utf8'));
  const wasm = fs.readFileSync(path.join(modulesDir, 'vscode-oniguruma', 'release', 'onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const grammarPath = path.join(extension, entry.path);
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({ createOnigScanner: (p) => new oniguruma.OnigScanner(p),
      createOnigString: (s) => new oniguruma.OnigString(s) }),
    loadGrammar: async () => vsctm.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'), grammarPath),
  });
  return registry.loadGrammar(entry.scopeName);
}

// Each line's tokens, and the scopes open after it: those of a probe
// character that no rule matches.
function tokenize(grammar, text) {
  let state = vsctm.INITIAL;
  return text.split(/\r?\n/).map((line) => {
    const { tokens, ruleStack } = grammar.tokenizeLine(line, state);
    state = ruleStack;
    return { line, tokens, open: grammar.tokenizeLine('\u0001', state).tokens[0].scopes.slice(1) };
  });
}

const scopesAt = (line, column) => (line.tokens.find((t) => t.startIndex <= column && column < t.endIndex) || {}).scopes || [];

async function main() {
  const started = Date.now();
  const grammar = await loadGrammar();
  const failures = [];
  const wellFormed = wellFormedTemplates();
  const files = new Map(wellFormed.map((file) => [file, tokenize(grammar, read(file))]));
  const lines = (file) => files.get(file) || files.set(file, tokenize(grammar, read(file))).get(file);

  for (const file of wellFormed) {
    const tokenized = files.get(file);
    tokenized.forEach(({ line, tokens, open }, i) => {
      const at = `${file}:${i + 1}`;
      tokens.filter((t) => t.scopes.some((s) => s.startsWith('invalid.')))
        .forEach((t) => failures.push(`${at}:${t.startIndex + 1}: invalid token in a well-formed template`));
      const last = tokens[tokens.length - 1].scopes;
      Object.entries(closers).filter(([scope, closer]) => line && last.includes(scope) && !last.includes(closer))
        .forEach(([scope]) => failures.push(`${at}: the line ends inside ${scope}`));
      const stuck = open.filter((s) => !multiLine.includes(s));
      if (stuck.length || (i === tokenized.length - 1 && open.length)) failures.push(`${at}: ${open.join(' ')} stays open`);
    });
  }

  const chosen = JSON.parse(read('editors/tests/tokens.json'));
  for (const { file, at, kind } of chosen) {
    const [before, token] = at.split(/[«»]/);
    const context = at.replace(/[«»]/g, '');
    const index = lines(file).findIndex((l) => l.line.includes(context));
    if (index < 0) {
      failures.push(`${file}: no line holds ${JSON.stringify(context)} any more: update tokens.json`);
      continue;
    }
    const line = lines(file)[index];
    const start = line.line.indexOf(context) + before.length;
    for (let column = start; column < start + token.length; ++column) {
      const scopes = scopesAt(line, column);
      if (kind === 'text' ? scopes.length !== 1 : !scopes.some((s) => kinds[kind].test(s))) {
        failures.push(`${file}:${index + 1}:${column + 1}: "${token}" is ${scopes.slice(1).join(' ') || 'text'}, not ${kind}`);
        break;
      }
    }
  }

  const reserved = [...read('host/parser/DirectiveTable.cpp').matchAll(/\{"(\w+)",/g)].map((m) => m[1]);
  for (const word of reserved) {
    const scope = scopesAt(tokenize(grammar, `[% ${word} %]`)[0], 3).slice(-1)[0];
    if (!/^(keyword|constant\.language)\./.test(scope)) {
      failures.push(`reserved word '${word}' is ${scope}: add it to the keywords of editors/vscode/syntaxes/mtt.tmLanguage.json`);
    }
  }

  failures.forEach((f) => console.log(`FAIL ${f}`));
  console.log(`${wellFormed.length} templates, ${chosen.length} chosen tokens, ${reserved.length} reserved words: ` +
              `${failures.length} failures (${Date.now() - started} ms)`);
  process.exit(failures.length ? 1 : 0);
}

main().catch((error) => {
  console.log(`FAIL ${error.stack || error}`);
  process.exit(1);
});
