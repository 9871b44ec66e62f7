# Version information for Windows, desktop integration for Linux, and a
# Debian package.

function(zero_pad number digits result)
    set(text "${number}")
    string(LENGTH "${text}" length)
    while(length LESS digits)
        set(text "0${text}")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Directories the install makes are 0755 whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

zero_pad(${PROJECT_VERSION_MINOR} 2 minor)
zero_pad(${PROJECT_VERSION_PATCH} 4 patch)
set(KELVANE_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${minor}.${patch}")

if(UNIX AND NOT APPLE)
    set(docs ${CMAKE_INSTALL_DATADIR}/doc/kelvane)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.kelvane.kelvane.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME kelvane.png)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane-256.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME kelvane.png)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${docs})
    configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvane.1.in ${CMAKE_BINARY_DIR}/kelvane.1 @ONLY)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvane-cli.1.in ${CMAKE_BINARY_DIR}/kelvane-cli.1 @ONLY)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/changelog COPYONLY)
    # Compressed without a time stamp, so that the package builds the same twice.
    foreach(file kelvane.1 kelvane-cli.1 changelog)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
            COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/${file} > ${CMAKE_BINARY_DIR}/${file}.gz
            DEPENDS ${CMAKE_BINARY_DIR}/${file})
    endforeach()
    add_custom_target(compressed_docs ALL
        DEPENDS ${CMAKE_BINARY_DIR}/kelvane.1.gz ${CMAKE_BINARY_DIR}/kelvane-cli.1.gz
                ${CMAKE_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_BINARY_DIR}/kelvane.1.gz ${CMAKE_BINARY_DIR}/kelvane-cli.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${docs})
endif()

if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/README-windows.txt DESTINATION . RENAME README.txt)
endif()

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR "The Kelvane developers")
set(CPACK_PACKAGE_CONTACT "Kelvane developers <developers@kelvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "raise the number of history files of Velmar trends")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvane raises the number of history files in the headers of Velmar trend\n"
    "history files (*.hst), in place, so that the trend server rolls over into\n"
    "more files while the existing history stays in use. It changes only the two\n"
    "bytes of the number, never creates, grows or truncates a file, and has the\n"
    "changes on disk before it reports a run complete.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
string(REPLACE "\\n" "\n" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kelvane.org")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window asks for this font; the libraries come from the binary.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)

# The ZIP and the MSI (target msi) hold what the install puts, stripped, from
# a staging folder; scripts/pack-windows makes them the same bytes every build.
if(WIN32)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvane.wxs.in ${CMAKE_BINARY_DIR}/kelvane.wxs @ONLY)
    add_custom_target(msi
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/pack-windows ${CMAKE_BINARY_DIR}
        VERBATIM)
    add_dependencies(msi kelvane kelvane-cli)
endif()
