#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that are missing, and
# the de_DE.UTF-8 locale the tests run under. Idempotent and quiet when all is there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/brackwell-apt.log 2>&1; then
    "${sudo_cmd[@]}" apt-get update -q >>/tmp/brackwell-apt.log 2>&1
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >>/tmp/brackwell-apt.log 2>&1 ||
      { tail -n 30 /tmp/brackwell-apt.log; echo "deps: apt-get failed (log in /tmp/brackwell-apt.log)"; exit 1; }
  fi
fi

# German locale: number formatting must not depend on it, and tests prove that under de_DE.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null 2>&1 || echo "deps: locale-gen failed; de_DE tests will be skipped"
  fi
fi
