# Inlines the page's style, the WebAssembly module's script and the page's
# scripts into the page's HTML: one file, which the packer fills with a quiz.
# Each script is its own element, so that the packer can list its hash in the
# page's Content-Security-Policy. "</" never occurs inside them: a script
# that held it would end its element early.
file(READ ${HTML} page)
file(READ ${STYLE} style)
file(READ ${MODULE} module)
set(scripts "<script>\n${module}\n</script>\n")
set(page_script "")
foreach(script IN LISTS SCRIPTS)
  file(READ ${script} text)
  string(APPEND page_script "${text}\n")
endforeach()
# The page's own scripts share one scope, apart from the document's.
string(APPEND scripts "<script>\n\"use strict\";\n(() => {\n${page_script}})();\n</script>\n")
string(FIND "${module}${page_script}" "</" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "a script of the page holds \"</\", which would end its element")
endif()
string(REPLACE "<!--kz:style-->" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<!--kz:scripts-->" "${scripts}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
