#!/usr/bin/env bash
# The Debian package as a user meets it: its contents and dependencies, both
# validators on the files it carries, then (with --install, as root) an
# install with apt-get, tandrel-cli --help, tandrel started offscreen with a
# playlist and a second start handing it a file, and a purge that leaves none
# of its files behind.
#   package_test.sh DEB [--install]
set -uo pipefail
deb=$1
install=${2:-}
work=$(mktemp -d)
first=
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failed=0 passed=0
expect() {  # expect DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

echo "== dpkg -c $(basename "$deb")"
dpkg -c "$deb"
echo "== Depends: $(dpkg-deb -f "$deb" Depends)"
expect "dependencies computed from the binaries" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"

# The package unpacked into a fresh root: what it carries, validated there.
root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/tandrel usr/bin/tandrel-cli usr/share/man/man1/tandrel.1.gz usr/share/man/man1/tandrel-cli.1.gz \
         usr/share/bash-completion/completions/tandrel-cli usr/share/icons/hicolor/48x48/apps/tandrel.png \
         usr/share/icons/hicolor/scalable/apps/tandrel.svg; do
    expect "the package carries /$f" test -s "$root/$f"
done
echo "== desktop-file-validate"
expect "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/com.velmora.Tandrel.desktop"
echo "== appstreamcli validate"
expect "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/com.velmora.Tandrel.metainfo.xml"

if [ "$install" = --install ]; then
    export DEBIAN_FRONTEND=noninteractive
    echo "== apt-get install $(basename "$deb")"
    expect "apt-get install" apt-get install -y -qq -o Dpkg::Use-Pty=0 --no-install-recommends "$(realpath "$deb")"
    expect "tandrel-cli --help" sh -c '/usr/bin/tandrel-cli --help | grep -q "^  tag "'
    expect "man page installed" test -s /usr/share/man/man1/tandrel-cli.1.gz

    # Offscreen, with settings, program files and the hand-over socket of its own.
    mkdir -p "$work/config" "$work/data" "$work/run" "$work/music"
    chmod 700 "$work/run"
    printf '#EXTM3U\r\none.mp3\r\n' >"$work/music/list.m3u"
    printf 'notes\r\n' >"$work/music/notes.txt"
    export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
    /usr/bin/tandrel "$work/music/list.m3u" >"$work/first.log" 2>&1 &
    first=$!
    # Running means listening for the files of later starts.
    for _ in $(seq 50); do ls "$work/run"/tandrel-* >/dev/null 2>&1 && break; sleep 0.2; done
    expect "tandrel starts offscreen and keeps running" kill -0 "$first"
    expect "a second start hands its file over and ends" timeout 20 /usr/bin/tandrel "$work/music/notes.txt"
    expect "the first window still runs" kill -0 "$first"
    kill "$first" && wait "$first" 2>/dev/null
    first=
    cat "$work/first.log"

    echo "== apt-get purge tandrel"
    files=$(dpkg -L tandrel | while read -r f; do [ -f "$f" ] && echo "$f"; done)
    expect "apt-get purge" apt-get purge -y -qq -o Dpkg::Use-Pty=0 tandrel
    expect "the package is gone" sh -c '! dpkg -s tandrel >/dev/null 2>&1'
    left=$(for f in $files; do [ -e "$f" ] && echo "$f"; done)
    expect "no file of the package is left${left:+: $left}" test -z "$left"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
