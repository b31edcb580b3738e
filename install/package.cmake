# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack once the package's files are staged (CPACK_PRE_BUILD_SCRIPTS): Debian keeps games
# in /usr/games, so the launcher installed in the prefix's bin/ gives way there to the one made for
# /usr/games (the same script, its paths to the program and the pack taken from that folder).
# `cmake --install` alone keeps PREFIX/bin/vorn.
if(NOT CPACK_TEMPORARY_INSTALL_DIRECTORY)
  message(FATAL_ERROR "package.cmake: CPack gave no staging folder")
endif()
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(staged ${root}${CPACK_VORN_STAGED_LAUNCHER})
if(NOT EXISTS ${staged})
  message(FATAL_ERROR "package.cmake: no launcher staged at ${staged}")
endif()
file(REMOVE ${staged})
get_filename_component(bin ${staged} DIRECTORY)
file(GLOB left ${bin}/*)
if(NOT left)
  file(REMOVE_RECURSE ${bin})
endif()
# (file(COPY), not file(INSTALL): that one would put CPack's DESTDIR before the path once more)
file(COPY ${CPACK_VORN_GAMES_LAUNCHER} DESTINATION ${root}${CPACK_VORN_GAMES_DIR}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
