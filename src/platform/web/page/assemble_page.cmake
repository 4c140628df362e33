# Puts the viewer's script and the page's script into the page template:
# cmake -DTEMPLATE=... -DVIEWER=... -DSCRIPT=... -DOUTPUT=... -P assemble_page.cmake
file(READ ${TEMPLATE} page)
file(READ ${VIEWER} viewer)
file(READ ${SCRIPT} script)
# Inline scripts end at the first "</script": neither may hold one.
foreach(part viewer script)
  string(TOLOWER "${${part}}" lower)
  string(FIND "${lower}" "</script" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${part} holds '</script' and cannot be put inline")
  endif()
endforeach()
string(REPLACE "<!--qbz-viewer-script-->" "<script>\n${viewer}</script>" page "${page}")
string(REPLACE "<!--qbz-page-script-->" "<script>\n${script}</script>" page "${page}")
file(WRITE ${OUTPUT}.partial "${page}")
file(RENAME ${OUTPUT}.partial ${OUTPUT})
