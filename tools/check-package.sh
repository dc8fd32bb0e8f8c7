#!/bin/sh
# Builds the Debian package, installs it with apt as an installer would, tries
# what it installed (the tool, the program's window, the menu entries and the
# metadata), checks it with lintian and removes it again, with sudo when not
# run as root.
set -eu
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
sh tools/package.sh
deb=$(ls build-package/q540_*_amd64.deb)
$sudo apt-get install -y -q "./$deb"

q540-cli --version
q540-cli --help > /dev/null
q540-cli list tests/data/files/program-directory.csv
# The installed program on a virtual screen, until its main window shows: a
# top-level window of class "q540" titled with the program's name.
export MAIN_WINDOW='"Q540 v[0-9.]*": ("q540"'
xvfb-run -a sh -c '
    q540 & program=$!
    for attempt in $(seq 1 150); do
        if xwininfo -root -tree | grep -q "$MAIN_WINDOW"; then
            kill $program
            exit 0
        fi
        sleep 0.2
    done
    kill $program
    echo "the window of the installed q540 did not show" >&2
    exit 1'
desktop-file-validate /usr/share/applications/io.github.q540.q540.desktop \
    /usr/share/applications/io.github.q540.q540demo.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.q540.q540.metainfo.xml
lintian --fail-on error,warning "$deb"

$sudo apt-get remove -y -q q540
if [ -e /usr/bin/q540 ] || [ -e /usr/lib/udev/rules.d/70-q540-cable.rules ]; then
    echo "the package left files behind" >&2
    exit 1
fi
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, installed, tried and removed"
