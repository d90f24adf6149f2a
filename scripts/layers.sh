#!/usr/bin/env bash
# Checks that Varnel's folders depend on each other in one direction only. scripts/test.sh runs
# it before the builds; by hand: bash scripts/layers.sh (from the project's root, or give the
# root as the argument).
#
# The floors, from the ground up (a folder may include headers of its own floor's folder and of
# the floors below it, never of a floor above or of another folder on its own floor):
#   1 src/common
#   2 src/settings (if present), then src/archive and src/output
#   3 src/fee, src/sentence, src/casefund, src/interest (if present)
#   4 src/app
# The archive is a service: no file in src/archive includes a widget, a message box or the
# application object. Prints each include that breaks a rule; exits 1 if any does.
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2
[ -d src ] || { echo "run from the project's root (no src/ here)"; exit 2; }

floor() {
    case "$1" in
        common) echo 1 ;;
        settings) echo 2 ;;
        archive | output) echo 3 ;;
        fee | sentence | casefund | interest) echo 4 ;;
        app) echo 5 ;;
        *) echo 0 ;;
    esac
}

bad=0
while IFS= read -r file; do
    from=$(echo "$file" | cut -d/ -f2)
    f=$(floor "$from")
    [ "$f" -gt 0 ] || continue
    while IFS= read -r inc; do
        to=$(echo "$inc" | sed -E 's/.*#include *"([^/"]+)\/.*/\1/')
        [ "$to" = "$inc" ] && continue
        t=$(floor "$to")
        [ "$t" -gt 0 ] || continue
        [ "$to" = "$from" ] && continue
        if [ "$t" -ge "$f" ]; then
            echo "$file: $inc ($from may not use $to)"
            bad=1
        fi
    done < <(grep -E '^[[:space:]]*#include *"[^/"]+/' "$file")
done < <(find src -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

if [ -d src/archive ]; then
    widgets=$(grep -lE '#include *<(QWidget|QMessageBox|QApplication|QDialog|QMainWindow|QTableWidget|QLabel|QPushButton|QLineEdit)>' src/archive/* 2>/dev/null)
    if [ -n "$widgets" ]; then
        echo "src/archive holds widgets (the archive is a service the windows call):"
        echo "$widgets" | sed 's/^/  /'
        bad=1
    fi
fi

if [ "$bad" -eq 0 ]; then
    echo "layers: every include points down"
fi
exit "$bad"
