#!/usr/bin/env bash
# Checks the Debian package that `make package` built in the folder $1 (build-package):
# lintian finds no errors, the package holds what it should, the desktop entry is valid, and
# the program unpacked from it into a scratch root runs, with --help listing exactly the
# options of its manual page.
set -euo pipefail
build=${1:-build-package}
debs=("$build"/qvxscope_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "check-package: expected one qvxscope_*.deb in $build" >&2
  exit 1
fi
deb=${debs[0]}
failed=0
fail() { echo "check-package: FAILED: $*" >&2; failed=1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

echo "== lintian $deb"
# Warnings are listed but accepted; an error fails the check.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

echo "== contents"
dpkg -x "$deb" "$root"
for f in usr/bin/qvxscope usr/share/man/man1/qvxscope.1.gz \
         usr/share/applications/qvxscope.desktop \
         usr/share/icons/hicolor/scalable/apps/qvxscope.svg \
         usr/lib/udev/rules.d/60-qvxscope-parport.rules \
         usr/share/doc/qvxscope/copyright usr/share/doc/qvxscope/changelog.gz \
         usr/share/doc/qvxscope/getting-started.txt; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
for size in 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/qvxscope.png" |
    grep -q "PNG image data, $size x $size," || fail "no $size x $size icon"
done
pages=$(find "$(dirname "$0")/../src/help/pages" -name '*.txt' | wc -l)
shipped=$(find "$root/usr/share/doc/qvxscope/help" -name '*.txt' | wc -l)
[ "$pages" -eq "$shipped" ] || fail "$shipped help pages shipped, $pages written"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6widgets6 libqt6core6 libqt6printsupport6 qt6-qpa-plugins fonts-liberation; do
  grep -q "$p" <<<"$depends" || fail "Depends lacks $p"
done

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/qvxscope.desktop" || fail "desktop entry"

echo "== the installed program"
program=$root/usr/bin/qvxscope
version=$("$program" --version) || fail "--version"
[ "$version" = "qvxscope $(dpkg-deb -f "$deb" Version)" ] ||
  fail "--version says '$version', the package is $(dpkg-deb -f "$deb" Version)"
"$program" --help >"$root/help.txt" || fail "--help"
zcat "$root/usr/share/man/man1/qvxscope.1.gz" >"$root/qvxscope.1"
# The option column of --help, and the tags of the paragraphs of the manual page's OPTIONS.
grep -oE '^  -[^ ,]+(, -[^ ,]+)*' "$root/help.txt" | sed 's/^  //' | sort >"$root/help-options"
sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' "$root/qvxscope.1" | sed -n '/^\.TP$/{n;p}' | sed 's/\\f[BIR]//g; s/\\-/-/g' | sort >"$root/man-options"
echo "$(wc -l <"$root/help-options") options in --help, $(wc -l <"$root/man-options") in the manual page"
[ "$(wc -l <"$root/help-options")" -gt 10 ] || fail "--help lists too few options"
diff -u "$root/help-options" "$root/man-options" || fail "--help and the manual page differ"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/qvxscope.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page does not render cleanly: $warnings"
# A whole start on the simulated instrument, working in a folder of its own.
mkdir "$root/work"
printf ' 1 \r\n' >"$root/work/QVXport.cfg"
QT_QPA_PLATFORM=offscreen timeout 60 "$program" --folder="$root/work" \
  --screenshot="$root/shot.png" 2>"$root/stderr.txt" || fail "the screenshot run: $(cat "$root/stderr.txt")"
file "$root/shot.png" | grep -q "PNG image data, 1190 x 818," || fail "no 1190 x 818 screenshot"

[ $failed -eq 0 ] && echo "check-package: all checks passed"
exit $failed
