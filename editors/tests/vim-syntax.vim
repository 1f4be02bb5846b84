" Loads editors/vim through the runtimepath, as a user would, and checks the
" chosen tokens of tokens.json, that every reserved word of the parser is a
" keyword, and that well-formed templates have no error and leave nothing
" open at a line's end but a directive or a comment. vim.sh passes
" $MTT_SOURCE_DIR and $MTT_RESULT, the file that gets the report.
set encoding=utf-8 nocompatible hidden
let s:src = $MTT_SOURCE_DIR
let &runtimepath = s:src . '/editors/vim,' . &runtimepath
filetype plugin on
syntax on

let s:failures = []
let s:started = reltime()
" The group that a token of each kind is in; text is in none.
let s:kinds = {'keyword': 'Keyword', 'boolean': 'Boolean', 'defined': 'OperatorWord', 'clause': 'Clause',
      \ 'comment': 'Comment', 'string': '\(String\|QuotedName\)', 'escape': '\w*Escape', 'property': 'ValueName',
      \ 'loop': 'LoopValue', 'self': 'Self', 'this': '\(Path\)\=This', 'parent': '\(Path\)\=Parent',
      \ 'transform': 'Transform', 'member': 'Member', 'number': '\(Number\|Index\)', 'variable': 'Variable',
      \ 'function': 'Function', 'operator': 'Operator', 'trim': 'Trim', 'separator': 'PathSep', 'invalid': 'Error'}

function s:Groups(line, column) abort
  return map(synstack(a:line, a:column), 'synIDattr(v:val, "name")')
endfunction

function s:Edit(file) abort
  execute 'edit' fnameescape(s:src . '/' . a:file)
  if &filetype !=# 'mtt' || get(b:, 'current_syntax', '') !=# 'mtt'
    call add(s:failures, 'FAIL ' . a:file . ': not highlighted as mtt')
  endif
endfunction

" A scratch buffer of mtt text.
function s:Scratch(lines) abort
  enew
  setlocal buftype=nofile filetype=mtt
  call setline(1, a:lines)
endfunction

function s:CheckWellFormed(file) abort
  call s:Edit(a:file)
  let lines = getline(1, '$')
  for l in range(1, len(lines))
    for c in range(1, len(lines[l - 1]))
      if index(s:Groups(l, c), 'mttError') >= 0
        call add(s:failures, printf('FAIL %s:%d:%d: error in a well-formed template', a:file, l, c))
      endif
    endfor
  endfor
  " A probe line after each line shows what is open there.
  let probed = []
  for line in lines
    let probed += [line, "\x01"]
  endfor
  call s:Scratch(probed)
  for l in range(1, len(lines))
    let open = s:Groups(2 * l, 1)
    if !empty(filter(copy(open), 'v:val !~# "^mtt\\(Comment\\|Directive\\|Output\\)$"')) || (l == len(lines) && !empty(open))
      call add(s:failures, printf('FAIL %s:%d: %s stays open', a:file, l, join(open)))
    endif
  endfor
  bwipeout!
endfunction

function s:CheckToken(entry) abort
  let [before, token] = split(a:entry.at, '[«»]', 1)[0:1]
  let context = substitute(a:entry.at, '[«»]', '', 'g')
  call s:Edit(a:entry.file)
  let l = match(getline(1, '$'), '\V' . escape(context, '\')) + 1
  if l == 0
    return add(s:failures, printf('FAIL %s: no line holds "%s" any more: update tokens.json', a:entry.file, context))
  endif
  let start = stridx(getline(l), context) + len(before) + 1
  for c in range(start, start + len(token) - 1)
    let groups = s:Groups(l, c)
    if a:entry.kind ==# 'text' ? !empty(groups) : match(groups, '^mtt' . s:kinds[a:entry.kind] . '$') < 0
      call add(s:failures, printf('FAIL %s:%d:%d: "%s" is %s, not %s', a:entry.file, l, c, token,
            \ empty(groups) ? 'text' : join(groups), a:entry.kind))
      return
    endif
  endfor
endfunction

try
  let s:files = globpath(s:src, 'examples/**/*.mtt', 0, 1) + globpath(s:src, 'editors/tests/*.mtt', 0, 1)
        \ + filter(globpath(s:src, 'tests/host/parser/golden/*.mtt', 0, 1), 'v:val !~# "/\\(late-\\)\\=err-[^/]*$"')
  for s:file in s:files
    call s:CheckWellFormed(strpart(s:file, len(s:src) + 1))
  endfor
  let s:tokens = json_decode(join(readfile(s:src . '/editors/tests/tokens.json'), "\n"))
  for s:entry in s:tokens
    call s:CheckToken(s:entry)
  endfor
  let s:words = filter(map(readfile(s:src . '/host/parser/DirectiveTable.cpp'), 'matchstr(v:val, ''{"\zs\w\+\ze",'')'),
        \ '!empty(v:val)')
  call s:Scratch(map(copy(s:words), '"[% " . v:val . " %]"'))
  for s:l in range(1, len(s:words))
    let s:groups = s:Groups(s:l, 4)
    if empty(s:groups) || s:groups[-1] !~# '^mtt\(Keyword\|Boolean\|OperatorWord\)$'
      call add(s:failures, printf("FAIL reserved word '%s' is %s: add it to the keywords of editors/vim/syntax/mtt.vim",
            \ s:words[s:l - 1], join(s:groups)))
    endif
  endfor
  call add(s:failures, printf('%d templates, %d chosen tokens, %d reserved words: %d failures (%d ms)',
        \ len(s:files), len(s:tokens), len(s:words), len(s:failures), float2nr(reltimefloat(reltime(s:started)) * 1000)))
catch
  call add(s:failures, 'FAIL ' . v:exception . ' at ' . v:throwpoint)
endtry
call writefile(s:failures, $MTT_RESULT)
execute match(s:failures, '^FAIL') >= 0 ? 'cquit' : 'qall!'
