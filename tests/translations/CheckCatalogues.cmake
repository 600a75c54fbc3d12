# Runs lupdate over the window program's sources into a copy of every catalogue in translations/
# and fails when a text has no finished translation: a new tr() text not yet translated, a
# translation left unfinished, or a catalogue entry whose text is gone from the sources.
file(GLOB catalogues ${SOURCE_DIR}/translations/*.ts)
if(NOT catalogues)
  message(FATAL_ERROR "no catalogue in ${SOURCE_DIR}/translations")
endif()
file(GLOB sources ${SOURCE_DIR}/src/ui/*.cpp ${SOURCE_DIR}/src/ui/*.h)
file(MAKE_DIRECTORY ${WORK_DIR})
foreach(catalogue ${catalogues})
  get_filename_component(name ${catalogue} NAME)
  set(copy ${WORK_DIR}/${name})
  file(COPY_FILE ${catalogue} ${copy})
  execute_process(COMMAND ${LUPDATE} -silent -source-language ru_RU -locations none
                          -I ${SOURCE_DIR}/src ${sources}
                          -ts ${copy}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  file(READ ${copy} text)
  string(REGEX MATCHALL "<source>[^<]*</source>[ \n\r\t]*<translation type=\"(unfinished|vanished|obsolete)\"[^<]*" open "${text}")
  if(open)
    list(JOIN open "\n" listed)
    message(FATAL_ERROR "${name}: texts without a finished translation:\n${listed}")
  endif()
  string(REGEX MATCHALL "<translation></translation>" empty "${text}")
  if(empty)
    message(FATAL_ERROR "${name}: empty translations")
  endif()
  message(STATUS "${name}: every text translated")
endforeach()
