# Builds ExplainPageSource.h: explain.html with explain.css and explain.js
# put in place, as one C++ string. Run as
#   cmake -DDIR=<this folder> -DOUT=<header> -P embed.cmake
file(READ ${DIR}/explain.html page)
file(READ ${DIR}/explain.css style)
file(READ ${DIR}/explain.js script)
foreach(check "@STYLE@" "@SCRIPT@" "@EXPLAIN_DATA@")
  string(FIND "${page}" "${check}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "explain.html lacks ${check}")
  endif()
endforeach()
string(FIND "${style}${script}" "</" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "explain.css or explain.js holds \"</\", which would end its element early")
endif()
string(REPLACE "/*@STYLE@*/" "${style}" page "${page}")
string(REPLACE "/*@SCRIPT@*/" "${script}" page "${page}")
string(FIND "${page}" ")explain\"" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the explain page holds the string delimiter )explain\"")
endif()
file(WRITE ${OUT} "// Generated from host/cli/explain by embed.cmake; edit those files.\n"
                  "#pragma once\ninline constexpr char kExplainPageSource[] = R\"explain(${page})explain\";\n")
