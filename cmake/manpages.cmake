# Manual pages made by help2man from each program's --help (the options are
# written once, in the program) and an include file in docs/man for the rest.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN OR CMAKE_CROSSCOMPILING)
  message(STATUS "help2man not found: no manual pages")
  return()
endif()
set(_pages)
foreach(_prog vantrel vantrel-check vantrel-align)
  set(_page ${CMAKE_BINARY_DIR}/man/${_prog}.1)
  set(_inc ${CMAKE_SOURCE_DIR}/docs/man/${_prog}.h2m)
  add_custom_command(
    OUTPUT ${_page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --include=${_inc} --version-string=${PROJECT_VERSION}
            --section=1 --source=Vantrel --output=${_page} $<TARGET_FILE:${_prog}>
    DEPENDS ${_prog} ${_inc}
    COMMENT "Manual page ${_prog}.1"
    VERBATIM)
  list(APPEND _pages ${_page})
endforeach()
add_custom_target(manpages ALL DEPENDS ${_pages})
install(FILES ${_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
