# Generates the demo course into build/course from course-src/ with
# tools/make-demo-course. The stamp makes it incremental: it runs again only
# when a source, a help topic or the generator changed.
set(VANTREL_COURSE_DIR ${CMAKE_BINARY_DIR}/course)

# The generator needs Debian's python3 (fontTools comes from python3-fonttools).
find_program(VANTREL_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT VANTREL_PYTHON3)
  find_program(VANTREL_PYTHON3 NAMES python3 REQUIRED)
endif()
foreach(_tool espeak-ng sox convert)
  find_program(_found_${_tool} ${_tool})
  if(NOT _found_${_tool})
    message(FATAL_ERROR "The demo course needs ${_tool} (scripts/install-deps installs it)")
  endif()
endforeach()

set(VANTREL_COURSE_GENERATOR ${CMAKE_SOURCE_DIR}/tools/make-demo-course)
file(GLOB_RECURSE _course_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/course-src/*)
file(GLOB _help_topics CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/course.stamp
  COMMAND ${VANTREL_PYTHON3} ${VANTREL_COURSE_GENERATOR} --src ${CMAKE_SOURCE_DIR}/course-src
          --out ${VANTREL_COURSE_DIR} --help-dir ${CMAKE_SOURCE_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/course.stamp
  DEPENDS ${_course_sources} ${_help_topics} ${VANTREL_COURSE_GENERATOR}
  COMMENT "Generating the demo course"
  VERBATIM)
add_custom_target(course ALL DEPENDS ${CMAKE_BINARY_DIR}/course.stamp)
