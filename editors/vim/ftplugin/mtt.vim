" mtt templates: what commenting commands and plugins write.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=[%#\ %s\ %]
let b:undo_ftplugin = 'setlocal commentstring<'
