# The player's zip, Velmora-<version>-win32.zip, made by CPack's ZIP
# generator (the package step of the release workflow): Velmora.exe, README.txt (the guide as
# plain text with CRLF line ends, for Notepad) and SHA256SUMS.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VELMORA_README_TXT ${CMAKE_BINARY_DIR}/README.txt)
add_custom_command(OUTPUT ${VELMORA_README_TXT}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/guide-text.py ${CMAKE_SOURCE_DIR}/docs/guide.md
          ${VELMORA_README_TXT}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/guide.md ${CMAKE_SOURCE_DIR}/cmake/guide-text.py
  VERBATIM)
set(VELMORA_SHA256SUMS ${CMAKE_BINARY_DIR}/SHA256SUMS)
add_custom_command(OUTPUT ${VELMORA_SHA256SUMS}
  COMMAND ${CMAKE_COMMAND} -D OUTPUT=${VELMORA_SHA256SUMS}
          -D FILES=$<TARGET_FILE:Velmora>$<SEMICOLON>${VELMORA_README_TXT}
          -P ${CMAKE_SOURCE_DIR}/cmake/Sha256Sums.cmake
  DEPENDS Velmora ${VELMORA_README_TXT} ${CMAKE_SOURCE_DIR}/cmake/Sha256Sums.cmake
  VERBATIM)
add_custom_target(velmora-release-files ALL DEPENDS ${VELMORA_README_TXT} ${VELMORA_SHA256SUMS})

# One component a file. The generator stores the files of a component in the
# order the staging folder lists them, which depends on the file system, but
# takes the components in the order of their names: so the zip's order is
# Velmora.exe, README.txt, SHA256SUMS wherever it is made. Its dates come
# from SOURCE_DATE_EPOCH (scripts/release sets it from the commit).
install(TARGETS Velmora RUNTIME DESTINATION . COMPONENT program)
install(FILES ${VELMORA_README_TXT} DESTINATION . COMPONENT readme)
install(FILES ${VELMORA_SHA256SUMS} DESTINATION . COMPONENT sha256sums)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Velmora-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

# The release's test: the zip and its Velmora.exe checked statically, since
# this Wine runs no 32-bit program. Run it after CPack (the release workflow).
# Before include(CPack), which leaves another file name behind.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME release_zip COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/check-release
           ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
endif()
include(CPack)
