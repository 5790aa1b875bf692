# Installs the build into DESTINAZIONE and checks that the files a user and
# Debian expect are there: the program, its example and manual, and the
# README with where to turn for help.
file(REMOVE_RECURSE "${DESTINAZIONE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${COMPILAZIONE}" --prefix "${DESTINAZIONE}"
                RESULT_VARIABLE esito OUTPUT_QUIET)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "cmake --install non riuscito (${esito})")
endif()
foreach(f bin/zelvi-teg share/zelvi-teg/Archivio/Esempio.ccc "share/zelvi-teg/Archivio/Esempio movimenti.ccc"
          share/zelvi-teg/help/manuale.pdf
          share/doc/zelvi-teg/README.md)
  if(NOT EXISTS "${DESTINAZIONE}/${f}")
    message(FATAL_ERROR "L'installazione non contiene ${f}")
  endif()
endforeach()
file(READ "${DESTINAZIONE}/share/doc/zelvi-teg/README.md" leggimi)
if(NOT leggimi MATCHES "## Assistenza")
  message(FATAL_ERROR "Il README installato non dice a chi rivolgersi")
endif()
file(REMOVE_RECURSE "${DESTINAZIONE}")
