# The program installed the Linux way: a folder of its own under lib/ that holds the executable and
# everything it looks for next to itself, a relative link in bin/, and the menu entry, icons and
# AppStream data under share/, named by the desktop id. `cpack -G DEB` in the build folder packs the
# same tree as a Debian package.
include(GNUInstallDirs)

set(KELMO_CARTELLA_PROGRAMMA lib/kelmo-dravolo)
set(KELMO_DIST ${PROJECT_SOURCE_DIR}/dist/linux)
set(KELMO_GENERATI ${CMAKE_BINARY_DIR}/installazione)
file(MAKE_DIRECTORY ${KELMO_GENERATI})

install(TARGETS kelmo-dravolo RUNTIME DESTINATION ${KELMO_CARTELLA_PROGRAMMA})
install(FILES ${CMAKE_BINARY_DIR}/help.html ${KELMO_TABELLE} DESTINATION ${KELMO_CARTELLA_PROGRAMMA})

# A relative link, so that a tree unpacked or moved elsewhere still starts; the program finds its
# folder through the link.
file(RELATIVE_PATH KELMO_COLLEGAMENTO /r/${CMAKE_INSTALL_BINDIR} /r/${KELMO_CARTELLA_PROGRAMMA}/kelmo-dravolo)
file(CREATE_LINK ${KELMO_COLLEGAMENTO} ${KELMO_GENERATI}/kelmo-dravolo SYMBOLIC)
install(FILES ${KELMO_GENERATI}/kelmo-dravolo DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry names the installed program and its folder (the working directory, where the
# program opens its tables), so it is written when the prefix is known: at install time, in a folder
# of that prefix's own, since two installs (a test's and a package's) may run at once.
install(CODE "
  set(KELMO_ID_DESKTOP ${KELMO_ID_DESKTOP})
  set(KELMO_ESEGUIBILE_INSTALLATO \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kelmo-dravolo\")
  set(KELMO_CARTELLA_INSTALLATA \"\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}\")
  string(MD5 voce \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(voce \"${KELMO_GENERATI}/desktop-\${voce}/${KELMO_ID_DESKTOP}.desktop\")
  configure_file(${KELMO_DIST}/kelmo-dravolo.desktop.in \"\${voce}\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\" TYPE FILE
    FILES \"\${voce}\")
")

configure_file(${KELMO_DIST}/metainfo.xml.in ${KELMO_GENERATI}/${KELMO_ID_DESKTOP}.metainfo.xml @ONLY)
install(FILES ${KELMO_GENERATI}/${KELMO_ID_DESKTOP}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn once as SVG; the theme's fixed sizes are rendered from it.
find_program(KELMO_RSVG rsvg-convert REQUIRED)
set(KELMO_ICONE_PNG)
foreach(lato IN ITEMS 16 32 48 64 128 256)
  set(png ${KELMO_GENERATI}/icone/${lato}/${KELMO_ID_DESKTOP}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KELMO_GENERATI}/icone/${lato}
    COMMAND ${KELMO_RSVG} --width=${lato} --height=${lato} --output=${png} ${KELMO_DIST}/icona.svg
    DEPENDS ${KELMO_DIST}/icona.svg
    COMMENT "Rendering the ${lato} pixel icon"
    VERBATIM)
  list(APPEND KELMO_ICONE_PNG ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps)
endforeach()
install(FILES ${KELMO_DIST}/icona.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${KELMO_ID_DESKTOP}.svg)

# The manual page, and what a Debian package must carry in its documentation folder: the copyright
# notice and the changelog; compressed the reproducible way.
configure_file(${KELMO_DIST}/changelog.in ${KELMO_GENERATI}/changelog @ONLY)
configure_file(${KELMO_DIST}/kelmo-dravolo.1 ${KELMO_GENERATI}/kelmo-dravolo.1 COPYONLY)
foreach(testo IN ITEMS changelog kelmo-dravolo.1)
  add_custom_command(OUTPUT ${KELMO_GENERATI}/${testo}.gz
    COMMAND gzip -9nkf ${KELMO_GENERATI}/${testo}
    DEPENDS ${KELMO_GENERATI}/${testo}
    VERBATIM)
endforeach()
add_custom_target(installazione ALL
  DEPENDS ${KELMO_ICONE_PNG} ${KELMO_GENERATI}/changelog.gz ${KELMO_GENERATI}/kelmo-dravolo.1.gz)
# Whoever builds the program can install it.
add_dependencies(kelmo-dravolo installazione)
install(FILES ${KELMO_DIST}/copyright ${KELMO_GENERATI}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelmo-dravolo)
install(FILES ${KELMO_GENERATI}/kelmo-dravolo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# No library search path in the installed program. Qt's project setup gives every executable $ORIGIN
# and $ORIGIN/../lib, for libraries installed beside it; this one links only the system's, which the
# loader finds by itself, and a search path could only make it load a library dropped next to it.
set_target_properties(kelmo-dravolo PROPERTIES INSTALL_RPATH "")

# A stripped install (cpack strips) also drops the compilers' version notes in .comment, as Debian's own
# packages do: the package's dependencies already say what it was built against.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}/kelmo-dravolo\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelmo-dravolo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kelmo)
set(CPACK_PACKAGE_CONTACT "Kelmo <${KELMO_MAIL_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "six-number combinations for the Italian lottery")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kelmo_Dravolo draws combinations of six different numbers to play in the"
  "Italian six-of-ninety lottery, keeps the plays of the session and prints"
  "them. One number from 1 to 90 can be fixed in the first field. The"
  "interface is in Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The same package whoever builds it. CPack dates every entry by SOURCE_DATE_EPOCH when it is set, owns
# them by root and sorts them, and the manual page and changelog are compressed without name or date;
# but the folders it stages are made under the builder's umask (default folder permissions included,
# which mkdir masks too), and a private umask would pack folders nobody else may enter. So every staged
# folder is set to rwxr-xr-x before packing.
file(CONFIGURE OUTPUT ${KELMO_GENERATI}/cartelle.cmake @ONLY CONTENT [[
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
  message(FATAL_ERROR "No staging folder to set the permissions in")
endif()
file(GLOB_RECURSE voci LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(voce IN LISTS voci)
  if(IS_DIRECTORY "${voce}" AND NOT IS_SYMLINK "${voce}")
    file(CHMOD "${voce}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
]])
set(CPACK_PRE_BUILD_SCRIPTS ${KELMO_GENERATI}/cartelle.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KELMO_SITE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, so dpkg-shlibdeps cannot see them: the SQLite driver and the X11 platform.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
# The fonts the windows were laid out for, Qt's Italian texts and the desktop opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-comic-neue, qt6-translations-l10n, xdg-utils")
include(CPack)
