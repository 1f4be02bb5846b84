# The explain page's embedded data for golden/page.mtt and golden/model.json
# must equal golden/expected.json (non-ASCII text, a byte that is not
# UTF-8, "</script>" in user code, a number as the model writes it). The
# packed tables (gzip in base64, whose bytes depend on the compressor's version) are
# compared as "(packed)": browser_test.py checks what they say.
# With MTT_UPDATE_GOLDEN set, the expected file is rewritten instead.
#   cmake -DMTTGEN=<mttgen> -DCASE=<golden folder> -DWORK=<scratch folder> -P data.cmake
set(page ${WORK}/golden-page.html)
execute_process(COMMAND ${MTTGEN} --explain ${page} -m model.json page.mtt
                WORKING_DIRECTORY ${CASE} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mttgen --explain exited with ${status}")
endif()
file(READ ${page} html)
set(open "<script type=\"application/json\" id=\"explain-data\">")
string(FIND "${html}" "${open}" begin)
string(FIND "${html}" "</script>\n<script>" end)
if(begin EQUAL -1 OR end EQUAL -1)
  message(FATAL_ERROR "${page}: no data element")
endif()
string(LENGTH "${open}" length)
math(EXPR begin "${begin} + ${length}")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${html}" ${begin} ${length} data)
string(REGEX REPLACE "\"H4sI[A-Za-z0-9+/=]*\"" "\"(packed)\"" data "${data}")
if(DEFINED ENV{MTT_UPDATE_GOLDEN})
  file(WRITE ${CASE}/expected.json "${data}\n")
  return()
endif()
file(READ ${CASE}/expected.json expected)
if(NOT "${data}\n" STREQUAL "${expected}")
  message(FATAL_ERROR "the page's data differs from ${CASE}/expected.json:\n${data}")
endif()
