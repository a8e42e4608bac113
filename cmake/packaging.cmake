# Installation layout and the Debian package:
#   cmake -S . -B build-pack -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
#   cmake --build build-pack -j2 && cd build-pack && cpack -G DEB
include(GNUInstallDirs)

set(QUILLON_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(QUILLON_DEMO_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/quillon/stories/demo)
# The icon is 16 x 16 pixel art: multiples of 16 keep it sharp.
set(QUILLON_ICON_SIZES 16 32 48 64 128 256)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/stories/demo/pages ${PROJECT_SOURCE_DIR}/stories/demo/sprites
        DESTINATION ${QUILLON_DEMO_INSTALL_DIR})

if(TARGET quillon)
  install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${QUILLON_PACKAGING_DIR}/quillon.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  # The player takes no arguments, so the menu entry starts it in the demo folder.
  set(QUILLON_DEMO_FULL_DIR ${CMAKE_INSTALL_FULL_DATADIR}/quillon/stories/demo)
  configure_file(${QUILLON_PACKAGING_DIR}/quillon.desktop.in quillon.desktop @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillon.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size IN LISTS QUILLON_ICON_SIZES)
    install(FILES ${QUILLON_PACKAGING_DIR}/icons/quillon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quillon.png)
  endforeach()
endif()

if(TARGET quillon-tool)
  install(TARGETS quillon-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${QUILLON_PACKAGING_DIR}/quillon-tool.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# `cmake --build DIR --target quillon-icons` redraws packaging/icons/ from the
# window icon; look at the pictures before committing them.
if(TARGET quillon_window)
  add_executable(quillon-make-icon EXCLUDE_FROM_ALL ${QUILLON_PACKAGING_DIR}/make_icon.cpp)
  target_compile_options(quillon-make-icon PRIVATE ${QUILLON_WARNINGS})
  target_link_libraries(quillon-make-icon PRIVATE quillon_window PkgConfig::PNG)
  set(icon_commands)
  foreach(size IN LISTS QUILLON_ICON_SIZES)
    list(APPEND icon_commands
         COMMAND quillon-make-icon ${size} ${QUILLON_PACKAGING_DIR}/icons/quillon-${size}.png)
  endforeach()
  add_custom_target(quillon-icons ${icon_commands}
                    COMMENT "Drawing the desktop icons into packaging/icons" VERBATIM)
endif()

if(NOT CMAKE_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR)
  return()
endif()

set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(QUILLON_PACKAGE_MAINTAINER "Quillon maintainers <maintainers@quillon.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${QUILLON_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for branching picture stories")
# The control file keeps these line breaks.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Quillon plays picture stories made of plain-text page files and picture"
       "files in a 320 x 200 window with a 256-colour palette. Keys pick the"
       "choices of each page; Tab shows a map of the visited pages. A demo story"
       "is included, and the menu entry plays it. quillon-tool checks, plays"
       "headless, walks and graphs stories and converts pictures to and from PNG.")
# The installed files name their own folders (the menu entry's Path=), so the
# package installs under the prefix the project was configured with.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# quillon-tool graph draws svg and png with Graphviz's dot.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS graphviz)
find_program(QUILLON_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUILLON_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6, libpng16-16, libsdl2-2.0-0")
endif()

include(CPack)
