#!/usr/bin/env bash
# Speaks the waves of one language's sound folder with espeak-ng.
#
#   make-waves.sh LANGUAGE VOICE ITEMS.tsv SOUND_DIR TEXT_DIR WAVE_TEXTS_TOOL
#
# The tool writes what each wave says into TEXT_DIR (a text file is rewritten only when its
# words change) and names the waves; a wave is spoken again only when it is missing or older
# than its text, several at once, and waves no longer named are removed. 16-bit mono PCM.
set -euo pipefail

if [ "${1:-}" = "--speak" ]; then
    # Worker: --speak VOICE SOUND_DIR TEXT_DIR NAME...
    voice=$2 sound=$3 texts=$4
    shift 4
    for name in "$@"; do
        tmp="$sound/.$name.wav.part"
        espeak-ng -b 1 -v "$voice" -s 150 -w "$tmp" -f "$texts/$name.txt"
        mv -f "$tmp" "$sound/$name.wav"
    done
    exit 0
fi

if [ $# -ne 6 ]; then
    echo "usage: $0 LANGUAGE VOICE ITEMS.tsv SOUND_DIR TEXT_DIR WAVE_TEXTS_TOOL" >&2
    exit 2
fi
language=$1 voice=$2 items=$3 sound=$4 texts=$5 tool=$6

command -v espeak-ng >/dev/null || {
    echo "make-waves: espeak-ng is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
}
mkdir -p "$sound" "$texts"
names=$("$tool" --language "$language" --items "$items" --text-dir "$texts")

declare -A named=()
while IFS= read -r name; do
    [ -n "$name" ] && named[$name]=1
done <<<"$names"

# Waves the tables no longer name would only mislead: remove them.
for wav in "$sound"/*.wav; do
    [ -e "$wav" ] || continue
    base=${wav##*/}
    base=${base%.wav}
    [ -n "${named[$base]:-}" ] || rm -f -- "$wav"
done

todo=()
while IFS= read -r name; do
    [ -n "$name" ] || continue
    if [ ! "$sound/$name.wav" -nt "$texts/$name.txt" ]; then
        todo+=("$name")
    fi
done <<<"$names"

if [ ${#todo[@]} -gt 0 ]; then
    jobs=$(nproc 2>/dev/null || echo 2)
    printf '%s\n' "${todo[@]}" |
        xargs -r -P "$jobs" -n 16 "$0" --speak "$voice" "$sound" "$texts"
fi
echo "make-waves: $language: ${#todo[@]} of $(wc -l <<<"$names") waves spoken"
