#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program
# from an unrelated directory with a fresh home: it must find its course
# (copied to the user's data directory), start and save a screenshot.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

fail() { echo "install test: $*" >&2; exit 1; }
for f in bin/vantrel bin/vantrel-check bin/vantrel-align share/applications/vantrel.desktop \
         share/icons/hicolor/scalable/apps/vantrel.svg \
         share/vantrel/course/InitRegD.txt share/vantrel/course/help; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
[ -d "$prefix/share/vantrel/course/Report" ] || fail "the empty Report directory was not installed"
[ -n "$(ls -A "$prefix/share/vantrel/course/Report")" ] && fail "Report/ was installed with contents"
[ -e "$prefix/share/vantrel/course/Users.eng" ] && fail "a learner list was installed"
grep -q '^Exec=vantrel$' "$prefix/share/applications/vantrel.desktop" || fail "desktop entry has no Exec line"
desktop-file-validate "$prefix/share/applications/vantrel.desktop" || fail "the desktop entry is not valid"
metainfo="$prefix/share/metainfo/org.vantrel.Vantrel.metainfo.xml"
[ -e "$metainfo" ] || fail "no software-centre entry was installed"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "the software-centre entry is not valid"; }
# Every installed program has a manual page that renders and names its options.
for prog in "$prefix"/bin/*; do
  name=$(basename "$prog")
  page="$prefix/share/man/man1/$name.1"
  [ -e "$page" ] || fail "$name has no manual page"
  MANWIDTH=80 man -l "$page" >"$work/$name.txt" 2>"$work/$name.err" || fail "man -l $page failed"
  [ -s "$work/$name.err" ] && { cat "$work/$name.err"; fail "man -l $page warned"; }
  grep -q -- '--help' "$work/$name.txt" || fail "the manual page of $name lists no options"
done

mkdir -p "$work/home" "$work/elsewhere"
cd "$work/elsewhere"
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
unset VANTREL_COURSE_DIR
"$prefix/bin/vantrel" --no-splash --screenshot "$work/shot.png" >"$work/run.log" 2>&1 ||
  { cat "$work/run.log"; fail "the installed program did not start"; }
[ -s "$work/shot.png" ] || fail "no screenshot was written"
copy="$XDG_DATA_HOME/Vantrel/course"
[ -f "$copy/InitRegD.txt" ] || fail "the course was not copied to $copy"
cmp -s "$copy/InitRegD.txt" "$prefix/share/vantrel/course/InitRegD.txt" || fail "the copied course differs"
[ -n "$(ls -A "$work/elsewhere")" ] && fail "the program wrote into the directory it was started from"
# A second start uses the copy the first one made.
"$prefix/bin/vantrel" --no-splash --quit-after-startup >"$work/run2.log" 2>&1 ||
  { cat "$work/run2.log"; fail "the second start failed"; }
echo "install test: ok"
