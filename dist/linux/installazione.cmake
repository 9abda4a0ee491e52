# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The program installed the Linux way: a folder of its own under lib/ that holds the executable and
# everything it looks for next to itself, a command in bin/ that starts it there, and the menu entry,
# icons and AppStream data under share/, named by the desktop id. `cpack -G DEB` in the build folder packs the
# same tree as a Debian package.
include(GNUInstallDirs)

set(KELMO_CARTELLA_PROGRAMMA lib/kelmo-dravolo)
set(KELMO_DIST ${PROJECT_SOURCE_DIR}/dist/linux)
set(KELMO_GENERATI ${CMAKE_BINARY_DIR}/installazione)
file(MAKE_DIRECTORY ${KELMO_GENERATI})
set(KELMO_LATI_ICONE 16 32 48 64 128 256)
# Every folder the install puts a file in, under the prefix; etc/kelmo-dravolo, which leaves the prefix
# /usr for /etc, stands apart.
set(KELMO_CARTELLE_INSTALLATE ${CMAKE_INSTALL_BINDIR} ${KELMO_CARTELLA_PROGRAMMA}
  ${CMAKE_INSTALL_DATADIR}/kelmo-dravolo ${CMAKE_INSTALL_DATADIR}/applications ${CMAKE_INSTALL_DATADIR}/metainfo
  ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps ${CMAKE_INSTALL_DATADIR}/doc/kelmo-dravolo
  ${CMAKE_INSTALL_MANDIR}/man1)
foreach(lato IN LISTS KELMO_LATI_ICONE)
  list(APPEND KELMO_CARTELLE_INSTALLATE ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps)
endforeach()

