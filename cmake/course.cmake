# Lays out build/course, the course directory the program runs from.
set(VANTREL_COURSE_DIR ${CMAKE_BINARY_DIR}/course)
file(GLOB_RECURSE _fixture CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/course/*)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/course.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/tests/fixtures/course ${VANTREL_COURSE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_COURSE_DIR}/Report
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/course.stamp
  DEPENDS ${_fixture}
  COMMENT "Laying out the course directory")
add_custom_target(course ALL DEPENDS ${CMAKE_BINARY_DIR}/course.stamp)
