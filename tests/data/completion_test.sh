#!/usr/bin/env bash
# The bash completion of tandrel-cli, run as bash runs it on a TAB: each case
# is the words typed (the last one being completed) and words the answer must
# hold, or "!word" it must not.
#   completion_test.sh COMPLETION-FILE TANDREL-CLI
set -uo pipefail
source "$1"
cli=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/Music" && touch "$dir/song.mp3"
cd "$dir" || exit 1

failed=0 passed=0
check() {  # check "WORDS..." EXPECTED...
    local -a words
    read -r -a words <<<"$1"
    shift
    [[ $1 == "<empty>" ]] && { words+=(""); shift; }
    COMP_WORDS=("$cli" "${words[@]}")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tandrel_cli
    local reply=" ${COMPREPLY[*]} " want
    for want in "$@"; do
        if [[ $want == !* ]]; then
            [[ $reply != *" ${want#!} "* ]] && continue
        elif [[ $reply == *" $want "* ]]; then
            continue
        fi
        echo "FAIL: tandrel-cli ${words[*]}<TAB> gave [${COMPREPLY[*]}], expected $want"
        failed=$((failed + 1))
        return
    done
    passed=$((passed + 1))
}

check "ta"                       tag "!text" "!tree"
check "" "<empty>"               text rename rename-back number ext tag search find-dir search-listing m3u tree describe copy
check "number"       "<empty>"   add delete-first by-date
check "rename"       "<empty>"   translit artist-title substr "!DIR"
check "rename-back"  "<empty>"   renamed deleted
check "text ToTr"                ToTranslit ToTranslitShort "!FUNCTION"
check "tag update song.mp3 --ti" --title "!--pattern"
check "tag rename song.mp3 --"   --pattern --sources --dry-run "!--title"
check "search rock Music --"     --by-name --inside --no-recursive --help
check "tag update x --tags"  "<empty>"  1 2 both
check "tree Music --mode"  "<empty>"    0 1 2 3 "!4"
check "tree Music --out M"       Music "!song.mp3"
check "tag show so"              song.mp3
check "m3u find list.m3u --dr"   --drives

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