# An install either completes or stops before it writes anything: what it needs to write is checked
# first. That is the prefix (its nearest existing folder) and, for the manifest that CMake itself
# writes when it ends, the build folder.
install(CODE "
  set(destinazione \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  while(NOT EXISTS \"\${destinazione}\")
    get_filename_component(destinazione \"\${destinazione}\" DIRECTORY)
  endwhile()
  foreach(cartella IN ITEMS \"\${destinazione}\" \"${CMAKE_BINARY_DIR}\")
    execute_process(COMMAND test -w \"\${cartella}\" RESULT_VARIABLE nonScrivibile)
    if(nonScrivibile)
      message(FATAL_ERROR \"Nothing installed: \${cartella} cannot be written by this user\")
    endif()
  endforeach()

  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(etc /etc)
  else()
    set(etc \"\${CMAKE_INSTALL_PREFIX}/etc\")
  endif()
  # The folders this install makes, so that its uninstall can remove them and no other: those it puts
  # files in that do not stand yet, with their parents up to the first that does. (With DESTDIR the
  # folders missing from the staging root say nothing of the machine the files will reach.)
  set(kelmo_cartelle_fatte)
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(cartelle \"\${etc}/kelmo-dravolo\")
    foreach(cartella IN ITEMS ${KELMO_CARTELLE_INSTALLATE})
      list(APPEND cartelle \"\${CMAKE_INSTALL_PREFIX}/\${cartella}\")
    endforeach()
    foreach(cartella IN LISTS cartelle)
      while(NOT EXISTS \"\${cartella}\")
        list(APPEND kelmo_cartelle_fatte \"\${cartella}\")
        get_filename_component(cartella \"\${cartella}\" DIRECTORY)
      endwhile()
    endforeach()
    list(REMOVE_DUPLICATES kelmo_cartelle_fatte)
  endif()
")
install(TARGETS kelmo-dravolo RUNTIME DESTINATION ${KELMO_CARTELLA_PROGRAMMA})
# The module of printing and the update check, which the executable loads from its own folder alone.
install(TARGETS kelmo-dravolo-modulo LIBRARY DESTINATION ${KELMO_CARTELLA_PROGRAMMA})
install(FILES ${CMAKE_BINARY_DIR}/help.html ${CMAKE_BINARY_DIR}/lingua.db DESTINATION ${KELMO_CARTELLA_PROGRAMMA})

# The settings table is the installation's configuration: it stands in etc/kelmo-dravolo/ (/etc for the
# prefix /usr) and the program's folder holds a link to it, where the program opens it. The link is
# absolute when it leaves the prefix (from /usr to /etc), as Debian wants, and relative within it, so
# that a tree moved elsewhere still starts.
# What the install carries is the default, share/kelmo-dravolo/impostazioni.db, made here from
# data/impostazioni.sql: never the table in the build folder, which the README's language command
# changes. The table in etc/ is made from it only where none stands yet, so a reinstall keeps a changed
# language. A staged install (DESTDIR, as a package is made) leaves etc/ alone: the package's postinst
# makes the table when the package is configured, and its postrm removes it on purge, so the table is
# no dpkg conffile and an upgrade never stops to ask about it.
install(CODE "
  set(predefinita \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/kelmo-dravolo/impostazioni.db\")
  set(fatta \"\$ENV{DESTDIR}\${predefinita}\")
  message(STATUS \"Installing: \${fatta}\")
  get_filename_component(cartella \"\${fatta}\" DIRECTORY)
  file(MAKE_DIRECTORY \"\${cartella}\")
  file(REMOVE \"\${fatta}.nuova\")
  execute_process(COMMAND \"${KELMO_SQLITE3}\" -bail \"\${fatta}.nuova\"
    \".read '${PROJECT_SOURCE_DIR}/data/impostazioni.sql'\" COMMAND_ERROR_IS_FATAL ANY)
  file(CHMOD \"\${fatta}.nuova\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(RENAME \"\${fatta}.nuova\" \"\${fatta}\")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${predefinita}\")

  set(tabella \"\${etc}/kelmo-dravolo/impostazioni.db\")
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    if(EXISTS \"\${tabella}\" OR IS_SYMLINK \"\${tabella}\")
      message(STATUS \"Kept: \${tabella}\")
    else()
      message(STATUS \"Installing: \${tabella}\")
      file(MAKE_DIRECTORY \"\${etc}/kelmo-dravolo\")
      file(COPY_FILE \"\${predefinita}\" \"\${tabella}\")
    endif()
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${tabella}\")
  endif()

  set(cartella \"\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}\")
  if(NOT etc STREQUAL /etc)
    file(RELATIVE_PATH tabella \"\${cartella}\" \"\${tabella}\")
  endif()
  message(STATUS \"Installing: \$ENV{DESTDIR}\${cartella}/impostazioni.db -> \${tabella}\")
  file(REMOVE \"\$ENV{DESTDIR}\${cartella}/impostazioni.db\")
  file(CREATE_LINK \"\${tabella}\" \"\$ENV{DESTDIR}\${cartella}/impostazioni.db\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${cartella}/impostazioni.db\")
")

# A copy installed for every user carries a mark in its folder (NumeroFisso.h names it), by which the
# program keeps each user's fixed number in that user's own configuration folder and never writes its
# install folder: the package (a staged install, DESTDIR) and an install to a prefix outside the
# installing user's home. A user install (the prefix in the home, as ~/.local) has no mark, and keeps
# the file next to the program as a built copy does.
install(CODE "
  set(segno \"\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}/installazione-condivisa\")
  set(casa \"\$ENV{HOME}\")
  string(FIND \"\${CMAKE_INSTALL_PREFIX}/\" \"\${casa}/\" inizio)
  if(NOT \"\$ENV{DESTDIR}\" STREQUAL \"\" OR casa STREQUAL \"\" OR NOT inizio EQUAL 0)
    message(STATUS \"Installing: \$ENV{DESTDIR}\${segno}\")
    file(WRITE \"\$ENV{DESTDIR}\${segno}\"
      \"Installato per tutti gli utenti: ognuno tiene il proprio numero fisso nella propria cartella di configurazione.\\n\")
    file(CHMOD \"\$ENV{DESTDIR}\${segno}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${segno}\")
  endif()
")
# The command in bin/ starts the program in its own folder, as the menu entry does: typed in a terminal
# anywhere, it still finds its tables.
file(RELATIVE_PATH KELMO_DA_BIN_AL_PROGRAMMA /r/${CMAKE_INSTALL_BINDIR} /r/${KELMO_CARTELLA_PROGRAMMA})
configure_file(${KELMO_DIST}/kelmo-dravolo.in ${KELMO_GENERATI}/bin/kelmo-dravolo @ONLY)
install(PROGRAMS ${KELMO_GENERATI}/bin/kelmo-dravolo DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry names the installed command and the program's folder, so it is written when the
# prefix is known: at install time, straight into its place (nothing is written into the build
# folder, which the installing user may not be able to write), and listed in the install manifest.
install(CODE "
  set(KELMO_ID_DESKTOP ${KELMO_ID_DESKTOP})
  set(KELMO_ESEGUIBILE_INSTALLATO \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kelmo-dravolo\")
  set(KELMO_CARTELLA_INSTALLATA \"\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}\")
  set(voce \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${KELMO_ID_DESKTOP}.desktop\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${voce}\")
  # With the usual permissions, whatever the source file has (a tree unpacked with another umask).
  configure_file(${KELMO_DIST}/kelmo-dravolo.desktop.in \"\$ENV{DESTDIR}\${voce}\" @ONLY
                 NO_SOURCE_PERMISSIONS)
  # As CMake lists its own files: without the DESTDIR.
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${voce}\")
")

configure_file(${KELMO_DIST}/metainfo.xml.in ${KELMO_GENERATI}/${KELMO_ID_DESKTOP}.metainfo.xml @ONLY)
install(FILES ${KELMO_GENERATI}/${KELMO_ID_DESKTOP}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn once as SVG; the theme's fixed sizes are rendered from it.
find_program(KELMO_RSVG rsvg-convert REQUIRED)
set(KELMO_ICONE_PNG)
foreach(lato IN LISTS KELMO_LATI_ICONE)
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
configure_file(${KELMO_DIST}/kelmo-dravolo.1 ${KELMO_GENERATI}/kelmo-dravolo.1 @ONLY)
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

# No library search path in the installed program or its module. Qt's project setup gives every target
# $ORIGIN and $ORIGIN/../lib, for libraries installed beside it; these link only the system's, which the
# loader finds by itself, and a search path could only make them load a library dropped next to them.
set_target_properties(kelmo-dravolo kelmo-dravolo-modulo PROPERTIES INSTALL_RPATH "")

# A stripped install (cpack strips) also drops the compilers' version notes in .comment, as Debian's own
# packages do: the package's dependencies already say what it was built against.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(binario IN ITEMS kelmo-dravolo kelmo-dravolo-modulo.so)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}/\${binario}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()
")

# An install straight into its place (no DESTDIR) can be undone by the user who made it, without the
# build folder: lib/kelmo-dravolo/disinstalla.sh removes what installati.txt beside it lists, the files
# of this install and of any earlier one at the same prefix and the folders they made, deepest first.
# This block runs last, when CMake's list of installed files is whole.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(cartella \"\${CMAKE_INSTALL_PREFIX}/${KELMO_CARTELLA_PROGRAMMA}\")
    file(INSTALL DESTINATION \"\${cartella}\" TYPE PROGRAM FILES \"${KELMO_DIST}/disinstalla.sh\")
    set(elenco \"\${cartella}/installati.txt\")
    message(STATUS \"Installing: \${elenco}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${elenco}\")
    set(installati \${CMAKE_INSTALL_MANIFEST_FILES})
    set(cartelle)
    foreach(fatta IN LISTS kelmo_cartelle_fatte)
      list(APPEND cartelle \"\${fatta}/\")
    endforeach()
    if(EXISTS \"\${elenco}\")
      file(STRINGS \"\${elenco}\" prima)
      foreach(voce IN LISTS prima)
        if(voce MATCHES \"/$\")
          list(APPEND cartelle \"\${voce}\")
        else()
          list(APPEND installati \"\${voce}\")
        endif()
      endforeach()
    endif()
    list(REMOVE_DUPLICATES installati)
    # In reverse order a folder comes after every folder inside it.
    list(REMOVE_DUPLICATES cartelle)
    list(SORT cartelle ORDER DESCENDING)
    list(JOIN installati \"\\n\" testo)
    foreach(fatta IN LISTS cartelle)
      string(APPEND testo \"\\n\${fatta}\")
    endforeach()
    file(WRITE \"\${elenco}.nuovo\" \"\${testo}\\n\")
    file(RENAME \"\${elenco}.nuovo\" \"\${elenco}\")
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
# Loaded by Qt at run time, so dpkg-shlibdeps cannot see it: the X11 platform.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The command-line tool that sets a user's own language, as the README and the manual page show.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS sqlite3)
# The fonts the windows were laid out for, Qt's Italian texts, the desktop opener and the Wayland
# platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-liberation2, fonts-comic-neue, qt6-translations-l10n, xdg-utils, qt6-wayland")
# The settings table in /etc: made from the default by postinst when absent, removed by postrm on purge.
# prerm, and postinst on an upgrade, remove a fixed number an earlier version kept in the program's folder.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KELMO_DIST}/postinst ${KELMO_DIST}/prerm ${KELMO_DIST}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
