# Tests of the Windows build under Wine: GoogleTest built from Debian's
# sources with the cross compiler, every test program started through Wine
# on a prefix of its own inside the build tree, made once before any test
# program runs (GoogleTest's test discovery runs them at build time already).

find_program(ORVEX_WINE NAMES wine wine64 wine-stable REQUIRED)
find_program(ORVEX_WINESERVER NAMES wineserver wineserver-stable REQUIRED)
find_program(ORVEX_WINEBOOT NAMES wineboot wineboot-stable REQUIRED)
set(ORVEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, built with the cross compiler")
if(NOT EXISTS ${ORVEX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${ORVEX_GTEST_SOURCE} (Debian: googletest)")
endif()

set(ORVEX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(ORVEX_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
# Wine without a display: no window may open, no message box may wait.
file(WRITE ${ORVEX_WINE_RUN}
  "#!/bin/sh\n"
  "# Runs a Windows program of this build tree under its Wine prefix.\n"
  "export WINEPREFIX='${ORVEX_WINE_PREFIX}' WINEDEBUG=\${ORVEX_WINEDEBUG:--all} DISPLAY=\n"
  "unset WAYLAND_DISPLAY\n"
  "# One Wine server for the whole test run, started by the first program and\n"
  "# kept until tests/run-all.sh (or 'wineserver -k') ends it: a server that\n"
  "# Wine starts for a program itself would keep that program's output open\n"
  "# for as long as it runs, and one that leaves after a pause may leave just\n"
  "# as the next program starts. When one runs already, this one leaves at once.\n"
  "'${ORVEX_WINESERVER}' -p >/dev/null 2>&1 </dev/null ||\n"
  "  { sleep 0.1; '${ORVEX_WINESERVER}' -p >/dev/null 2>&1 </dev/null; } || :\n"
  "exec '${ORVEX_WINE}' \"$@\"\n")
file(CHMOD ${ORVEX_WINE_RUN} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVEX_WINE_RUN})

# The prefix, made once: two Wine processes starting on a new prefix at the
# same time fail.
add_custom_command(OUTPUT ${ORVEX_WINE_PREFIX}/.made
  COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${ORVEX_WINE_PREFIX} WINEDEBUG=-all DISPLAY=
          ${ORVEX_WINEBOOT} -i
  COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${ORVEX_WINE_PREFIX} ${ORVEX_WINESERVER} -w
  # The first program on a new prefix takes several seconds more; that one
  # is run here.
  COMMAND ${ORVEX_WINE_RUN} cmd /c exit
  COMMAND ${CMAKE_COMMAND} -E touch ${ORVEX_WINE_PREFIX}/.made
  COMMENT "Making the Wine prefix"
  VERBATIM)
add_custom_target(orvex_wine_prefix DEPENDS ${ORVEX_WINE_PREFIX}/.made)

# GoogleTest from its sources; static, like everything else here.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ORVEX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Every test program links GoogleTest, so it is built, and first run, once
# the prefix is there.
add_dependencies(gtest orvex_wine_prefix)

# Paths of the build tree as Windows programs under Wine name them.
set(ORVEX_WINE_DRIVE "Z:")
