# The hardening flags of the release and package builds: fortified functions, stack and control-flow protection, PIE, read-only relocations bound at start.
#
# KALMORA_HARDENING is AUTO, ON or OFF. AUTO hardens the Release build and the
# Debian package build (KALMORA_PACKAGE_DEB), and leaves the development
# builds alone: RelWithDebInfo with the tests, the sanitizer build and the
# fuzz build, where _FORTIFY_SOURCE and the sanitizers would get in each
# other's way. The flags are Debian's own (`dpkg-buildflags`, with bindnow
# switched on as well); where that tool is missing, the same set by hand.
# Included before the first target, so that every folder's targets get them.

set(KALMORA_HARDENING AUTO CACHE STRING "Build with hardening flags: AUTO (Release and package builds), ON or OFF")
set_property(CACHE KALMORA_HARDENING PROPERTY STRINGS AUTO ON OFF)

if(KALMORA_HARDENING STREQUAL "AUTO")
  if((CMAKE_BUILD_TYPE STREQUAL "Release" OR KALMORA_PACKAGE_DEB OR KALMORA_PACKAGE_OPT)
     AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    set(kalmora_harden ON)
  else()
    set(kalmora_harden OFF)
  endif()
elseif(KALMORA_HARDENING)
  set(kalmora_harden ON)
else()
  set(kalmora_harden OFF)
endif()

if(kalmora_harden)
  find_program(KALMORA_DPKG_BUILDFLAGS dpkg-buildflags)
  mark_as_advanced(KALMORA_DPKG_BUILDFLAGS)
  set(kalmora_hardening_source "built-in")
  if(KALMORA_DPKG_BUILDFLAGS)
    set(kalmora_flags_ok TRUE)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      # Run in the source folder, so that the file-prefix map makes the paths
      # in the binaries relative to it whatever the build folder is.
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${KALMORA_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE kalmora_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE kalmora_result)
      if(NOT kalmora_result EQUAL 0)
        set(kalmora_flags_ok FALSE)
      endif()
      separate_arguments(kalmora_${kind} UNIX_COMMAND "${kalmora_${kind}}")
    endforeach()
    # No debug symbol package is made, and the build type says whether to keep symbols.
    list(REMOVE_ITEM kalmora_CXXFLAGS -g)
    if(kalmora_flags_ok)
      set(kalmora_hardening_source "dpkg-buildflags")
    endif()
  endif()
  if(NOT kalmora_hardening_source STREQUAL "dpkg-buildflags")
    set(kalmora_CPPFLAGS -D_FORTIFY_SOURCE=2)
    set(kalmora_CXXFLAGS -O2 -fstack-protector-strong -Wformat -Werror=format-security)
    set(kalmora_LDFLAGS -Wl,-z,relro -Wl,-z,now)
  endif()
  # Stack clash protection and control-flow protection (CET on x86) join the
  # set in later Debian releases; taken here wherever the compiler has them.
  include(CheckCXXCompilerFlag)
  foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "KALMORA_HAS${flag}" has_flag)
    if(NOT "${flag}" IN_LIST kalmora_CXXFLAGS)
      check_cxx_compiler_flag(${flag} ${has_flag})
      if(${has_flag})
        list(APPEND kalmora_CXXFLAGS ${flag})
      endif()
    endif()
  endforeach()
  # -D_FORTIFY_SOURCE may already be set by the compiler; ours is the one that counts.
  add_compile_options(-U_FORTIFY_SOURCE ${kalmora_CPPFLAGS} ${kalmora_CXXFLAGS})
  add_link_options(${kalmora_LDFLAGS})
  # Position-independent executables; Debian's compiler makes them anyway, others are told to.
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  string(JOIN " " kalmora_all_flags ${kalmora_CPPFLAGS} ${kalmora_CXXFLAGS} ${kalmora_LDFLAGS})
  message(STATUS "Hardening flags (${kalmora_hardening_source}): ${kalmora_all_flags}")
endif()
