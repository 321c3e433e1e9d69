#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks what a desktop makes of it: the
# programs reachable from bin/ beside their textures and companions, the .desktop entry, the
# MIME types, and the thumbnailer's command line run as a file manager would run it.
# Usage: installed_tree_test.sh BUILD_DIR SAMPLE_MD3
set -euo pipefail
build=$1
sample=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

# The programs look beside their real file, wherever the link that started them lies.
programs=$(dirname "$(readlink -f "$prefix/bin/veldra")")
for f in veldra veldra-cli veldra-cli-render veldra-cli-archives textures/BG/skyTop.tga; do
  [ -e "$programs/$f" ] || fail "$f is not beside veldra in $programs"
done
[ "$(dirname "$(readlink -f "$prefix/bin/veldra-cli")")" = "$programs" ] ||
  fail "bin/veldra-cli does not lead to $programs"
case $(readlink "$prefix/bin/veldra") in /*) fail "bin/veldra links to an absolute path" ;; esac
"$prefix/bin/veldra-cli" --version >/dev/null || fail "veldra-cli does not start from bin/"

desktop-file-validate "$prefix/share/applications/veldra.desktop"
# The entry claims exactly the types defined here, each of which `veldra FILE` opens.
claimed=$(sed -n 's/^MimeType=//p' "$prefix/share/applications/veldra.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
defined=$(grep -o '<mime-type type="[^"]*"' "$prefix/share/mime/packages/veldra.xml" | cut -d'"' -f2 | sort)
[ "$claimed" = "$defined" ] || fail "the desktop entry claims $(echo $claimed), the MIME file defines $(echo $defined)"
[ -f "$prefix/share/icons/hicolor/scalable/apps/veldra.svg" ] || fail "no icon"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/veldra.svg"

mime=$root/mime
cp -r "$prefix/share/mime" "$mime"
xmllint --noout "$mime/packages/veldra.xml"
# The tool warns instead of failing on a malformed definition: any output is a fault (with
# the folder in the search path, where it would otherwise add a note).
warnings=$(XDG_DATA_DIRS=$root XDG_DATA_HOME=$root update-mime-database "$mime" 2>&1)
[ -z "$warnings" ] || fail "update-mime-database: $warnings"
for glob in model/x-md3:\*.md3 model/x-mdc:\*.mdc model/x-mdm:\*.mdm application/x-mdx:\*.mdx model/x-mds:\*.mds \
            application/x-md3-tag:\*.tag text/x-md3-skin:\*.skin application/x-pk3:\*.pk3 \
            text/x-et-character:\*.char; do
  grep -qF ":$glob" "$mime/globs2" || fail "no glob $glob"
done
grep -qx "application/x-pk3 application/zip" "$mime/subclasses" || fail ".pk3 is no zip"
# Identifiers decide where a name is shared (.mdx is also a console ROM's).
for id in IDP3 IDPC MDMW MDSW MDXW TAG3; do
  grep -qa "$id" "$mime/magic" || fail "no magic $id"
done

# The thumbnailer's line with the size, input and output a file manager puts in.
thumbnailer=$prefix/share/thumbnailers/veldra.thumbnailer
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
grep -q '^MimeType=.*model/x-md3;' "$thumbnailer" || fail "the thumbnailer takes no MD3"
grep -q '^MimeType=.*model/x-mdc;' "$thumbnailer" || fail "the thumbnailer takes no MDC"
size=96
out=$root/thumbnail.png
command=${exec_line//%s/$size}
command=${command//%i/$sample}
command=${command//%o/$out}
read -r -a words <<<"$command"
words[0]=$prefix/bin/${words[0]}
"${words[@]}"
[ "$(head -c 8 "$out" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG"
read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$out")
[ "$width" = "$size" ] && [ "$height" = "$size" ] ||
  fail "thumbnail is ${width}x$height, asked $size"
echo "installed tree OK"
