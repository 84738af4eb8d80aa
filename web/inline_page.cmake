# Puts the compiled module into the page's template: one file, nothing
# beside it to fetch.
file(READ ${TEMPLATE} page)
file(READ ${SCRIPT} script)
string(FIND "${script}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "the module's text holds </script and would end the page's script early")
endif()
string(REPLACE "@VELQUORIN_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@VELQUORIN_MODULE@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
