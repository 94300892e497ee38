#!/usr/bin/env bash
# `cmake --install` of a build into a scratch prefix: the programs, the icon,
# the desktop entry (valid, with the keys a menu and a file manager read), the
# AppStream metadata (valid), the manual pages and the completion.
#   install_test.sh BUILD-DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

failed=0 passed=0
expect() {  # expect DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

share=$prefix/share
for f in bin/tandrel bin/tandrel-cli share/man/man1/tandrel.1.gz share/man/man1/tandrel-cli.1.gz \
         share/icons/hicolor/scalable/apps/tandrel.svg share/bash-completion/completions/tandrel-cli; do
    expect "$f installed" test -s "$prefix/$f"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/tandrel.png
    # The PNG header's width and height fields: bytes 17-24.
    expect "${size}x${size} icon" test "$(od -An -tx1 -j16 -N8 "$png" 2>/dev/null | tr -d ' \n')" = \
        "$(printf '%08x%08x' "$size" "$size")"
done

desktop=$share/applications/com.velmora.Tandrel.desktop
expect "desktop-file-validate" desktop-file-validate --no-hints "$desktop"
for key in 'Name=Tandrel' 'Exec=tandrel %F' 'Icon=tandrel' 'Categories=AudioVideo;Audio;Utility;' \
           'MimeType=audio/mpeg;audio/x-mpegurl;text/plain;'; do
    expect "desktop entry has $key" grep -qxF "$key" "$desktop"
done
for key in 'Name\[ru\]' 'Comment' 'Comment\[ru\]'; do
    expect "desktop entry has $key" grep -qE "^$key=[^[:space:]]" "$desktop"
done
expect "appstreamcli validate" appstreamcli validate --no-net --explain \
    "$share/metainfo/com.velmora.Tandrel.metainfo.xml"
expect "manual page unpacks" sh -c "gzip -dc '$share/man/man1/tandrel-cli.1.gz' | grep -q '^.SH EXIT STATUS'"
expect "installed tandrel-cli answers --help" sh -c "'$prefix/bin/tandrel-cli' --help | grep -q '^  tag '"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
