#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The program as it is installed and packaged.
#
#   pacchetto.sh installazione <build>      install into a temporary DESTDIR with prefix /usr and check the
#                                           tree, the menu entry, the AppStream data and the icons
#   pacchetto.sh deb <build> <folder>       make the Debian package in <folder> (emptied first), check its
#                                           content and control fields, run lintian on it and, as root,
#                                           install, upgrade, remove and purge it on this machine
#   pacchetto.sh installato <folder> <e2e>  unpack the package made there and run <e2e>/installato.py on
#                                           it as an unprivileged user under Xvfb; the tree must not change
set -euo pipefail

# The desktop id and the site the build was configured with (ctest passes them in).
ID=${KELMO_ID_DESKTOP:?the desktop id of the build}
SITO=${KELMO_SITO:?the site address of the build}
LATI=(16 32 48 64 128 256)
SORGENTI=$(cd "$(dirname "$0")/../.." && pwd)

temp=$(mktemp -d "${TMPDIR:-/tmp}/kelmo-pacchetto.XXXXXXXX")
# Set while the package stands installed on this machine by the test, which then purges it however it
# ends.
nel_sistema=
pulisci() {
  [ -z "$nel_sistema" ] || timeout 120 dpkg --purge kelmo-dravolo </dev/null >/dev/null 2>&1 || true
  chmod -R u+w "$temp" 2>/dev/null
  rm -rf "$temp"
}
trap pulisci EXIT

# A text as an extended regular expression that matches just that text.
come_regex() {
  printf '%s' "$1" | sed 's#[]*.^$()+?{}|\\[]#\\&#g'
}

fallito() {
  echo "FAIL: $*" >&2
  exit 1
}

# Every file and link of the installed tree under usr/, sorted.
albero_atteso() {
  {
    echo usr/bin/kelmo-dravolo
    echo usr/share/kelmo-dravolo/impostazioni.db
    printf 'usr/lib/kelmo-dravolo/%s\n' help.html impostazioni.db installazione-condivisa kelmo-dravolo \
      kelmo-dravolo-modulo.so lingua.db
    echo "usr/share/applications/$ID.desktop"
    echo "usr/share/metainfo/$ID.metainfo.xml"
    echo "usr/share/icons/hicolor/scalable/apps/$ID.svg"
    for lato in "${LATI[@]}"; do echo "usr/share/icons/hicolor/${lato}x${lato}/apps/$ID.png"; done
    printf 'usr/share/doc/kelmo-dravolo/%s\n' changelog.gz copyright
    echo usr/share/man/man1/kelmo-dravolo.1.gz
  } | LC_ALL=C sort
}

