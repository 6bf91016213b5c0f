# The package layout: the program in /opt/kalmora with its launcher, the menu entry and icons, and the Debian package.
#
# Without KALMORA_PACKAGE_OPT, `cmake --install` fills one portable program
# folder (the program with its data files beside it) and nothing else.
# With it, the same folder becomes /opt/kalmora, the launcher that keeps the
# data in the pupil's home joins it, and the desktop entry and the icons go
# to /usr/share; `cpack -G DEB` then builds the package "kalmora".

option(KALMORA_PACKAGE_OPT "Install in the Debian package layout (/opt/kalmora, menu entry, icons)" OFF)
if(NOT KALMORA_PACKAGE_OPT)
  # A package configuration left from an earlier configure would package the portable folder as /opt.
  file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
  return()
endif()

# The desktop entry starts /opt/kalmora/kalmora-launcher, so this is the one prefix that works.
set(KALMORA_OPT_PREFIX /opt/kalmora)
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX ${KALMORA_OPT_PREFIX} CACHE PATH "Install prefix" FORCE)
endif()

install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop/kalmora-launcher DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop/kalmora.desktop DESTINATION /usr/share/applications)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/kalmora.png
          DESTINATION /usr/share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/kalmora.svg DESTINATION /usr/share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kalmora")
set(CPACK_PACKAGE_CONTACT "Kalmora <kalmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Schulplaner: Hausaufgaben, Stundenplan, Ferien, Termine und Noten")
set(CPACK_PACKAGE_DESCRIPTION "Kalmora is a personal school planner for one pupil with a German user interface.
It keeps homework by due date, the weekly timetable, the holidays, events with
reminders, date alarms, grades with weighted averages and research links.
The program lives in /opt/kalmora; each user's data is kept in
~/.local/share/kalmora, created on the first start.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${KALMORA_OPT_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries the program links, the plugins it needs at run time (the X11
# platform and CUPS printing in libqt6gui6 and libqt6printsupport6, the SVG
# icons in libqt6svg6, the sound backends in libqt6multimedia6) and the German
# texts of Qt's own dialogs in qt6-translations-l10n, the calendar export in libical3,
# the chart of the grade overview in libqt6charts6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6network6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6multimedia6 (>= 6.4), libqt6svg6 (>= 6.4), \
libical3 (>= 3.0), libqt6charts6 (>= 6.4), qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")

include(CPack)
