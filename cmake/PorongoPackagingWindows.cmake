# The Windows release: porongo.exe, its music and sound and a note for the player, side by
# side in one folder, where the program finds its data files and keeps Ranking.dat.
#   cmake --build build-win && (cd build-win && cpack -G ZIP)  ->  porongo-<version>-win64.zip
include_guard(GLOBAL)

install(TARGETS porongo RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/data/bgm.mid" "${PROJECT_SOURCE_DIR}/data/BLEEP04.WAV" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/docs/windows-readme.txt" DESTINATION . RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME porongo)
set(CPACK_PACKAGE_VENDOR "ポロンゴ開発チーム")
set(CPACK_PACKAGE_FILE_NAME "porongo-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
