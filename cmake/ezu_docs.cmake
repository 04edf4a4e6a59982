# The `docs` target: the HTML reference of the public interface, made by
# Doxygen into <build>/docs/html. Any warning (an undocumented public name
# included) fails the target.
#
# The input is ezu/ezu.h and every header it includes outside the platform
# layer, so a header added to ezu/ezu.h is checked without touching this
# file. EZU_DOCS_EXTRA_HEADERS names further public headers (paths relative
# to the source directory) that ezu/ezu.h does not include.
#
# A project that builds ezu as its subproject gets no `docs` target of ezu's
# unless it asks for one, so that its own target of that name stays free.
option(EZU_BUILD_DOCS "Add the docs target (the HTML reference)" ${PROJECT_IS_TOP_LEVEL})
if(NOT EZU_BUILD_DOCS)
    return()
endif()

set(EZU_DOCS_EXTRA_HEADERS "" CACHE STRING
    "Further public headers for the reference, relative to the source directory")

file(STRINGS ${PROJECT_SOURCE_DIR}/ezu/ezu.h ezu_docs_includes REGEX "^#include \"ezu/")
# A header added to ezu/ezu.h reconfigures, and so joins the input.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/ezu/ezu.h)
set(ezu_docs_headers ezu/ezu.h)
foreach(line IN LISTS ezu_docs_includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(NOT header MATCHES "^ezu/platform/")
        list(APPEND ezu_docs_headers ${header})
    endif()
endforeach()
list(APPEND ezu_docs_headers ${EZU_DOCS_EXTRA_HEADERS})
list(REMOVE_DUPLICATES ezu_docs_headers)

# Doxygen takes a blank-separated list; each path is quoted, since the
# source directory may hold blanks.
set(EZU_DOCS_INPUT "\"${PROJECT_SOURCE_DIR}/docs/mainpage.md\"")
set(ezu_docs_depends ${PROJECT_SOURCE_DIR}/docs/mainpage.md ${PROJECT_SOURCE_DIR}/docs/Doxyfile.in)
foreach(header IN LISTS ezu_docs_headers)
    string(APPEND EZU_DOCS_INPUT " \\\n    \"${PROJECT_SOURCE_DIR}/${header}\"")
    list(APPEND ezu_docs_depends ${PROJECT_SOURCE_DIR}/${header})
endforeach()
set(EZU_DOCS_OUTPUT_DIR ${PROJECT_BINARY_DIR}/docs)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${EZU_DOCS_OUTPUT_DIR}/Doxyfile @ONLY)

find_program(EZU_DOXYGEN doxygen)
if(EZU_DOXYGEN)
    # The stamp is written only after Doxygen succeeded, so a run that
    # warned is run again by the next build rather than taken as done.
    set(stamp ${EZU_DOCS_OUTPUT_DIR}/reference.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${EZU_DOCS_OUTPUT_DIR}/html ${stamp}
        COMMAND ${EZU_DOXYGEN} ${EZU_DOCS_OUTPUT_DIR}/Doxyfile
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${ezu_docs_depends} ${EZU_DOCS_OUTPUT_DIR}/Doxyfile
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Building the HTML reference (docs/html)"
        VERBATIM)
    add_custom_target(docs DEPENDS ${stamp})
else()
    add_custom_target(docs
        COMMAND ${CMAKE_COMMAND} -E echo "The reference needs Doxygen (apt-get install doxygen)."
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
endif()
