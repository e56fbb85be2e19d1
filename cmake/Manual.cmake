# The user's manual, "マニュアル.pdf" beside the program, which the toolbar's menu item
# ユーザーズマニュアル opens. It is made from docs/manual/manual.md by scripts/build-manual.sh
# (Debian's python3-markdown and weasyprint) and carries the version of project().
# Included from the Windows part of the top-level CMakeLists.txt.

get_filename_component(OSTREL_MANUAL_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(OSTREL_MANUAL_SOURCE "${OSTREL_MANUAL_ROOT}/docs/manual/manual.md")
set(OSTREL_MANUAL_STYLE "${OSTREL_MANUAL_ROOT}/docs/manual/manual.css")
set(OSTREL_MANUAL_SCRIPT "${OSTREL_MANUAL_ROOT}/scripts/build-manual.sh")
set(OSTREL_MANUAL_CONVERTER "${OSTREL_MANUAL_ROOT}/scripts/manual_html.py")
set(OSTREL_MANUAL_PDF "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/マニュアル.pdf")

if(NOT PROJECT_VERSION)
  message(FATAL_ERROR "The manual prints the project's version, but project() gives none")
endif()

# The tools the script calls by their Debian paths: a python3 earlier on PATH may lack markdown.
execute_process(COMMAND /usr/bin/python3 -c "import markdown"
  RESULT_VARIABLE OSTREL_MANUAL_MARKDOWN_MISSING OUTPUT_QUIET ERROR_QUIET)
if(OSTREL_MANUAL_MARKDOWN_MISSING OR NOT EXISTS /usr/bin/weasyprint)
  message(FATAL_ERROR
    "The user's manual needs weasyprint and python3-markdown: apt-get install weasyprint python3-markdown")
endif()
find_program(OSTREL_PDFINFO pdfinfo)
if(NOT OSTREL_PDFINFO)
  message(FATAL_ERROR "The manual's test needs poppler-utils: apt-get install poppler-utils")
endif()

# The pictures the manual shows, read from its text, so that a new or changed screenshot
# rebuilds it; a change of the text runs this again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${OSTREL_MANUAL_SOURCE}")
file(STRINGS "${OSTREL_MANUAL_SOURCE}" OSTREL_MANUAL_IMAGE_LINES REGEX "<img [^>]*src=\"")
set(OSTREL_MANUAL_IMAGES)
foreach(line IN LISTS OSTREL_MANUAL_IMAGE_LINES)
  string(REGEX MATCHALL "src=\"[^\"]+\"" sources "${line}")
  foreach(source IN LISTS sources)
    string(REGEX REPLACE "^src=\"(.*)\"$" "\\1" source "${source}")
    get_filename_component(image "${OSTREL_MANUAL_ROOT}/docs/manual/${source}" ABSOLUTE)
    list(APPEND OSTREL_MANUAL_IMAGES "${image}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES OSTREL_MANUAL_IMAGES)

add_custom_command(
  OUTPUT "${OSTREL_MANUAL_PDF}"
  COMMAND ${CMAKE_COMMAND} -E env "OSTREL_SUPPORT_URL=${OSTREL_SUPPORT_URL}"
          bash "${OSTREL_MANUAL_SCRIPT}" "${OSTREL_MANUAL_ROOT}" "${OSTREL_MANUAL_PDF}" "${PROJECT_VERSION}"
  DEPENDS "${OSTREL_MANUAL_SOURCE}" "${OSTREL_MANUAL_STYLE}" "${OSTREL_MANUAL_SCRIPT}"
          "${OSTREL_MANUAL_CONVERTER}" ${OSTREL_MANUAL_IMAGES}
  COMMENT "The user's manual マニュアル.pdf"
  VERBATIM)
add_custom_target(manual ALL DEPENDS "${OSTREL_MANUAL_PDF}")

add_test(NAME package.manual
  COMMAND bash "${OSTREL_MANUAL_ROOT}/tests/package/manual_test.sh"
          "${OSTREL_MANUAL_PDF}" "${CMAKE_BINARY_DIR}/artifacts" "${PROJECT_VERSION}")
