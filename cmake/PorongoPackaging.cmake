# What `cpack` makes from the install rules: the settings every package shares, then, on
# Linux, a Debian package in the games section (`cpack -G DEB` in the build folder gives
# porongo_<version>_amd64.deb), and on Windows a zip of the program's folder (`cpack -G ZIP`
# gives porongo-<version>-win64.zip). The project's public name, address and maintainer are set
# here; linux/ repeats them in the AppStream metadata, the copyright file and the changelog.
# These and the manual page also name the version: scripts/check-package.sh checks that they
# agree with the package's.
include_guard(GLOBAL)
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

set(CPACK_PACKAGE_NAME porongo)
set(CPACK_PACKAGE_VENDOR "Porongo Team")
set(CPACK_PACKAGE_CONTACT "Porongo Team <porongo@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/porongo/porongo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "snake game: eat the numbered balls, keep clear of the roamers")
# The long description as dpkg shows it: lines of at most 72 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Porongo (ポロンゴ) is a single-player snake game for the desktop. Steer
the snake across a 30 by 30 board with the arrow keys and eat the numbered
balls: green 3 and blue 5 make it longer and score, yellow -3 makes it
shorter. Keep clear of the three black roamers, the walls and your own
body. Every ten seconds the balls are reshuffled and the game gets faster.
The five best results are kept in a ranking.")

if(LINUX)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_STRIP_FILES ON)
  # The libraries come from the program itself (dpkg-shlibdeps); what it opens by name does
  # not show there: the Japanese font that its font mapper picks, and a General MIDI sound
  # font for the music, without which the game plays on silently.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
  # Qt's Wayland platform, for a desktop without XWayland.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | sf2-soundfont-gm, qt6-wayland")
elseif(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "porongo-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_STRIP_FILES ON)
endif()

include(CPack)
