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

zero_pad(${PROJECT_VERSION_MINOR} 2 minor)
zero_pad(${PROJECT_VERSION_PATCH} 4 patch)
set(KELVANE_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${minor}.${patch}")

if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME kelvane.png)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane-256.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME kelvane.png)
endif()

if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/README-windows.txt DESTINATION . RENAME README.txt)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR "Kelvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${KELVANE_COMMENTS}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvane developers")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4)")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
