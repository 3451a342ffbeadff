#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Checks a built tovixman .deb before it is handed out: the files it must ship, the
# programs' library search path, its dependencies, its desktop entry, man pages,
# AppStream metadata and MIME type, and lintian's verdict (no error, no warning).
# Prints each failed check and a closing "package: N passed, N failed"; exits 1 on any failure.
set -uo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: check-package.sh FILE.deb (one package file; got: $*)" >&2
  exit 2
fi
deb=$1
private=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tovixman
app_id=example.tovixman.TovixMan
programs=(TovixMan voc2wav tovix-player)
libraries=(libHalvex.so libNerolink.so)

passed=0 failed=0
check() { # what, command...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
dpkg-deb -x "$deb" "$tree"

listed() { grep -qxF "./${1#/}" <<<"$listing"; }
for f in "${programs[@]/#//usr/bin/}" "${libraries[@]/#/$private/}" \
         /usr/share/applications/$app_id.desktop /usr/share/icons/hicolor/64x64/apps/tovixman.png \
         /usr/share/metainfo/$app_id.metainfo.xml /usr/share/mime/packages/tovixman.xml \
         $(printf "/usr/share/man/man1/%s.1.gz " "${programs[@]}") \
         /usr/share/doc/tovixman/copyright /usr/share/doc/tovixman/changelog.gz \
         /usr/share/tovixman/samples/voice_mode{0,1,2}.VOC \
         /usr/share/tovixman/translations/tovixman_{de,fr}.qm \
         /usr/share/doc/tovixman/README.md /usr/share/doc/tovixman/docs/stand-in-player.md; do
  check "$f is in the package" listed "$f"
done
check "everything installs under /usr" test -z "$(grep -vE '^\./(usr/.*)?$' <<<"$listing")"

# Each program's RUNPATH, with $ORIGIN as the dynamic loader reads it, is the private
# folder, and every library it needs from there is in the package.
runpath_is_private() {
  local binary=$tree/usr/bin/$1 runpath
  runpath=$(readelf -d "$binary" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [ "$(realpath -m "${runpath//\$ORIGIN//usr/bin}")" = "$private" ] || return 1
  for lib in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    case " ${libraries[*]} " in *" $lib "*) [ -f "$tree$private/$lib" ] || return 1 ;; esac
  done
}
for p in "${programs[@]}"; do
  check "$p is executable" test -x "$tree/usr/bin/$p"
  check "$p finds its libraries in $private" runpath_is_private "$p"
  check "$p does not name the tree it was built from" \
    test -z "$(grep -lF "$(cd "$(dirname "$0")/.." && pwd)" "$tree/usr/bin/$p")"
done

depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libmpg123-0 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n; do
  check "depends on $d" grep -qE "(^|, )$d( |,|$)" <<<"$depends"
done

entry=$tree/usr/share/applications/$app_id.desktop
check "desktop-file-validate passes" desktop-file-validate "$entry"
exec_is_packaged() { local exec; exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry"); [ -x "$tree$exec" ]; }
check "the desktop entry starts the packaged TovixMan" exec_is_packaged
check "the desktop entry's icon is the packaged one" grep -qx 'Icon=tovixman' "$entry"

check "the desktop entry hands TovixMan the files it opens" grep -qx "Exec=/usr/bin/TovixMan %F" "$entry"
check "the desktop entry opens voice recordings" grep -qx 'MimeType=audio/x-tovix-voice;' "$entry"

# Every page renders without a warning from man or groff.
man_is_clean() { [ -z "$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)" ]; }
for p in "${programs[@]}"; do
  check "the man page of $p renders cleanly" man_is_clean "$tree/usr/share/man/man1/$p.1.gz"
done

metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
check "appstreamcli validate passes" appstreamcli validate --no-net "$metainfo"
check "the metadata launches the packaged desktop entry" \
  grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
check "the metadata names the recordings' MIME type" grep -qF '<mediatype>audio/x-tovix-voice</mediatype>' "$metainfo"

# The MIME definition compiles beside the system's and makes the type the entry opens.
mime_compiles() {
  local data=$tree/mime-check
  mkdir -p "$data/packages" && cp /usr/share/mime/packages/freedesktop.org.xml "$tree/usr/share/mime/packages/tovixman.xml" "$data/packages/" &&
    update-mime-database "$data" && grep -qx 'audio/x-tovix-voice' "$data/types" &&
    grep -qx 'audio/x-tovix-voice audio/mpeg' "$data/subclasses"
}
check "the MIME definition compiles into a subclass of audio/mpeg" mime_compiles

lintian_clean() {
  lintian --fail-on error,warning "$deb" >"$tree/lintian.txt" 2>&1
}
if ! lintian_clean; then
  failed=$((failed + 1))
  echo "FAILED: lintian reports errors or warnings:"
  grep -E '^[EW]: ' "$tree/lintian.txt" || cat "$tree/lintian.txt"
else
  passed=$((passed + 1))
fi

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
