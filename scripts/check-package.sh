#!/usr/bin/env bash
# Checks the Debian package that `cpack -G DEB` built: check-package.sh korvan_VERSION_ARCH.deb
# Fails on a missing control field or runtime dependency, and on a file missing from the
# package or lying outside /usr.
set -euo pipefail
deb=$1
failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}

[ -f "$deb" ] || {
    echo "check-package: no package $deb" >&2
    exit 1
}

field() { dpkg-deb -f "$deb" "$1"; }
for name in Package Version Architecture Maintainer Section Priority Installed-Size Description Depends; do
    [ -n "$(field "$name")" ] || fail "no $name field"
done
[ "$(field Package)" = korvan ] || fail "the package is called '$(field Package)', not korvan"
[ "$(field Section)" = electronics ] || fail "the section is '$(field Section)'"

depends=$(field Depends)
# The package names alone, one a line (alternatives after "|" count too).
depended=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')

# Every library the packaged programs and libraries link comes from a package it depends on
# (the installed package that holds the library here).
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
sonames=$(find "$unpacked" -type f \( -perm -u+x -o -name '*.so*' \) -exec objdump -p {} + 2>/dev/null |
    awk '$1 == "NEEDED" { print $2 }' | sort -u)
[ -n "$sonames" ] || fail "no linked library found in the programs"
for soname in $sonames; do
    owners=$(dpkg -S "*/$soname" 2>/dev/null | awk -F: '{ print $1 }' | sort -u || true)
    [ -n "$owners" ] || {
        fail "no installed package holds $soname"
        continue
    }
    grep -Fxq -f <(printf '%s\n' $owners) <<<"$depended" || fail "Depends lacks the package of $soname ($owners)"
done
# And the ones any build links, by their Debian 12 names.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6svg6 \
    libtinyxml2-9 libxlsxwriter4; do
    grep -Fxq "$package" <<<"$depended" || fail "Depends lacks $package: $depends"
done

# The removal script that takes the program's own flag file away with its folder.
info=$(dpkg-deb -I "$deb")
grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\* +postrm ' <<<"$info" || fail "no executable postrm"

contents=$(dpkg-deb -c "$deb")
# Each entry's path, with " -> target" for a link.
entries=$(awk '{ path = $6; for (i = 7; i <= NF; i++) path = path " " $i; print path }' <<<"$contents")
expect() {
    grep -Fxq -- "$1" <<<"$entries" || fail "the package lacks $1"
}
for program in korvan korvanctl vela-sim; do
    expect "./usr/lib/korvan/$program"
    expect "./usr/bin/$program -> ../lib/korvan/$program"
    grep -Eq "^-rwxr-xr-x .* \./usr/lib/korvan/$program\$" <<<"$contents" || fail "$program is not executable"
done
for file in libMeaslex.so libMakerlex.so Vela-1H-TCP.ini Vela-3H-TCP.ini Vela-3H-RTU.ini Korvan.html \
    advertising_bottom/Korvan.html TrevikCompany.png; do
    expect "./usr/lib/korvan/$file"
done
expect ./usr/share/applications/korvan.desktop
expect ./usr/share/icons/hicolor/scalable/apps/korvan.svg
expect ./usr/share/metainfo/korvan.metainfo.xml
expect ./usr/share/man/man1/korvan.1.gz
expect ./usr/share/man/man1/korvanctl.1.gz
expect ./usr/share/man/man1/vela-sim.1.gz
expect ./usr/share/bash-completion/completions/korvanctl
expect ./usr/share/doc/korvan/changelog.gz

outside=$(grep -Ev '^\./$|^\./usr/' <<<"$entries" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
# Nothing of the tests or benchmarks.
stray=$(grep -Ei 'test|bench' <<<"$entries" || true)
[ -z "$stray" ] || fail "test or benchmark files: $stray"

if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures problem(s) in $deb" >&2
    exit 1
fi
echo "check-package: $deb has its files and dependencies ($(grep -c . <<<"$entries") entries)"
