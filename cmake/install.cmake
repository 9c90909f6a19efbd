# cmake --install: the program, the checker and the aligner in bin/, the demo course (with
# its help topics) in share/vantrel/course, a menu entry, its icon, the
# software-centre entry and the manual pages. The
# installed program copies the course to the user's data directory on first
# run, so only the generated files are installed, never what a run of the
# program left in build/course (learners, progress, recordings).
include(GNUInstallDirs)
install(TARGETS vantrel vantrel-check vantrel-align RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VANTREL_COURSE)
  install(DIRECTORY ${VANTREL_COURSE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/course
          PATTERN ".generated" EXCLUDE
          PATTERN "Users.eng" EXCLUDE
          PATTERN "AnonSnd*" EXCLUDE
          PATTERN "vantrel-rec-*" EXCLUDE
          PATTERN "*.tmp" EXCLUDE
          PATTERN "Report" EXCLUDE)
  install(DIRECTORY DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/course/Report)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/data/vantrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/vantrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(VANTREL_HOMEPAGE "https://vantrel.org" CACHE STRING "The project's page (the software-centre entry's links)")
configure_file(${CMAKE_SOURCE_DIR}/data/org.vantrel.Vantrel.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/org.vantrel.Vantrel.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.vantrel.Vantrel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
include(${CMAKE_SOURCE_DIR}/cmake/manpages.cmake)
