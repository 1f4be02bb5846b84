" Vim syntax file
" Language:   mtt templates (*.mtt)
" The text around [% directives %], [%# comments %] and ${values} is the
" generated file's own text and stays plain.

if exists('b:current_syntax')
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case match
" Keywords are whole names; '-' is left out so that 'end-%]' trims.
syn iskeyword @,48-57,_,.,192-255

" Before [% or ${, an odd number of backslashes makes the delimiter literal;
" an even number is halved.
syn match mttTextEscape /\\\@<!\%(\\\\\)*\\\%(\[%\|\${\)/
syn match mttTextEscape /\\\@<!\%(\\\\\)\+\ze\%(\[%\|\${\)/

" A comment ends at the first closing mark: no strings inside.
syn region mttComment start=/\[%\%(-\?#\)\@=/ end=/%\]/ contains=mttTrim,mttTodo
syn keyword mttTodo contained TODO FIXME XXX

" Directives may span lines; a string inside may hold %].
syn region mttOutput matchgroup=mttDelimiter start=/\[%\%(-\?=\)\@=/ end=/%\]/
      \ contains=mttTrim,mttOutputMark,@mttExpression
syn region mttDirective matchgroup=mttDelimiter start=/\[%\%(-\?[#=]\)\@!/ end=/%\]/
      \ contains=mttTrim,@mttExpression

syn cluster mttExpression contains=mttProperty,mttString,mttKeyword,mttBoolean,mttOperatorWord,
      \mttClause,mttNumber,mttParent,mttThis,mttFunction,mttVariable,mttOperator,mttPathSep,mttParen,mttComma

" The directives of host/parser/DirectiveTable.cpp: a new one goes here and
" into editors/vscode/syntaxes/mtt.tmLanguage.json.
syn keyword mttKeyword contained if elif else end foreach function call int string usercode special SPC NL
      \ beginstatement endstatement include import
syn keyword mttBoolean contained true false
syn keyword mttOperatorWord contained defined

" Any other word is a variable, a function or a path element. Where several
" items start at one place, the one defined last wins.
syn match mttVariable /\%([[:alnum:]_.]\|[^\x00-\x7f]\|-\%(%\]\)\@!\)\+/ contained
syn match mttFunction /\d\@!\%([[:alnum:]_.]\|[^\x00-\x7f]\|-\%(%\]\)\@!\)\+\ze\s*(/ contained
syn match mttNumber /\d\+\%([[:alnum:]_.]\|[^\x00-\x7f]\|-\%(%\]\)\@!\)\@!/ contained
syn match mttParent /\.\.\%([[:alnum:]_.]\|[^\x00-\x7f]\|-\%(%\]\)\@!\)\@!/ contained
syn match mttThis /this\%([[:alnum:]_.]\|[^\x00-\x7f]\|-\%(%\]\)\@!\)\@!/ contained
" Clause words are not reserved: keywords where an operand follows,
" variables elsewhere.
syn match mttClause ;\%(separator\|where\|sort\|as\)\ze\s\+[[:alnum:]_"$(!/.@]; contained
" desc after a sort key, in the same directive.
syn match mttClause ;\%(sort\s\%(\%(%\]\)\@!.\)\{-}\)\@<=desc\ze\s*\%(,\|-\=%\]\|separator\s\); contained
syn match mttPathSep +/+ contained
syn match mttOperator ;&&\|||\|[=!<>]=\|[-+*/|]=\|[=<>!+*]\|-\%(%\]\)\@!\|%\]\@!; contained
syn match mttParen /[()]/ contained
syn match mttComma /,/ contained
" Trim markers and the output mark, after the operators that would take them.
syn match mttTrim /\%(\[%\)\@<=-\|\%(\[%-\?[#=]\)\@<=-\|-\%(%\]\)\@=/ contained
syn match mttOutputMark /\%(\[%-\?\)\@<==/ contained

" Strings cannot span lines.
syn region mttString start=/"/ skip=/\\./ end=/"/ oneline contained contains=mttError,mttStringEscape
syn match mttError /\\./ contained
syn match mttStringEscape /\\["\\nt]/ contained

" ${ref|transform(arguments):path} on one line, without blanks outside quotes.
syn region mttProperty matchgroup=mttPropertyDelim start=/\${/ end=/}/ oneline
      \ contains=mttQuotedName,mttPath,mttPipe,mttValueName,mttSelf,mttLoopValue
syn region mttQuotedName start=/"/ skip=/\\./ end=/"/ oneline contained contains=mttError,mttNameEscape
syn match mttNameEscape /\\["\\]/ contained
syn match mttValueName /\%([[:alnum:]_.-]\|[^\x00-\x7f]\)\+/ contained
syn match mttSelf /\.\%([|:}]\)\@=/ contained
syn match mttLoopValue /@\%([[:alnum:]_.-]\|[^\x00-\x7f]\)*/ contained
syn match mttPipe /|/ contained nextgroup=mttTransform
syn match mttTransform /\%([[:alnum:]_.-]\|[^\x00-\x7f]\)\+/ contained nextgroup=mttArguments
syn region mttArguments matchgroup=mttParen start=/(/ end=/)/ end=/\ze}/ oneline contained
      \ contains=mttString,mttVariable,mttNumber,mttComma
syn region mttPath matchgroup=mttReference start=/:/ end=/\ze}/ oneline contained
      \ contains=mttQuotedName,mttPathSep,mttMember,mttPathParent,mttPathThis,mttIndex
syn match mttMember /\%([[:alnum:]_.-]\|[^\x00-\x7f]\)\+/ contained
syn match mttPathParent +\.\.\%([/}]\)\@=+ contained
syn match mttPathThis +\%(:\)\@<=this\%([/}]\)\@=+ contained
syn match mttIndex ;\%([:/]\)\@<=\d\+\%([/}]\)\@=; contained

syn sync minlines=100

hi def link mttTextEscape    SpecialChar
hi def link mttComment       Comment
hi def link mttTodo          Todo
hi def link mttDelimiter     PreProc
hi def link mttOutputMark    PreProc
hi def link mttTrim          Special
hi def link mttKeyword       Statement
hi def link mttBoolean       Boolean
hi def link mttOperatorWord  Operator
hi def link mttClause        Keyword
hi def link mttVariable      Identifier
hi def link mttFunction      Function
hi def link mttNumber        Number
hi def link mttParent        Special
hi def link mttThis          Special
hi def link mttPathSep       Delimiter
hi def link mttOperator      Operator
hi def link mttParen         Delimiter
hi def link mttComma         Delimiter
hi def link mttString        String
hi def link mttStringEscape  SpecialChar
hi def link mttError         Error
hi def link mttPropertyDelim PreProc
hi def link mttQuotedName    String
hi def link mttNameEscape    SpecialChar
hi def link mttValueName     Identifier
hi def link mttSelf          Special
hi def link mttLoopValue     Constant
hi def link mttPipe          Operator
hi def link mttTransform     Function
hi def link mttReference     Delimiter
hi def link mttMember        Identifier
hi def link mttPathParent    Special
hi def link mttPathThis      Special
hi def link mttIndex         Number

let b:current_syntax = 'mtt'
let &cpo = s:cpo_save
unlet s:cpo_save
