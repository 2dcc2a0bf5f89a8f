#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch root and runs
# sordanel-render from there; every shared library its programs need must come from a package
# it declares. Usage: package_test.sh BUILD_DIR WITH_WINDOW(ON|OFF)
set -euo pipefail
build=$1
with_window=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; echo "0 passed, 1 failed"; exit 1; }
deb=$(ls "$scratch"/out/sordanel_*.deb)
dpkg-deb -x "$deb" "$scratch/root"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

bundle=usr/lib/lv2/sordanel.lv2
expected=(usr/bin/sordanel-render usr/share/man/man1/sordanel-render.1.gz
          $bundle/sordanel.so $bundle/manifest.ttl $bundle/sordanel.ttl)
if [[ $with_window == ON ]]; then
  expected+=(usr/bin/sordanel usr/share/applications/sordanel.desktop
             usr/share/icons/hicolor/scalable/apps/sordanel.svg)
fi
for file in "${expected[@]}"; do
  [[ -e $scratch/root/$file ]] || fail "the package lacks /$file"
done

help=$("$scratch/root/usr/bin/sordanel-render" --help) || fail "--help exits with $?"
[[ $help == *"Usage: sordanel-render"* ]] || fail "--help prints no usage"
if [[ $with_window == ON ]]; then
  # Answered on the console, without a display to open the window on.
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
            "$scratch/root/usr/bin/sordanel" --version) || fail "sordanel --version exits with $?"
  [[ $version == "sordanel "[0-9]* ]] || fail "sordanel --version prints '$version'"
fi
gzip -dc "$scratch/root/usr/share/man/man1/sordanel-render.1.gz" | grep -q '^\.TH SORDANEL-RENDER 1' ||
  fail "the manual page is not a section 1 page"

LV2_PATH="$scratch/root/usr/lib/lv2" lv2info https://sordanel.invalid/lv2/sordanel >/dev/null ||
  fail "lv2info does not find the instrument in the package"

# Each library a program or the plugin needs, by the package that ships it on this system.
for program in "$scratch"/root/usr/bin/* "$scratch/root/$bundle/sordanel.so"; do
  for library in $(readelf -d "$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    # awk reads to the end: leaving early would break ldconfig's pipe and, with pipefail,
    # end this script without a word.
    path=$(ldconfig -p | awk -v lib="$library" '$1 == lib && /x86-64/ && !found { print $NF; found = 1 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || true)
    package=${owner%%:*}
    if [[ -z $package ]]; then
      fail "$(basename "$program") needs $library, which no package provides here"
    elif [[ ", $depends" != *", $package "* && ", $depends," != *", $package,"* ]]; then
      fail "$(basename "$program") needs $library from $package, which Depends does not name"
    fi
  done
done

if ((failures == 0)); then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
