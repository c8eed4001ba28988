# Installation into any prefix: the executable (src/app), its two resource bundles in the data
# folder it searches first, a desktop entry, the app's icon in the hicolor theme, its manual page
# and the Debian changelog. A Debian package is made from the same install by CPack
# (scripts/package).

install(DIRECTORY resources/Tolvane_TolvaneCore.bundle resources/Tolvane_TolvaneApp.bundle
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvane)
install(FILES packaging/tolvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
install(FILES packaging/tolvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the changelog, compressed as Debian ships them: gzip -9n keeps neither name
# nor time stamp, so every build of a release makes the same files. The package is this project's
# own (native), whose changelog is changelog.gz; its newest entry is the version the project says.
file(STRINGS packaging/changelog.in changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^tolvane \\(([^)]*)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog.in must begin with the entry for ${PROJECT_VERSION}, not \"${changelog_head}\"")
endif()
set(doc_build_dir "${CMAKE_BINARY_DIR}/doc")
configure_file(packaging/changelog.in "${doc_build_dir}/changelog" @ONLY)
configure_file(packaging/tolvane.1.in "${doc_build_dir}/tolvane.1" @ONLY)
foreach(doc changelog tolvane.1)
  execute_process(COMMAND gzip -9nc "${doc_build_dir}/${doc}" OUTPUT_FILE "${doc_build_dir}/${doc}.gz"
    RESULT_VARIABLE gzip_failed)
  if(gzip_failed)
    message(FATAL_ERROR "gzip could not compress ${doc_build_dir}/${doc}")
  endif()
endforeach()
install(FILES "${doc_build_dir}/changelog.gz" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
install(FILES "${doc_build_dir}/tolvane.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# PNG renderings of the icon for desktops that do not scale SVG icons, drawn at build time by a
# small Qt program from the same SVG.
set(TOLVANE_ICON_SIZES 16 22 24 32 48 64 128 256)
add_executable(tolvane_render_icon packaging/render-icon.cpp)
target_link_libraries(tolvane_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(icon_root "${CMAKE_BINARY_DIR}/icons/hicolor")
set(icon_pngs)
foreach(size IN LISTS TOLVANE_ICON_SIZES)
  list(APPEND icon_pngs "${icon_root}/${size}x${size}/apps/tolvane.png")
endforeach()
add_custom_command(OUTPUT ${icon_pngs}
  # A sanitizer build's leak check has no business failing the build over Qt's start-up.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:tolvane_render_icon> "${CMAKE_SOURCE_DIR}/packaging/tolvane.svg" "${icon_root}" ${TOLVANE_ICON_SIZES}
  DEPENDS tolvane_render_icon "${CMAKE_SOURCE_DIR}/packaging/tolvane.svg"
  COMMENT "Rendering the application icon"
  VERBATIM)
add_custom_target(tolvane_icons ALL DEPENDS ${icon_pngs})
install(DIRECTORY "${icon_root}/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The Debian package: tolvane_<version>_<architecture>.deb, with the Debian 12 packages the
# program needs at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VENDOR Tolvane)
set(CPACK_PACKAGE_CONTACT "Tolvane maintainers <packages@${TOLVANE_MAKER_WEB_HOST}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Read-only companion app for League of Legends players")
# Lines within 80 columns, as Debian's package tools show them.
set(CPACK_PACKAGE_DESCRIPTION "In champion select it shows runes, build, counters, summoner spells by
lane opponent, duo synergy and the lobby's ranks; in a match it floats small
click-through panels over the game. It only reads the game client's local
interfaces and public statistics.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps that section for games themselves, installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from what the program loads (its NEEDED entries, as dpkg-shlibdeps reads
# them), each with the least version its symbols need; what it uses without linking is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(TOLVANE_DEBIAN_DEPENDS
  # the authorities that vouch for Data Dragon and the statistics service
  "ca-certificates"
  # /bin/ps, whose process list the game client is found in (not in a minimal install)
  "procps"
  # fonts: Inter, DejaVu Sans as the fallback, WenQuanYi Micro Hei for Chinese, Japanese and Korean
  "fonts-inter" "fonts-dejavu-core" "fonts-wqy-microhei")
list(JOIN TOLVANE_DEBIAN_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