controlla_albero() {
  local radice=$1
  local trovato
  trovato=$(cd "$radice" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
  if [ "$trovato" != "$(albero_atteso)" ]; then
    diff <(albero_atteso) <(echo "$trovato") >&2 || true
    fallito "the installed tree differs from the expected one (- expected, + found)"
  fi
  echo "-- the tree holds the expected $(echo "$trovato" | wc -l) files"
  [ -x "$radice/usr/lib/kelmo-dravolo/kelmo-dravolo" ] || fallito "the program is not executable"
  # The settings table is the installation's configuration, in /etc; the program's folder links to it.
  [ "$(readlink "$radice/usr/lib/kelmo-dravolo/impostazioni.db")" = /etc/kelmo-dravolo/impostazioni.db ] ||
    fallito "usr/lib/kelmo-dravolo/impostazioni.db is not the link to /etc/kelmo-dravolo/impostazioni.db"
  # The command answers like any Linux command, from any folder and without a display.
  local comando="$radice/usr/bin/kelmo-dravolo" uscita
  [ -f "$comando" ] && [ ! -L "$comando" ] && [ -x "$comando" ] || fallito "usr/bin/kelmo-dravolo is not a command"
  uscita=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$comando" --version) ||
    fallito "kelmo-dravolo --version ended with status $?"
  [ "$(head -n 1 <<<"$uscita")" = "Kelmo_Dravolo 05.2002-15" ] && grep -q 'GPLv3+' <<<"$uscita" ||
    fallito "kelmo-dravolo --version printed: $uscita"
  uscita=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$comando" --help) ||
    fallito "kelmo-dravolo --help ended with status $?"
  [[ "$uscita" == "Uso: kelmo-dravolo [--help | --version]"* ]] || fallito "kelmo-dravolo --help printed: $uscita"
  # The program links only the system's libraries, which the loader finds by itself: a search path in
  # it could only make it load a library dropped next to it in place of the system's.
  local dinamica oggetto
  for oggetto in kelmo-dravolo kelmo-dravolo-modulo.so; do
    dinamica=$(readelf -d "$radice/usr/lib/kelmo-dravolo/$oggetto") || fallito "readelf cannot read $oggetto"
    ! grep -E '\((RPATH|RUNPATH)\)' <<<"$dinamica" || fallito "the installed $oggetto carries a library search path"
  done
  # Printing and the update check come with the module beside the program, loaded when first asked for:
  # the program links none of the libraries that only they need, and the module does.
  dinamica=$(readelf -d "$radice/usr/lib/kelmo-dravolo/kelmo-dravolo")
  ! grep -E '\(NEEDED\).*\[(libQt6Network|libQt6PrintSupport|libxml2)\.' <<<"$dinamica" ||
    fallito "the program links a library only its module needs"
  dinamica=$(readelf -d "$radice/usr/lib/kelmo-dravolo/kelmo-dravolo-modulo.so")
  grep -q -E '\(NEEDED\).*\[libQt6PrintSupport\.' <<<"$dinamica" || fallito "the module does not link Qt Print Support"
  # The program refuses a module that others than its owner may write.
  local modo
  modo=$(stat -c %a "$radice/usr/lib/kelmo-dravolo/kelmo-dravolo-modulo.so")
  [ $((8#$modo & 8#022)) -eq 0 ] || fallito "the module's mode is $modo"
}

voce() { sed -n "s/^$2=//p" "$1"; }

# The settings table's value, as the program reads it.
lingua() { sqlite3 -readonly "$1" "select LINGUA from impostazioni"; }

# The notes of an appstreamcli report, but for those the maker's site alone may cause: a top-level
# domain AppStream does not know (".example"), and plain HTTP for the homepage and the screenshot.
note_appstream() {
  sed 's/^ *//' | grep -E '^[EWIP]: ' |
    grep -v -E "^I: $(come_regex "$ID"):[0-9]+: (cid-maybe-not-rdns $(come_regex "$ID")|url-not-secure $(come_regex "$SITO")|screenshot-media-url-not-secure)$" ||
    true
}

# The files the build made for the install (the other tests of a ctest run write elsewhere in the
# build folder meanwhile).
albero_build() { (cd "$1/installazione" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort); }

installazione() {
  local build=$1 radice="$temp/radice" uscita prima
  prima=$(albero_build "$build")
  DESTDIR="$radice" cmake --install "$build" --prefix /usr >/dev/null
  controlla_albero "$radice"
  [ "$(albero_build "$build")" = "$prima" ] || {
    diff <(echo "$prima") <(albero_build "$build") >&2 || true
    fallito "the install wrote into the build folder"
  }
  echo "-- the install wrote nothing into the build folder"

  # A user who cannot write the build folder, where CMake keeps the install manifest: the install stops
  # before it writes anything. Only root can act as another user here.
  if [ "$(id -u)" -eq 0 ]; then
    local casa="$temp/utente"
    mkdir "$casa"
    chown 65534:65534 "$casa"
    if setpriv --reuid=65534 --regid=65534 --clear-groups cmake --install "$build" --prefix "$casa/.local" \
      >"$temp/utente.log" 2>&1; then
      fallito "a user who cannot write the build folder installed all the same"
    fi
    grep -q "Nothing installed" "$temp/utente.log" || fallito "the failed install said: $(cat "$temp/utente.log")"
    [ -z "$(ls -A "$casa")" ] || fallito "a failed install left: $(cd "$casa" && find . | head)"
    echo "-- a user who cannot write the build folder is stopped before anything is written"
  fi

  local desktop="$radice/usr/share/applications/$ID.desktop"
  uscita=$(desktop-file-validate "$desktop" 2>&1) || true
  [ -z "$uscita" ] || fallito "desktop-file-validate: $uscita"
  [ "$(voce "$desktop" Exec)" = /usr/bin/kelmo-dravolo ] && [ "$(voce "$desktop" Path)" = /usr/lib/kelmo-dravolo ] &&
    [ "$(voce "$desktop" Icon)" = "$ID" ] || fallito "the entry starts $(voce "$desktop" Exec) in $(voce "$desktop" Path)"
  echo "-- desktop-file-validate: nothing to report"

  # The whole tree, so that the metainfo is checked against the menu entry it names; then the metainfo
  # alone as software centres read it, pedantic.
  uscita=$(appstreamcli validate-tree --no-net --no-color "$radice" 2>&1) ||
    fallito "appstreamcli validate-tree: $uscita"
  [ -z "$(note_appstream <<<"$uscita")" ] || fallito "appstreamcli validate-tree: $(note_appstream <<<"$uscita")"
  local metainfo="$radice/usr/share/metainfo/$ID.metainfo.xml"
  uscita=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1) ||
    fallito "appstreamcli validate --pedantic: $uscita"
  [ -z "$(note_appstream <<<"$uscita")" ] || fallito "appstreamcli validate --pedantic: $(note_appstream <<<"$uscita")"
  # English untagged, Italian tagged "it"; keywords, a screenshot on the site, the command it provides.
  python3 - "$metainfo" "$SITO" <<'FINE' || fallito "the AppStream data lacks what software centres expect"
import sys
import xml.etree.ElementTree as ET
radice = ET.parse(sys.argv[1]).getroot()
LINGUA = "{http://www.w3.org/XML/1998/namespace}lang"
def lingue(percorso):
    return sorted(e.get(LINGUA, "") for e in radice.findall(percorso))
assert lingue("summary") == ["", "it"], lingue("summary")
assert lingue("description/p") == ["", "", "it", "it"], lingue("description/p")
assert "Draws" in radice.find("summary").text, radice.find("summary").text
assert lingue("keywords/keyword").count("") >= 3 and "it" in lingue("keywords/keyword")
immagine = radice.find("screenshots/screenshot[@type='default']/image")
assert immagine is not None and immagine.text.startswith(sys.argv[2] + "/"), immagine
assert radice.find("provides/binary").text == "kelmo-dravolo"
FINE
  echo "-- appstreamcli validate-tree and validate --pedantic: nothing beyond the notes on the example site"
  echo "-- AppStream: English untagged and Italian tagged, keywords, a screenshot on the site"

  local lato dimensioni
  for lato in "${LATI[@]}"; do
    dimensioni=$(identify -format '%m %wx%h' "$radice/usr/share/icons/hicolor/${lato}x${lato}/apps/$ID.png")
    [ "$dimensioni" = "PNG ${lato}x${lato}" ] || fallito "the ${lato} pixel icon is $dimensioni"
  done
  echo "-- icons: ${LATI[*]} pixels"

  # A user install elsewhere: the entry follows the prefix it was installed with.
  DESTDIR="$temp/altrove" cmake --install "$build" --prefix /home/utente/.local >/dev/null
  desktop="$temp/altrove/home/utente/.local/share/applications/$ID.desktop"
  [ "$(voce "$desktop" Exec)" = /home/utente/.local/bin/kelmo-dravolo ] &&
    [ "$(voce "$desktop" Path)" = /home/utente/.local/lib/kelmo-dravolo ] ||
    fallito "installed in ~/.local, the entry starts $(voce "$desktop" Exec) in $(voce "$desktop" Path)"
  echo "-- installed under another prefix, the entry follows it"

  # Installed for a user and uninstalled with the README's own command, run by that user in their home:
  # one home without ~/.local, which the uninstall must take away whole, and one where ~/.local/bin
  # stood empty before, which must stay. Each is installed twice, as a new build goes over the old one,
  # with the language set in between, which the second install keeps; the program has left its fixed
  # number in its folder, and the leftover of a save cut short, and a writer killed in the middle of a
  # transaction has left SQLite's files beside the tables. The build folder is root's here, and the
  # install writes its manifest there: so root installs, and gives the tree to the user.
  local comandi
  comandi=$(awk '/^and to uninstall that/ { dopo = 1 } dopo && /^```sh/ { dentro = 1; next }
                 dentro && /^```/ { exit } dentro' "$SORGENTI/README.md")
  [ -n "$comandi" ] || fallito "the README shows no commands to uninstall an install in ~/.local"
  local utente=() casa attesi volta
  chmod 755 "$temp"
  for casa in "$temp/senza-local" "$temp/con-bin"; do
    mkdir "$casa"
    attesi=$casa
    if [ "$casa" = "$temp/con-bin" ]; then
      mkdir -p "$casa/.local/bin"
      attesi+=$'\n'$casa/.local$'\n'$casa/.local/bin
    fi
    if [ "$(id -u)" -eq 0 ]; then
      utente=(setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH=/usr/bin:/bin HOME="$casa")
    else
      utente=(env HOME="$casa")
    fi
    for volta in 1 2; do
      # In the user's home, as the user would install: a copy of their own, unmarked.
      HOME="$casa" cmake --install "$build" --prefix "$casa/.local" >/dev/null
      [ ! -e "$casa/.local/lib/kelmo-dravolo/installazione-condivisa" ] ||
        fallito "installed in the user's home, the copy is marked as installed for every user"
      [ -f "$casa/.local/lib/kelmo-dravolo/kelmo-dravolo-modulo.so" ] ||
        fallito "installed in the user's home, the program has no module beside it"
      [ "$(id -u)" -ne 0 ] || chown -R 65534:65534 "$casa"
      [ "$volta" -eq 2 ] || "${utente[@]}" sqlite3 "$casa/.local/etc/kelmo-dravolo/impostazioni.db" \
        "update impostazioni set LINGUA = 'Inglese'"
    done
    [ "$(lingua "$casa/.local/lib/kelmo-dravolo/impostazioni.db")" = Inglese ] ||
      fallito "installed again, the user's settings table reads $(lingua "$casa/.local/lib/kelmo-dravolo/impostazioni.db")"
    "${utente[@]}" sh -c 'cd "$1" && echo 07 >redme.qzl && : >redme.qzl.kelmo-2a' - "$casa/.local/lib/kelmo-dravolo"
    "${utente[@]}" sh -c 'for t; do : >"$t-journal" && : >"$t-wal" && : >"$t-shm" || exit; done' - \
      "$casa/.local/etc/kelmo-dravolo/impostazioni.db" "$casa/.local/lib/kelmo-dravolo/lingua.db"
    (cd "$casa" && "${utente[@]}" bash -euo pipefail -c "$comandi") || fallito "the README's uninstall failed"
    [ "$(find "$casa" | LC_ALL=C sort)" = "$attesi" ] ||
      fallito "the README's uninstall left: $(find "$casa" | LC_ALL=C sort | tr '\n' ' ')"
  done
  echo "-- installed twice for a user, the language kept; the README's command removes it all, fixed number,"
  echo "   the tables' -journal, -wal and -shm files and folders, and leaves the ~/.local/bin that stood before"
}

# Makes the package of build $1 in folder $2 (emptied first), with cpack's further arguments, and names
# it in $pacchetto.
fai_pacchetto() {
  rm -rf "$2"
  mkdir -p "$2"
  cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2" "${@:3}" >"$2/cpack.log" 2>&1 ||
    { cat "$2/cpack.log" >&2; fallito "cpack failed"; }
  local pacchetti=("$2"/*.deb)
  [ ${#pacchetti[@]} -eq 1 ] || fallito "cpack made ${pacchetti[*]}"
  pacchetto=${pacchetti[0]}
}

deb() {
  local build=$1 cartella=$2 pacchetto
  # Dated as dpkg-buildpackage dates a package, by its changelog, unless the caller chose a date.
  SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$build/installazione/changelog" -S Timestamp)}
  export SOURCE_DATE_EPOCH
  fai_pacchetto "$build" "$cartella"
  local nome
  nome="kelmo-dravolo_$(dpkg-deb -f "$pacchetto" Version)_$(dpkg --print-architecture).deb"
  [ "$(basename "$pacchetto")" = "$nome" ] && [ "$(dpkg-deb -f "$pacchetto" Package)" = kelmo-dravolo ] ||
    fallito "the package is named $(basename "$pacchetto"), not $nome"

  dpkg-deb -x "$pacchetto" "$temp/radice"
  controlla_albero "$temp/radice"
  dpkg-deb -c "$pacchetto"

  local campo
  for campo in Section Priority Maintainer Description; do
    [ -n "$(dpkg-deb -f "$pacchetto" "$campo")" ] || fallito "the package has no $campo"
  done
  # Found by dpkg-shlibdeps in the program's own links, next to the ones Qt loads at run time.
  local dipendenze
  dipendenze=$(dpkg-deb -f "$pacchetto" Depends)
  for campo in libqt6widgets6 libqt6network6 libqt6printsupport6 libjpeg62-turbo libxml2 libsqlite3-0 \
    qt6-qpa-plugins; do
    [[ ", $dipendenze," == *", $campo "* || ", $dipendenze," == *", $campo,"* ]] ||
      fallito "Depends lacks $campo: $dipendenze"
  done
  # The settings table in /etc is the maintainer scripts' (see ciclo_dpkg), not a conffile that
  # dpkg would ask about on an upgrade.
  ! dpkg-deb -I "$pacchetto" conffiles >/dev/null 2>&1 ||
    fallito "the package has conffiles: $(dpkg-deb -I "$pacchetto" conffiles)"
  # The tables are read through SQLite itself: Qt's SQL module is not needed.
  [[ "$dipendenze" != *libqt6sql6* ]] || fallito "Depends still names Qt's SQL module: $dipendenze"
  [[ ", $(dpkg-deb -f "$pacchetto" Recommends)," == *", qt6-wayland,"* ]] ||
    fallito "Recommends lacks qt6-wayland: $(dpkg-deb -f "$pacchetto" Recommends)"
  echo "-- Depends: $dipendenze"

  # Every protection hardening-check can judge in the packaged program; it answers "unknown" only where
  # the code gives it nothing to look at (no stack-clash probes without large frames). Its control-flow
  # line reads the mark the linker gives a program only when every part of it has one, and libc6-dev's
  # start-up files (Scrt1.o, crti.o, crtn.o) have none on this release, so it says "no" for any program
  # linked here and is skipped: instead each of the program's own objects must carry both marks.
  local rapporto
  local binario
  for binario in kelmo-dravolo kelmo-dravolo-modulo.so; do
    rapporto=$(hardening-check --nocfprotection "$temp/radice/usr/lib/kelmo-dravolo/$binario") ||
      fallito "hardening-check: $rapporto"
    ! tail -n +2 <<<"$rapporto" |
      grep -v -E ': (yes|unknown)([ ,].*)?$|^ (Control flow integrity|Position Independent Executable): .* \(ignored\)$' ||
      fallito "hardening-check: $rapporto"
    echo "$rapporto"
  done
  if [[ $(dpkg --print-architecture) == @(amd64|i386) ]]; then
    local oggetto oggetti=0
    while IFS= read -r -d '' oggetto; do
      grep -q 'x86 feature: IBT, SHSTK' <<<"$(readelf -n "$oggetto")" || fallito "$oggetto lacks the IBT and SHSTK marks"
      oggetti=$((oggetti + 1))
    done < <(find "$build/src" -name '*.o' -print0)
    [ "$oggetti" -gt 0 ] || fallito "no objects of the program under $build/src"
    echo "-- control-flow protection: all $oggetti objects of the program carry the IBT and SHSTK marks"
  fi

  # Down to its notes. The one left is the help page: the program opens it from its own folder, so it
  # cannot move to the documentation folder.
  rapporto=$(lintian -I --fail-on error,warning --tag-display-limit 0 "$pacchetto" 2>&1) ||
    fallito "lintian: $rapporto"
  local note
  note=$(grep -E '^[A-Z]: ' <<<"$rapporto" |
    grep -v -F -x 'I: kelmo-dravolo: package-contains-documentation-outside-usr-share-doc [usr/lib/kelmo-dravolo/help.html]' ||
    true)
  [ -z "$note" ] || fallito "lintian -I: $note"
  echo "$rapporto" | grep -v 'running with root privileges' || true
  echo "-- lintian -I: nothing beyond the note on the help page"

  ciclo_dpkg "$build" "$pacchetto"

  # The README's own command, run twice as it stands, each time from a build folder of its own that
  # holds only CPack's settings (the package and the staging are made there), must give the same bytes,
  # every entry dated by the last commit. A builder whose umask keeps new files private must get the
  # same content too; only the modes CPack gives the three members of the ar archive follow the umask
  # (it takes them from its working files), so that run is compared member by member.
  if git -C "$SORGENTI" rev-parse --git-dir >/dev/null 2>&1; then
    local comando data_commit
    comando=$(awk '/make the Debian package in the build folder/ { dopo = 1 } dopo && /^```sh/ { dentro = 1; next }
                   dentro && /^```/ { exit } dentro && /cpack/' "$SORGENTI/README.md")
    [ -n "$comando" ] || fallito "the README shows no command that makes the package"
    data_commit=$(TZ=UTC date -d "@$(git -C "$SORGENTI" log -1 --format=%ct)" '+%F %T')
    local volta deb_readme=()
    # The second time by a builder whose umask keeps new files private: the same bytes all the same.
    for volta in 1 2; do
      mkdir -p "$temp/readme$volta/build"
      ln -s "$(cd "$build" && pwd)/CPackConfig.cmake" "$temp/readme$volta/build/"
      (cd "$temp/readme$volta" && { [ "$volta" -eq 1 ] || umask 077; } &&
        env -u SOURCE_DATE_EPOCH GIT_DIR="$(git -C "$SORGENTI" rev-parse --absolute-git-dir)" \
        bash -euo pipefail -c "$comando") >"$temp/readme$volta.log" 2>&1 ||
        { cat "$temp/readme$volta.log" >&2; fallito "the README's command failed: $comando"; }
      deb_readme+=("$temp/readme$volta/build/$(basename "$pacchetto")")
    done
    cmp "${deb_readme[@]}" || fallito "the README's command run twice, once under umask 077, made different packages"
    [ "$(stat -c %a "${deb_readme[1]}")" = 644 ] ||
      fallito "under umask 077 the README's command made a package of mode $(stat -c %a "${deb_readme[1]}")"
    local orari
    orari=$(dpkg-deb --fsys-tarfile "${deb_readme[0]}" | TZ=UTC tar -tv --full-time | awk '{ print $4, $5 }'
            ar p "${deb_readme[0]}" control.tar.gz | TZ=UTC tar -tvz --full-time | awk '{ print $4, $5 }')
    orari=$(sort -u <<<"$orari")
    [ "$orari" = "$data_commit" ] ||
      fallito "the README's package dates its entries $(tr '\n' ' ' <<<"$orari")not by the last commit, $data_commit"
    echo "-- the README's command run twice, once under umask 077: the same $(stat -c %s "${deb_readme[0]}") bytes, every entry dated $data_commit"
  else
    echo "-- not a git checkout: the README's package command, which dates by the last commit, is not run"
  fi
  (umask 077 && fai_pacchetto "$build" "$temp/privato")
  local membro
  for membro in debian-binary control.tar.gz data.tar.gz; do
    cmp <(ar p "$pacchetto" "$membro") <(ar p "$temp/privato/$(basename "$pacchetto")" "$membro") ||
      fallito "made with umask 077, the package's $membro differs"
  done
  echo "-- made with umask 077: the same members"
}

# dpkg's own run of a package's life on this machine, with stdin closed and no --force-conf option, so
# that a question would fail it (timeout stops one that waits all the same): installed, the settings
# table set to English by the administrator, upgraded to a later release made from the same build,
# removed, purged.
dpkg_senza_domande() {
  timeout 120 dpkg "$@" </dev/null >"$temp/dpkg.log" 2>&1 || {
    cat "$temp/dpkg.log" >&2
    fallito "dpkg $* ended with status $?"
  }
}

ciclo_dpkg() {
  local build=$1 primo=$2 tabella=/etc/kelmo-dravolo/impostazioni.db
  if [ "$(id -u)" -ne 0 ]; then
    echo "-- not root: the package is not installed, upgraded and purged on this machine"
    return
  fi
  if dpkg-query -W kelmo-dravolo >/dev/null 2>&1 || [ -e /etc/kelmo-dravolo ]; then
    fallito "kelmo-dravolo is on this machine already; purge it (apt purge kelmo-dravolo) to run this test"
  fi
  local pacchetto
  fai_pacchetto "$build" "$temp/seguente" -D CPACK_DEBIAN_PACKAGE_RELEASE=1
  local seguente=$pacchetto

  nel_sistema=1
  dpkg_senza_domande --install "$primo"
  [ -f "$tabella" ] && [ ! -L "$tabella" ] || fallito "installed, the package made no $tabella"
  [ "$(stat -c '%U:%G %a' "$tabella")" = "root:root 644" ] ||
    fallito "$tabella is $(stat -c '%U:%G %a' "$tabella")"
  [ "$(lingua /usr/lib/kelmo-dravolo/impostazioni.db)" = Italiano ] ||
    fallito "the installed program reads the language $(lingua /usr/lib/kelmo-dravolo/impostazioni.db)"
  echo "-- installed: $tabella made with the default language, Italiano"

  # A fixed number an earlier version saved for root in the program's folder, with a save's leftover:
  # gone with the upgrade, and again, put back, before the removal takes the folder.
  local lasciato=/usr/lib/kelmo-dravolo/redme.qzl
  printf "AO '33'\$tg\r\n" >"$lasciato" && : >"$lasciato.kelmo-1f"
  sqlite3 "$tabella" "update impostazioni set LINGUA = 'Inglese'"
  dpkg_senza_domande --install "$seguente"
  [ ! -e "$lasciato" ] && [ ! -e "$lasciato.kelmo-1f" ] || fallito "upgraded, the package left $lasciato"
  printf "AO '33'\$tg\r\n" >"$lasciato"
  [ "$(dpkg-query -W -f '${Version} ${db:Status-Status}' kelmo-dravolo)" = "$(dpkg-deb -f "$seguente" Version) installed" ] ||
    fallito "upgraded, the package is $(dpkg-query -W -f '${Version} ${db:Status-Status}' kelmo-dravolo)"
  [ "$(lingua "$tabella")" = Inglese ] || fallito "upgraded, the administrator's language became $(lingua "$tabella")"
  echo "-- upgraded to $(basename "$seguente") with no question: the administrator's Inglese is kept"

  dpkg_senza_domande --remove kelmo-dravolo
  [ ! -e /usr/lib/kelmo-dravolo ] || fallito "removed, the package left /usr/lib/kelmo-dravolo"
  [ "$(lingua "$tabella")" = Inglese ] || fallito "removed, the package did not keep $tabella"
  dpkg_senza_domande --purge kelmo-dravolo
  nel_sistema=
  [ ! -e /etc/kelmo-dravolo ] || fallito "purged, the package left: $(find /etc/kelmo-dravolo)"
  # Every file of the package, and every folder of its own, is gone.
  local voce rimasti=()
  while IFS= read -r voce; do
    voce=${voce#.}
    if [[ "$voce" == */ ]]; then
      [[ "$voce" != *kelmo* ]] || [ ! -e "$voce" ] || rimasti+=("$voce")
    elif [ -e "$voce" ] || [ -L "$voce" ]; then
      rimasti+=("$voce")
    fi
  done < <(dpkg-deb --fsys-tarfile "$seguente" | tar -t)
  [ ${#rimasti[@]} -eq 0 ] || fallito "purged, the package left: ${rimasti[*]}"
  echo "-- removed, the table is kept; purged, nothing of the package is left in /etc or /usr"
}

# What the tree holds, so that a run can be shown to have changed nothing in it.
stato() { (cd "$1" && find . -printf '%p %y %s %m %T@\n' | LC_ALL=C sort); }

installato() {
  local pacchetti=("$1"/*.deb) e2e=$2
  [ ${#pacchetti[@]} -eq 1 ] && [ -f "${pacchetti[0]}" ] || fallito "no single package in $1"
  local pacchetto=${pacchetti[0]}
  local radice="$temp/radice" copie="$temp/e2e" casa="$temp/casa"
  # The user must reach the tree and the scripts; mktemp made the folder private.
  chmod 755 "$temp"
  dpkg-deb -x "$pacchetto" "$radice"
  # The settings table in /etc as the package's postinst makes it, and the link to it as it resolves
  # once the package stands at the root.
  mkdir "$radice/etc" "$radice/etc/kelmo-dravolo"
  cp "$radice/usr/share/kelmo-dravolo/impostazioni.db" "$radice/etc/kelmo-dravolo/"
  ln -sfn "$radice/etc/kelmo-dravolo/impostazioni.db" "$radice/usr/lib/kelmo-dravolo/impostazioni.db"
  mkdir "$copie" "$casa"
  cp "$e2e/sessione.sh" "$e2e/accessibile.py" "$e2e/e2e_impostazioni.py" "$e2e/installato.py" "$copie/"
  chmod -R a+rX "$copie"
  # A fixed number an earlier version saved for root in the program's folder: every user played it.
  printf "AO '55'\$tg\r\n" >"$radice/usr/lib/kelmo-dravolo/redme.qzl"
  local utente=()
  if [ "$(id -u)" -eq 0 ]; then
    # As the package would be: owned by root and not writable by the user who runs the program.
    chown -R 0:0 "$radice"
    chown 65534:65534 "$casa"
    utente=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  else
    chmod -R a-w "$radice"
  fi
  # Taken once the tree is as the run will find it.
  local prima
  prima=$(stato "$radice")
  # The README's one command that sets a user's own language.
  local lingua
  lingua=$(awk '/this one command sets English/ { dopo = 1 } dopo && /^```sh/ { dentro = 1; next }
                dentro && /^```/ { exit } dentro' "$SORGENTI/README.md")
  [ -n "$lingua" ] || fallito "the README shows no command that sets a user's language"
  # Root first, where the machine lets this test be root: a number root fixes must reach no other user.
  if [ "$(id -u)" -eq 0 ]; then
    local casa_root="$temp/casa-root"
    mkdir "$casa_root"
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$casa_root" TMPDIR="$casa_root" LANG=C.UTF-8 \
      "$copie/sessione.sh" --sul-posto "$radice/usr/bin/kelmo-dravolo" "$copie/installato.py" --root "$radice"
    [ "$(stato "$radice")" = "$prima" ] || fallito "root's run changed the install tree"
  fi
  # Then the user, whose plays must start with their own fixed number: neither root's nor the one left in
  # the program's folder.
  "${utente[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$casa" TMPDIR="$casa" LANG=C.UTF-8 \
    KELMO_COMANDO_LINGUA="$lingua" \
    "$copie/sessione.sh" --sul-posto "$radice/usr/bin/kelmo-dravolo" "$copie/installato.py" "$radice"

  [ "$(stato "$radice")" = "$prima" ] || {
    diff <(echo "$prima") <(stato "$radice") >&2 || true
    fallito "the run changed the install tree"
  }
  echo "-- nothing changed under the install tree"
}

case "${1:-}" in
  installazione) installazione "$2" ;;
  deb) deb "$2" "$3" ;;
  installato) installato "$2" "$3" ;;
  *)
    echo "usage: $0 installazione <build> | deb <build> <folder> | installato <folder> <e2e-folder>" >&2
    exit 2
    ;;
esac
