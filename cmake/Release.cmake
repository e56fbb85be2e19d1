# What a user downloads: the program folder as installed, the setup program and the portable zip.
# The build folder bin/ is laid out as the program folder, so the program run from the build finds
# its manual, support page and editors too; `cmake --install` copies only what ships.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(OSTREL_MAKENSIS makensis REQUIRED)

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
configure_file(${CMAKE_SOURCE_DIR}/installer/support.website.in
  "${bin}/Branticユーザーサポート.website" @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/docs/support/index.html.in ${bin}/support/index.html @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/installer/THIRD-PARTY-NOTICES.txt ${bin}/THIRD-PARTY-NOTICES.txt
  COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/standins/hanvert/LICENSE-Apache-2.0.txt ${bin}/licenses/Apache-2.0.txt
  COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/standins/hanvert/DATA-LICENSE.md ${bin}/licenses/Hanvert-data.txt
  COPYONLY)
# The licence statements of what is linked in, as the toolchain's packages state them.
foreach(notice "mingw-w64-common|MinGW-w64" "gcc-mingw-w64-base|GCC-runtime" "nsis|NSIS"
    "nlohmann-json3-dev|nlohmann-json")
  string(REPLACE "|" ";" parts "${notice}")
  list(GET parts 0 package)
  list(GET parts 1 name)
  configure_file(/usr/share/doc/${package}/copyright ${bin}/licenses/${name}.txt COPYONLY)
endforeach()

set(OSTREL_SHIPPED_LIBRARIES Orvatone Hanvert)
install(TARGETS Ostrel4 AppUpdateBRN ${OSTREL_SHIPPED_LIBRARIES} RUNTIME DESTINATION . COMPONENT program)
install(FILES "${bin}/マニュアル.pdf" "${bin}/Branticユーザーサポート.website" ${bin}/THIRD-PARTY-NOTICES.txt
  DESTINATION . COMPONENT program)
install(DIRECTORY ${bin}/support ${bin}/licenses DESTINATION . COMPONENT program)
foreach(voice IN LISTS OSTREL_VOICES)
  string(REPLACE "|" ";" parts "${voice}")
  list(GET parts 0 name)
  list(GET parts 1 program)
  list(GET parts 2 file)
  install(PROGRAMS $<TARGET_FILE:UserDicEditor> DESTINATION VW/VT/${name}/M16/bin
    RENAME UserDic${program}.exe COMPONENT program)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/userdict/userdict_${file}.csv
    DESTINATION VW/VT/${name}/M16/data-common/userdict COMPONENT program)
endforeach()

set(stage ${CMAKE_BINARY_DIR}/stage/Ostrel4)
set(dist ${CMAKE_BINARY_DIR}/dist)
set(OSTREL_SETUP ${dist}/Ostrel4-${PROJECT_VERSION}-setup.exe)
set(OSTREL_PORTABLE ${dist}/Ostrel4-${PROJECT_VERSION}-portable.zip)
add_custom_command(OUTPUT ${OSTREL_SETUP} ${OSTREL_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --component program
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/installer/file_lists.py ${stage}
          ${CMAKE_BINARY_DIR}/installer-files.nsh ${CMAKE_BINARY_DIR}/installer-uninstall.nsh
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}
  COMMAND ${OSTREL_MAKENSIS} -V2 -INPUTCHARSET UTF8
          -DPRODUCT=${OSTREL_PRODUCT_NAME} -DPUBLISHER=${OSTREL_PUBLISHER} -DVERSION=${PROJECT_VERSION}
          -DSUPPORT_URL=${OSTREL_SUPPORT_URL} -DFEED_URL=${OSTREL_UPDATE_FEED_URL}
          -DICON=${CMAKE_SOURCE_DIR}/resources/images/app.ico
          -DFILE_LIST=${CMAKE_BINARY_DIR}/installer-files.nsh
          -DUNINSTALL_LIST=${CMAKE_BINARY_DIR}/installer-uninstall.nsh
          -DOUTFILE=${OSTREL_SETUP}
          ${CMAKE_SOURCE_DIR}/installer/ostrel4.nsi
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/installer/make_zip.py ${stage} ${OSTREL_PORTABLE}
  DEPENDS Ostrel4 AppUpdateBRN UserDicEditor ${OSTREL_SHIPPED_LIBRARIES} manual
          "${bin}/マニュアル.pdf"
          ${CMAKE_SOURCE_DIR}/installer/ostrel4.nsi ${CMAKE_SOURCE_DIR}/installer/file_lists.py
          ${CMAKE_SOURCE_DIR}/installer/make_zip.py ${OSTREL_DEFAULT_DICTIONARIES}
          ${CMAKE_SOURCE_DIR}/installer/THIRD-PARTY-NOTICES.txt
  COMMENT "Setup program and portable zip"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${OSTREL_SETUP} ${OSTREL_PORTABLE})
