#!/usr/bin/env bash
# Makes (or with "remove", deletes) CUPS queues in the states the printing code must handle, for
# trying printing by hand; the test suite does not use them. Needs cups and
# printer-driver-cups-pdf, and the right to administer CUPS (root). The default printer is left
# alone: print to a queue with PRINTER=<prefix>-letter build/bin/varenta ...
#
#   scripts/print-check-queues.sh [PREFIX] [remove]      PREFIX defaults to "check"
#
#   PREFIX-letter    prints into a PDF file (~/PDF), Letter paper by default
#   PREFIX-a4        the same on A4
#   PREFIX-gone      a printer that is not there (a network address nobody answers)
#   PREFIX-stopped   stopped, with a reason
#   PREFIX-reject    not accepting jobs, with a reason
#   PREFIX-held      holds every job until released
set -euo pipefail
prefix=${1:-check}
queues=(letter a4 gone stopped reject held)

if [ "${2:-}" = remove ]; then
    for q in "${queues[@]}"; do
        lpadmin -x "$prefix-$q" 2>/dev/null || true
    done
    exit 0
fi

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || { echo "printer-driver-cups-pdf is not installed" >&2; exit 1; }
lpstat -r >/dev/null 2>&1 || { echo "the CUPS scheduler is not running" >&2; exit 1; }

lpadmin -p "$prefix-letter" -E -v cups-pdf:/ -P "$ppd" -o PageSize=Letter -o media-default=letter
lpadmin -p "$prefix-a4" -E -v cups-pdf:/ -P "$ppd" -o PageSize=A4
# 192.0.2.1 is an address set aside for documentation: nothing answers there.
lpadmin -p "$prefix-gone" -E -v socket://192.0.2.1:9100 -P "$ppd"
lpadmin -p "$prefix-stopped" -E -v cups-pdf:/ -P "$ppd"
cupsdisable -r "Paper jam in tray 2" "$prefix-stopped"
lpadmin -p "$prefix-reject" -E -v cups-pdf:/ -P "$ppd"
cupsreject -r "Out of service until Monday" "$prefix-reject"
lpadmin -p "$prefix-held" -E -v cups-pdf:/ -P "$ppd" -o job-hold-until-default=indefinite
names=("${queues[@]/#/$prefix-}")
lpstat -p "$(IFS=,; echo "${names[*]}")"
