#!/usr/bin/env bash
# Builds the Debian package from the built tree with cpack and checks what a Debian system
# gets from it: its control fields, its files, the programs started from it without a
# display, its manual pages, its AppStream data, its shell completion, and lintian's verdict.
# Usage: debian_package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
debs=("$work"/out/veldra_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single veldra_*.deb in $work/out"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veldra ] || fail "package name is $(field Package)"
[ "$(field Section)" = graphics ] || fail "section is $(field Section)"
depends=$(field Depends)
# Found by dpkg-shlibdeps, and the toolkit's platform plugins it cannot see.
for d in libc6 libqt6widgets6 libzip4 qt6-qpa-plugins; do
  grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6 $7 $8}')
for f in ./usr/bin/veldra'->'../lib/veldra/veldra ./usr/bin/veldra-cli'->'../lib/veldra/veldra-cli \
         ./usr/lib/veldra/veldra-cli-render ./usr/lib/veldra/veldra-cli-archives \
         ./usr/lib/veldra/textures/BG/skyTop.tga \
         ./usr/share/applications/veldra.desktop ./usr/share/icons/hicolor/scalable/apps/veldra.svg \
         ./usr/share/mime/packages/veldra.xml ./usr/share/thumbnailers/veldra.thumbnailer \
         ./usr/share/metainfo/org.veldra.Veldra.metainfo.xml \
         ./usr/share/man/man1/veldra.1.gz ./usr/share/man/man1/veldra-cli.1.gz \
         ./usr/share/doc/veldra/copyright ./usr/share/doc/veldra/changelog.gz \
         ./usr/share/bash-completion/completions/veldra-cli; do
  grep -qxF -- "$f" <<<"$files" || fail "the package lacks $f"
done
# Nothing of the build's own paths or of root's home.
! grep -v '^\./usr/' <<<"$files" | grep -qv '^\./$' || fail "files outside /usr"

root=$work/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr

# One version everywhere, answered without a display.
cli_version=$("$usr/bin/veldra-cli" --version)
version=${cli_version#veldra-cli }
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), program $version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/veldra" --version)" = "veldra $version" ] ||
  fail "veldra --version does not say $version"
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/veldra" --help | grep -q '^Usage: veldra' ||
  fail "veldra --help prints no usage"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/org.veldra.Veldra.metainfo.xml" ||
  fail "the AppStream release is not $version"

for page in veldra veldra-cli; do
  # gzip -n: no stored name or time.
  [ "$(od -An -tu1 -j3 -N1 "$usr/share/man/man1/$page.1.gz" | tr -d ' ')" = 0 ] ||
    fail "$page.1.gz stores a name"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
done

# The completion as bash runs it on Tab, with the packaged program first in the path.
completions() {
  PATH=$usr/bin:$PATH bash -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _veldra_cli; printf "%s\n" "${COMPREPLY[@]}"' _ \
    "$usr/share/bash-completion/completions/veldra-cli" "$@"
}
grep -qx check <(completions veldra-cli ch) || fail "no completion of commands"
grep -qx -- --split-surfaces <(completions veldra-cli convert --spl) ||
  fail "no completion of a command's options"
grep -qx extract <(completions veldra-cli pk3 ex) || fail "no completion of pk3's commands"

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/org.veldra.Veldra.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$usr/share/metainfo/org.veldra.Veldra.metainfo.xml")"
fi
if command -v lintian >/dev/null; then
  # Errors fail; warnings are listed for the log.
  report=$(lintian --allow-root --no-cfg "$deb" 2>&1 || true)
  [ -z "$report" ] || echo "$report"
  ! grep -q '^E:' <<<"$report" || fail "lintian found errors"
fi
echo "Debian package OK: $(basename "$deb")"
