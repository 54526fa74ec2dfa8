# Packaging, declared once: what `cmake --install` puts where, and CPack's
# settings for the packages made from it. CPack packs every install() rule of
# the project (the programs install themselves beside their targets), so a
# new program or data file needs only its own install() rule.
#
# The version is the project's (project() in the top CMakeLists.txt).
# Included before the program folders, so their install() rules find the
# standard directories and the directory permissions set here.

include(GNUInstallDirs)

# Where the project lives and who answers for the package. Kept here, once,
# for the package's control fields, the AppStream metadata, the copyright
# file and the desktop entry's name. The application id is the homepage's
# domain reversed, as AppStream asks; the desktop entry is named after it.
# The example.org addresses stand in until the project has a public home.
set(LUMISTRA_HOMEPAGE_URL "https://example.org/lumistra")
set(LUMISTRA_APP_ID "org.example.lumistra")
set(LUMISTRA_SCREENSHOT_URL "${LUMISTRA_HOMEPAGE_URL}/docs/screenshot-linux.png")
set(LUMISTRA_RELEASE_DATE "2026-12-07")
set(CPACK_PACKAGE_VENDOR "The Lumistra developers")
set(CPACK_PACKAGE_CONTACT "The Lumistra developers <lumistra@example.org>")

set(CPACK_PACKAGE_NAME lumistra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the light distribution of a lamp (IES files)")
set(CPACK_PACKAGE_HOMEPAGE_URL ${LUMISTRA_HOMEPAGE_URL})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)  # the packages carry no debugging symbols

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(linux_data ${PROJECT_SOURCE_DIR}/packaging/linux)
  set(generated ${PROJECT_BINARY_DIR}/packaging/linux)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/lumistra)
  # The release date as a Debian changelog writes it (RFC 2822), from the one above.
  execute_process(COMMAND date -u -R -d "${LUMISTRA_RELEASE_DATE}"
    OUTPUT_VARIABLE LUMISTRA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  # Directories 0755 whatever the umask of the machine that builds the package.
  set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

  # Desktop integration by the freedesktop conventions: the menu entry, the
  # file type of .ies files with this program as its handler, the icon in
  # the hicolor theme, the software centre's metadata. Debian's triggers
  # refresh the menu, MIME and icon caches when the package is installed.
  install(FILES ${linux_data}/lumistra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    RENAME ${LUMISTRA_APP_ID}.desktop)
  install(FILES ${linux_data}/lumistra.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/src/app/icon/lumistra-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME lumistra.png)
  endforeach()
  configure_file(${linux_data}/lumistra.metainfo.xml.in ${generated}/lumistra.metainfo.xml @ONLY)
  install(FILES ${generated}/lumistra.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    RENAME ${LUMISTRA_APP_ID}.metainfo.xml)

  # The copyright file in Debian's machine-readable format, with the text of
  # LICENSE as the licence (Debian calls the MIT licence "Expat").
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" copyright_line "${license_text}")
  set(copyright_holders ${CMAKE_MATCH_1})
  string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
  string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
  string(REPLACE "\n" "\n " license_text "${license_text}")
  file(WRITE ${generated}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Lumistra\n"
    "Source: ${LUMISTRA_HOMEPAGE_URL}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${copyright_holders}\n"
    "License: Expat\n"
    " ${license_text}\n")
  install(FILES ${generated}/copyright ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${doc_dir})

  # The man page and the changelog, compressed as Debian's policy asks
  # (gzip -9n: no name or time stamp, so the bytes do not depend on the build).
  configure_file(${linux_data}/lumistra.1.in ${generated}/lumistra.1 @ONLY)
  configure_file(${linux_data}/lumistra-cli.1.in ${generated}/lumistra-cli.1 @ONLY)
  configure_file(${linux_data}/changelog.in ${generated}/changelog @ONLY)
  foreach(name lumistra.1 lumistra-cli.1 changelog)
    add_custom_command(OUTPUT ${generated}/${name}.gz
      COMMAND gzip -9n --force --keep ${generated}/${name}
      DEPENDS ${generated}/${name}
      COMMENT "Compressing ${name}")
    list(APPEND compressed ${generated}/${name}.gz)
  endforeach()
  add_custom_target(lumistra_compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${generated}/lumistra.1.gz ${generated}/lumistra-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${generated}/changelog.gz DESTINATION ${doc_dir})

  # The Debian package: dist/lumistra_<version>_amd64.deb through scripts/package.sh.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # lumistra_<version>_<architecture>.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the binaries, by dpkg-shlibdeps
  # The extended description; CPack puts the summary above it.
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lumistra is a small desktop editor for the luminous-intensity distribution\n"
    "of a lamp. One vertical intensity curve is sketched with the mouse on a\n"
    "polar diagram; beside it the program shows the pool of light such a lamp\n"
    "throws on a nearby wall. The curve is saved as, and opened from, an IESNA\n"
    "LM-63 photometric file (.ies), which other lighting tools read.")
endif()

include(CPack)
