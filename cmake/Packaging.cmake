# The Debian package: the program under /usr/lib/kalmora, its data under /usr/share/kalmora, commands, menu entry, metadata.
#
# Without KALMORA_PACKAGE_DEB, `cmake --install` fills one portable program
# folder (the program with its data files beside it) and nothing else.
# With it, the component "deb" holds the Debian layout, and `cpack -G DEB`
# builds the package "kalmora" from that component alone:
#
#   /usr/lib/kalmora/         the program, the tools and the launcher
#   /usr/bin/kalmora          the launcher (a link), which keeps the data in ~/.local/share/kalmora
#   /usr/bin/kalmora-ical, kalmora-grades,
#   kalmora-sync, kalmora-schulkalender   the tools, reading that data folder unless told otherwise
#   /usr/share/kalmora/       the shipped data files the launcher copies into the data folder
#   /usr/share/applications, /usr/share/icons, /usr/share/metainfo, /usr/share/man, /usr/share/doc/kalmora
#
# `cmake --install <build> --component deb --prefix <dir>` gives the same
# tree under <dir> for a look; a plain `cmake --install` of a package build
# would add the portable folder's files to the prefix as well.

option(KALMORA_PACKAGE_DEB "Install in the Debian package layout (/usr/lib/kalmora, /usr/share/kalmora, menu entry, metadata)" OFF)
if(KALMORA_PACKAGE_OPT)
  # The option's earlier name, when the package lived in /opt.
  message(WARNING "KALMORA_PACKAGE_OPT is now KALMORA_PACKAGE_DEB; the package uses the Debian layout under /usr.")
  set(KALMORA_PACKAGE_DEB ON)
endif()
if(NOT KALMORA_PACKAGE_DEB)
  # A package configuration left from an earlier configure would package the portable folder.
  file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
  return()
endif()

# The project has no address or site of its own yet: the defaults below use the
# reserved domain example.org, and a release build sets the real ones.
set(KALMORA_PACKAGE_MAINTAINER "Kalmora Project <kalmora@example.org>" CACHE STRING
    "The package's Maintainer field: name and mail address of the project")
string(REGEX MATCH "<[^>]*>" kalmora_maintainer_mail "${KALMORA_PACKAGE_MAINTAINER}")
if(NOT kalmora_maintainer_mail MATCHES "^<[^@ ]+@[^@ ]+\\.[^@ ]+>$")
  message(FATAL_ERROR "KALMORA_PACKAGE_MAINTAINER needs the form \"Name <address@domain>\", not \"${KALMORA_PACKAGE_MAINTAINER}\"")
endif()
# The AppStream id names the program in software centres and should stay once
# published: a reverse domain name.
set(KALMORA_APPSTREAM_ID "org.example.kalmora" CACHE STRING "The AppStream component id (reverse domain name)")
# AppStream wants web addresses for the screenshots.
set(KALMORA_SCREENSHOT_BASE_URL "https://kalmora.example.org/screenshots/" CACHE STRING
    "Web folder holding the screenshots of docs/ named in the AppStream metadata (ends with /)")

set(kalmora_package_dir ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${kalmora_package_dir} ${kalmora_package_dir}/de)
set(kalmora_packaging_source ${CMAKE_CURRENT_SOURCE_DIR}/packaging)

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Install prefix" FORCE)
endif()

# Program, tools and launcher. The tools' wrapper is one script; the name it is
# called by chooses the tool.
set(KALMORA_PACKAGE_TOOLS kalmora-ical kalmora-grades kalmora-sync kalmora-schulkalender)
install(TARGETS kalmora ${KALMORA_PACKAGE_TOOLS} DESTINATION lib/kalmora COMPONENT deb)
# The program's module of the functions after the first frame lives beside it.
install(TARGETS kalmora_deferred LIBRARY DESTINATION lib/kalmora/lib COMPONENT deb)
# A stripped install (the package's) also drops the compiler's notes, as Debian's own packages do.
find_program(KALMORA_OBJCOPY NAMES ${CMAKE_OBJCOPY} objcopy)
mark_as_advanced(KALMORA_OBJCOPY)
if(KALMORA_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(binary kalmora lib/kalmora-deferred.so ${KALMORA_PACKAGE_TOOLS})
        execute_process(COMMAND \"${KALMORA_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/kalmora/\${binary}\")
      endforeach()
    endif()" COMPONENT deb)
endif()
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop/kalmora-launcher
                 ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop/kalmora-tool
        DESTINATION lib/kalmora COMPONENT deb)
foreach(name kalmora ${KALMORA_PACKAGE_TOOLS})
  set(target kalmora-tool)
  if(name STREQUAL "kalmora")
    set(target kalmora-launcher)
  endif()
  file(CREATE_LINK ../lib/kalmora/${target} ${kalmora_package_dir}/${name} SYMBOLIC)
  install(FILES ${kalmora_package_dir}/${name} DESTINATION bin COMPONENT deb)
endforeach()
install(FILES ${KALMORA_DATA_FILES} DESTINATION share/kalmora COMPONENT deb)

install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop/kalmora.desktop DESTINATION share/applications COMPONENT deb)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/kalmora.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT deb)
endforeach()
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/kalmora.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT deb)

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/data/metainfo/kalmora.metainfo.xml.in
               ${kalmora_package_dir}/${KALMORA_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${kalmora_package_dir}/${KALMORA_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT deb)

# Man pages and the changelog compressed as Debian wants them: gzip -9 without
# name and time stamp, so that the same sources give the same package.
find_program(KALMORA_GZIP gzip REQUIRED)
mark_as_advanced(KALMORA_GZIP)
function(kalmora_gzip source target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND ${KALMORA_GZIP} -9n -c ${source} OUTPUT_FILE ${target} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${source}")
  endif()
endfunction()
foreach(page kalmora ${KALMORA_PACKAGE_TOOLS})
  kalmora_gzip(${CMAKE_CURRENT_SOURCE_DIR}/data/man/${page}.1 ${kalmora_package_dir}/${page}.1.gz)
  kalmora_gzip(${CMAKE_CURRENT_SOURCE_DIR}/data/man/de/${page}.1 ${kalmora_package_dir}/de/${page}.1.gz)
  install(FILES ${kalmora_package_dir}/${page}.1.gz DESTINATION share/man/man1 COMPONENT deb)
  install(FILES ${kalmora_package_dir}/de/${page}.1.gz DESTINATION share/man/de/man1 COMPONENT deb)
endforeach()

configure_file(${kalmora_packaging_source}/changelog.in ${kalmora_package_dir}/changelog @ONLY)
configure_file(${kalmora_packaging_source}/copyright.in ${kalmora_package_dir}/copyright @ONLY)
kalmora_gzip(${kalmora_package_dir}/changelog ${kalmora_package_dir}/changelog.gz)
install(FILES ${kalmora_package_dir}/changelog.gz ${kalmora_package_dir}/copyright
        DESTINATION share/doc/kalmora COMPONENT deb)
install(FILES ${kalmora_packaging_source}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME kalmora COMPONENT deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kalmora")
set(CPACK_PACKAGE_CONTACT "${KALMORA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALMORA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "school planner for pupils, with a German user interface")
file(READ ${kalmora_packaging_source}/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kalmora_packaging_source}/description)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Kalmora;deb;/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binaries link are found by dpkg-shlibdeps. Named by hand
# are what is loaded at run time only: the SVG icon engine (libqt6svg6) and
# the German texts of Qt's own dialogs (qt6-translations-l10n).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4), qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")

include(CPack)
