#!/bin/sh
# Installs the Debian 12 packages the configurator needs to build, test and run.
# Runs apt-get directly as root, through sudo otherwise.
set -e
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
# qt6-l10n-tools and qt6-tools-dev compile the interface catalogues, qt6-translations-l10n holds
# Qt's own Russian texts; dpkg-dev and file let CPack find the Debian package's dependencies.
PACKAGES="cmake g++ make coinor-libclp-dev libcli11-dev nlohmann-json3-dev libsndfile1-dev qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libgtest-dev libbenchmark-dev libliquid-dev locales clang-format qt6-l10n-tools qt6-tools-dev dpkg-dev file"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -q $missing
fi
# A Russian locale (decimal comma), so that the tests can check that files never follow the
# process locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    $SUDO sed -i 's/^# *\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
