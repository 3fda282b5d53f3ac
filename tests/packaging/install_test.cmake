# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a desktop gets: the program (run
# from an empty folder), the desktop entry (desktop-file-validate), the application icon, the
# software centre's description (appstreamcli), the copyright file, and a manual page that names
# every option the program's help prints.
# Run with -DBUILD_DIR=... -DVALIDATE=<desktop-file-validate> -DAPPSTREAMCLI=<appstreamcli>
# -DMODEL=<a model file> -P this file.

cmake_minimum_required(VERSION 3.25)

function(fail)
    file(REMOVE_RECURSE ${work})
    string(JOIN "" text ${ARGN})
    message(FATAL_ERROR "${text}")
endfunction()

execute_process(COMMAND mktemp -d OUTPUT_VARIABLE work OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(prefix ${work}/prefix)
file(MAKE_DIRECTORY ${work}/empty)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("cmake --install failed: ${status}")
endif()

set(metainfo share/metainfo/org.vorax.vorax.metainfo.xml)
set(expected bin/vorax libexec/vorax/vorax-graph share/applications/vorax.desktop share/man/man1/vorax.1.gz
             share/icons/hicolor/scalable/apps/vorax.svg ${metainfo} share/doc/vorax/copyright)
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/vorax.png)
endforeach()
foreach(file ${expected})
    if(NOT EXISTS ${prefix}/${file})
        fail("not installed: ${file}")
    endif()
endforeach()

set(entry ${prefix}/share/applications/vorax.desktop)
execute_process(COMMAND ${VALIDATE} ${entry} OUTPUT_VARIABLE report ERROR_VARIABLE report
                RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT report STREQUAL "")
    fail("desktop-file-validate: ${status}\n${report}")
endif()
file(STRINGS ${entry} entry_lines)
foreach(line "Exec=vorax %f" "Icon=vorax")
    if(NOT line IN_LIST entry_lines)
        fail("the desktop entry lacks \"${line}\"")
    endif()
endforeach()

execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${prefix}/${metainfo}
                OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("appstreamcli validate: ${status}\n${report}")
endif()
file(STRINGS ${prefix}/share/doc/vorax/copyright copyright LIMIT_COUNT 1)
if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$")
    fail("the copyright file is not in the machine-readable format: ${copyright}")
endif()

# The installed program from a folder that holds nothing of it.
execute_process(COMMAND ${prefix}/bin/vorax --version WORKING_DIRECTORY ${work}/empty
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^VORAX [0-9]+\\.[0-9]+.*GPL-3.0-or-later")
    fail("vorax --version: ${status} ${version}")
endif()
execute_process(COMMAND ${prefix}/bin/vorax --export graph.png ${MODEL} WORKING_DIRECTORY ${work}/empty
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${work}/empty/graph.png)
    fail("vorax --export from an empty folder: ${status}")
endif()

# Every option of the help texts appears in the manual page (where roff writes "-" as "\-").
execute_process(COMMAND gzip -dc ${prefix}/share/man/man1/vorax.1.gz OUTPUT_VARIABLE page
                COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\\-" "-" page "${page}")
execute_process(COMMAND ${prefix}/bin/vorax --help OUTPUT_VARIABLE help)
execute_process(COMMAND ${prefix}/bin/vorax --export --help OUTPUT_VARIABLE export_help)
string(REGEX MATCHALL "--[a-z][-a-z]*" options "${help}${export_help}")
list(REMOVE_DUPLICATES options)
list(LENGTH options count)
if(count LESS 10)
    fail("too few options found in the help texts: ${options}")
endif()
foreach(option ${options})
    string(FIND "${page}" "${option}" at)
    if(at EQUAL -1)
        fail("the manual page does not name ${option}")
    endif()
endforeach()

file(REMOVE_RECURSE ${work})
