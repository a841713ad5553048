#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what an engineer gets: every file in
# its place and nothing else, the programs reachable through relative links in bin/ that find
# the installed templates and libraries beside the real programs, and the desktop files.
#   check-install.sh CMAKE BUILD_DIR PROGRAM_DIR BIN_DIR DATA_DIR MAN_DIR BUILD_BIN
# The folders after BUILD_DIR are relative to the prefix; BUILD_BIN is the build's own bin folder.
set -euo pipefail
cmake=$1 build=$2 programs=$3 bindir=$4 datadir=$5 mandir=$6 build_bin=$7

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || {
    cat "$scratch/install.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
}

# Exactly these files: the tests and benchmarks install nothing.
expected=(
    "$bindir/korvan" "$bindir/korvanctl" "$bindir/vela-sim"
    "$programs/korvan" "$programs/korvanctl" "$programs/vela-sim"
    "$programs/libMeaslex.so" "$programs/libMakerlex.so"
    "$programs/Vela-1H-TCP.ini" "$programs/Vela-3H-TCP.ini" "$programs/Vela-3H-RTU.ini"
    "$programs/Korvan.html" "$programs/advertising_bottom/Korvan.html" "$programs/TrevikCompany.png"
    "$datadir/applications/korvan.desktop"
    "$datadir/icons/hicolor/scalable/apps/korvan.svg"
    "$datadir/metainfo/korvan.metainfo.xml"
    "$mandir/man1/korvan.1.gz" "$mandir/man1/korvanctl.1.gz" "$mandir/man1/vela-sim.1.gz"
    "$datadir/doc/korvan/changelog.gz"
    "$datadir/bash-completion/completions/korvanctl"
)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort) \
    >"$scratch/layout.diff" || {
    cat "$scratch/layout.diff" >&2
    fail "the installed files differ from the layout (< missing, > unexpected)"
}

for program in korvan korvanctl vela-sim; do
    [ -f "$prefix/$programs/$program" ] && [ -x "$prefix/$programs/$program" ] ||
        fail "$programs/$program is not an executable file"
    link=$prefix/$bindir/$program
    if [ ! -L "$link" ]; then
        fail "$bindir/$program is not a link"
        continue
    fi
    case $(readlink "$link") in
    /*) fail "$bindir/$program links to an absolute path: $(readlink "$link")" ;;
    esac
    [ "$(readlink -f "$link")" = "$(readlink -f "$prefix/$programs/$program")" ] ||
        fail "$bindir/$program does not lead to $programs/$program"
done
# The same files as beside the build's programs.
for file in Vela-1H-TCP.ini Vela-3H-TCP.ini Vela-3H-RTU.ini Korvan.html advertising_bottom/Korvan.html \
    TrevikCompany.png; do
    cmp -s "$build_bin/$file" "$prefix/$programs/$file" || fail "$programs/$file differs from the build's"
done

# Through the link, korvanctl writes the project from the installed template, the same as the
# build's korvanctl from its own, and says nothing.
check_programs() {
    local root=$1 what=$2
    local korvanctl=$root/$bindir/korvanctl
    if ! "$korvanctl" --model vela-1h-tcp new --force -o "$scratch/installed.xml" 2>"$scratch/new.err"; then
        fail "$what: korvanctl new failed: $(cat "$scratch/new.err")"
    elif [ -s "$scratch/new.err" ]; then
        fail "$what: korvanctl new said: $(cat "$scratch/new.err")"
    fi
    # Saving stamps the time: the rest is the template's.
    diff <(grep -v '<DateTime ' "$scratch/installed.xml") <(grep -v '<DateTime ' "$scratch/built.xml") >/dev/null ||
        fail "$what: the project from the installed template differs from the build's"
    local unit
    unit=$("$korvanctl" unit 32 2>&1) || true
    [ "$unit" = "Degrees Celsius" ] || fail "$what: korvanctl unit 32 printed: $unit"
    local maker
    maker=$("$korvanctl" maker 26 2>&1) || true
    [ "$maker" = "ABB Automation" ] || fail "$what: korvanctl maker 26 printed: $maker"
    local usage
    usage=$("$root/$bindir/vela-sim" --help) || fail "$what: vela-sim --help failed"
    grep -q '^usage: vela-sim' <<<"$usage" || fail "$what: vela-sim --help printed: $usage"
}
"$build_bin/korvanctl" --model vela-1h-tcp new -o "$scratch/built.xml"
check_programs "$prefix" "installed"
# The links are relative, so the installed tree works where it is moved to.
mv "$prefix" "$scratch/moved"
check_programs "$scratch/moved" "moved"
prefix=$scratch/moved

# The desktop files, checked by the freedesktop tools where they are installed.
desktop=$prefix/$datadir/applications/korvan.desktop
grep -qx 'Exec=korvan %f' "$desktop" || fail "korvan.desktop does not start korvan"
grep -qx 'Icon=korvan' "$desktop" || fail "korvan.desktop does not name the icon korvan"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate korvan.desktop"
fi
metainfo=$prefix/$datadir/metainfo/korvan.metainfo.xml
grep -q '<launchable type="desktop-id">korvan.desktop</launchable>' "$metainfo" ||
    fail "korvan.metainfo.xml does not launch korvan.desktop"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 || {
        cat "$scratch/appstream.log" >&2
        fail "appstreamcli validate korvan.metainfo.xml"
    }
fi
grep -q '<svg' "$prefix/$datadir/icons/hicolor/scalable/apps/korvan.svg" || fail "korvan.svg is no SVG picture"

# The manual pages are compressed pages that format without warnings.
for page in korvan korvanctl vela-sim; do
    gz=$prefix/$mandir/man1/$page.1.gz
    gzip -t "$gz" || fail "$page.1.gz is not gzip"
    if command -v man >/dev/null; then
        warnings=$(MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null) || fail "man -l $page.1.gz"
        [ -z "$warnings" ] || fail "man -l $page.1.gz warns: $warnings"
        formatted=$(MANWIDTH=80 man -l "$gz" 2>/dev/null) || true
        grep -q "^NAME" <<<"$formatted" || fail "$page.1.gz has no NAME section"
    fi
done

# The completion loads and offers the commands and the models.
completions=$(bash -c '
    source "$1"
    complete -p korvanctl >/dev/null || exit 1
    COMP_WORDS=(korvanctl --model vela-3h-tcp ""); COMP_CWORD=3; _korvanctl; echo "${COMPREPLY[*]}"
    COMP_WORDS=(korvanctl --model ""); COMP_CWORD=2; _korvanctl; echo "${COMPREPLY[*]}"
' completion "$prefix/$datadir/bash-completion/completions/korvanctl") || fail "the bash completion does not load"
grep -q 'new show check automap export' <<<"$completions" || fail "no commands completed: $completions"
grep -q 'vela-1h-tcp vela-3h-tcp vela-3h-rtu' <<<"$completions" || fail "no models completed: $completions"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the installation failed" >&2
    exit 1
fi
echo "the installation into a temporary prefix has every file in its place"
