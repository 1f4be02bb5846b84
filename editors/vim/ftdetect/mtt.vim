" mtt templates
autocmd BufNewFile,BufRead *.mtt setfiletype mtt
