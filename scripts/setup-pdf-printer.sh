#!/usr/bin/env bash
# Sets up a real print queue that writes PDF files and makes it the default printer, so that
# "打印分配结果" can be tried on a machine without a printer (Debian 12: CUPS and its PDF
# printer driver). Printed pages land as PDF files in ~/PDF of the user who printed.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
queue="PDF"

$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends cups printer-driver-cups-pdf >/dev/null

# lpstat answers with success either way; read what it says, untranslated.
scheduler_running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

# Start the print scheduler: through systemd where it runs, else directly (containers).
if [ -d /run/systemd/system ]; then
  $SUDO systemctl enable --now cups >/dev/null
elif ! scheduler_running; then
  $SUDO /usr/sbin/cupsd
fi
for _ in $(seq 1 50); do
  if scheduler_running; then break; fi
  sleep 0.2
done
if ! scheduler_running; then
  echo "The CUPS scheduler did not start." >&2
  exit 1
fi

# The driver package normally adds the queue itself; add it when it is not there.
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  # awk reads to the end (no early exit): lpinfo must not die of a closed pipe under pipefail.
  model="$(lpinfo -m 2>/dev/null | awk '!found && tolower($0) ~ /cups-pdf/ { print $1; found = 1 }')"
  if [ -z "$model" ]; then
    echo "No PPD of the CUPS PDF printer found (lpinfo -m)." >&2
    exit 1
  fi
  $SUDO lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model"
fi
$SUDO cupsenable "$queue"
$SUDO cupsaccept "$queue"
# Default for the whole machine, and for this user should an older choice of theirs differ.
$SUDO lpadmin -d "$queue"
lpoptions -d "$queue" >/dev/null 2>&1 || true

echo "Default printer: $(lpstat -d)"
echo "Printed pages are written as PDF files to ~/PDF of the user who prints."
