#!/usr/bin/env bash
# Builds the Debian package from the tree already built, installs it with apt
# on this machine, starts the installed program as a new user would (fresh
# home, a calculation file on the command line) and removes it again, checking
# what each step leaves behind. Needs root; otherwise it says so and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "Prova del pacchetto saltata: serve l'utente root (apt-get install)."
  exit 0
fi
inizio=$(date +%s)
deb=$(bash scripts/pacchetto.sh build | tail -n 1)
echo "Pacchetto: $deb"
dpkg-deb --field "$deb" Package Version Depends

casa=$(mktemp -d)
rimuovi() {
  if dpkg-query -W -f='${Status}' zelvi-teg 2>/dev/null | grep -q 'install ok installed'; then
    apt-get remove -y zelvi-teg >/dev/null
  fi
  rm -rf "$casa"
}
trap rimuovi EXIT
errore() { echo "ERRORE: $*" >&2; exit 1; }

export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$deb" >/dev/null
installati=(/usr/bin/zelvi-teg
  /usr/share/zelvi-teg/Archivio/Esempio.ccc "/usr/share/zelvi-teg/Archivio/Esempio movimenti.ccc"
  /usr/share/zelvi-teg/help/manuale.pdf
  /usr/share/applications/zelvi-teg.desktop /usr/share/mime/packages/zelvi-teg.xml
  /usr/share/icons/hicolor/scalable/apps/zelvi-teg.svg
  /usr/share/icons/hicolor/48x48/apps/zelvi-teg.png /usr/share/icons/hicolor/256x256/apps/zelvi-teg.png
  /usr/share/doc/zelvi-teg/README.md)
for f in "${installati[@]}"; do [ -f "$f" ] || errore "manca $f"; done
file /usr/share/icons/hicolor/48x48/apps/zelvi-teg.png | grep -q '48 x 48' || errore "icona 48 px"
file /usr/share/icons/hicolor/256x256/apps/zelvi-teg.png | grep -q '256 x 256' || errore "icona 256 px"
desktop-file-validate /usr/share/applications/zelvi-teg.desktop
# The package's triggers registered the file type and the program that opens it.
grep -q 'application/x-zelvi-teg-conteggio:\*\.ccc' /usr/share/mime/globs2 || errore "tipo MIME non registrato"
grep -q 'application/x-zelvi-teg-conteggio=.*zelvi-teg.desktop' /usr/share/applications/mimeinfo.cache ||
  errore "il menu non associa i file .ccc al programma"

# Help and version need no display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM zelvi-teg --version | grep -q '^Zelvi T.E.G. ' ||
  errore "--version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM zelvi-teg --help | grep -q -- '--archivio' || errore "--help"

# A first start with a fresh home and a file outside the archive: the archive
# is made in the user's data folder with the example, and the file is the one
# held open. The program is ended once that is seen.
mkdir -p "$casa/Documenti"
cp /usr/share/zelvi-teg/Archivio/Esempio.ccc "$casa/Documenti/Rossi.ccc"
env -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$casa" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  zelvi-teg "$1" & pid=$!
  aperto=0
  for _ in $(seq 150); do
    if [ -f "$HOME/.local/share/zelvi-teg/Archivio/Esempio.ccc" ] &&
       ls -l "/proc/$pid/fd" 2>/dev/null | grep -q -- "-> $1\$"; then aperto=1; break; fi
    sleep 0.2
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ "$aperto" = 1 ]' _ "$casa/Documenti/Rossi.ccc" || errore "il programma installato non ha aperto Rossi.ccc"
[ -w "$casa/.local/share/zelvi-teg/Archivio/Esempio.ccc" ] || errore "Esempio non copiato nell'archivio"
[ -w "$casa/.local/share/zelvi-teg/Archivio/Esempio movimenti.ccc" ] ||
  errore "Esempio movimenti non copiato nell'archivio"

apt-get remove -y zelvi-teg >/dev/null
for f in "${installati[@]}"; do [ ! -e "$f" ] || errore "$f resta dopo la rimozione"; done
[ ! -e /usr/share/zelvi-teg ] || errore "/usr/share/zelvi-teg resta dopo la rimozione"
! grep -q 'application/x-zelvi-teg-conteggio' /usr/share/mime/globs2 || errore "tipo MIME rimasto"
echo "Prova del pacchetto riuscita in $(( $(date +%s) - inizio )) s."
