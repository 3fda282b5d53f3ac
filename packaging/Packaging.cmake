# SPDX-License-Identifier: GPL-3.0-or-later
# Installation (cmake --install) and the Debian package (cpack -G DEB): the program, its desktop
# entry, application icon and manual page under the usual places of the prefix.

include(GNUInstallDirs)

set(VORAX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS vorax RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program that draws (the windows and --export), which `vorax` starts.
install(TARGETS vorax-graph RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vorax)
install(FILES ${VORAX_PACKAGING_DIR}/vorax.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${VORAX_PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The software centre's description of the program (AppStream) and the licence in Debian's
# machine-readable copyright format.
install(FILES ${VORAX_PACKAGING_DIR}/org.vorax.vorax.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORAX_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page: its OPTIONS section is written from the program's option list (the one
# `vorax --help` prints) by a small program of the build, and it is installed compressed, as
# Debian wants it.
add_executable(vorax_write_manual ${VORAX_PACKAGING_DIR}/write_manual.cpp)
target_link_libraries(vorax_write_manual PRIVATE vorax_app)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/packaging/vorax.1
    COMMAND vorax_write_manual ${VORAX_PACKAGING_DIR}/vorax.1.in ${PROJECT_BINARY_DIR}/packaging/vorax.1
            ${PROJECT_VERSION}
    DEPENDS vorax_write_manual ${VORAX_PACKAGING_DIR}/vorax.1.in
    COMMENT "Writing the manual page")
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/packaging/vorax.1.gz
    COMMAND gzip -9 -n -f -k vorax.1
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/vorax.1
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging
    COMMENT "Compressing the manual page")
add_custom_target(vorax_manual_page ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/vorax.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/vorax.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: shared libraries found by dpkg-shlibdeps; what the program loads by name
# (Qt's platform and image plugins, the fonts it asks for) declared here.
set(CPACK_PACKAGE_NAME vorax)
set(CPACK_PACKAGE_VENDOR "VORAX developers")
set(CPACK_PACKAGE_CONTACT "VORAX maintainers <maintainers@users.noreply.c-seed-4ba8f1ec.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "VORAX reads a structural model file prepared for the analysis programs
TAVELS and MURIKS and draws its Structure Graph: elements, node marks and
support symbols, node and element numbers, grid and scale. It also prints a
model's summary and draws a graph into a picture without a display.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vorax)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The package that holds a file of the build machine, by dpkg; empty when dpkg does not know it.
function(vorax_debian_package_of file out)
    set(${out} "" PARENT_SCOPE)
    find_program(VORAX_DPKG_QUERY dpkg-query)
    if(NOT VORAX_DPKG_QUERY OR NOT EXISTS ${file})
        return()
    endif()
    file(REAL_PATH ${file} real_file)
    execute_process(COMMAND ${VORAX_DPKG_QUERY} -S ${real_file}
        OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(status EQUAL 0 AND owner MATCHES "^([^:,]+)")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
    endif()
endfunction()

set(vorax_loaded_depends fonts-liberation2)
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
vorax_debian_package_of(${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBS}/libQt6Gui.so.6 qt_gui_package)
# The windows (xcb), --export (offscreen) and the style icons (ico).
foreach(plugin platforms/libqxcb.so platforms/libqoffscreen.so imageformats/libqico.so)
    vorax_debian_package_of(${qt_plugins}/${plugin} owner)
    if(NOT owner)
        message(STATUS "Packaging: no Debian package found for the Qt plugin ${plugin}")
    elseif(NOT owner STREQUAL qt_gui_package)
        list(APPEND vorax_loaded_depends ${owner})
    endif()
endforeach()
list(REMOVE_DUPLICATES vorax_loaded_depends)
list(JOIN vorax_loaded_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

include(CPack)
