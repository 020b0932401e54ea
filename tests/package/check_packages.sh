#!/bin/sh
# The Debian packages, built from the build folder and checked as a maintainer would: lintian
# (no error, no warning), the desktop entry, the AppStream data, the contents; then installed on
# this machine (the CI machine is thrown away after the run; a developer's machine gets them
# purged again), used, and purged, checking that nothing is left but the agent's system user.
#   check_packages.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
cd "$build"
rm -f quma-console_*.deb quma-agent_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
console=$(ls quma-console_*.deb)
agent=$(ls quma-agent_*.deb)

echo "== lintian"
lintian --fail-on error,warning "$console" "$agent"

echo "== desktop entry and AppStream data"
desktop-file-validate "$source/packaging/quma-console.desktop"
appstreamcli validate --no-net "$source/packaging/net.quma.console.metainfo.xml"

echo "== contents"
want_console="./usr/bin/quma-console ./usr/bin/quma-cli ./usr/bin/quma-sim
./usr/share/applications/quma-console.desktop
./usr/share/icons/hicolor/scalable/apps/quma-console.svg
./usr/share/icons/hicolor/48x48/apps/quma-console.png
./usr/share/icons/hicolor/256x256/apps/quma-console.png
./usr/share/metainfo/net.quma.console.metainfo.xml
./usr/share/man/man1/quma-console.1.gz ./usr/share/man/man1/quma-cli.1.gz
./usr/share/man/man1/quma-sim.1.gz
./usr/share/bash-completion/completions/quma-cli
./usr/share/doc/quma-console/copyright"
want_agent="./usr/bin/quma-agent ./lib/systemd/system/quma-agent.service
./usr/lib/sysusers.d/quma-agent.conf ./etc/quma-agent/agent.json
./usr/share/man/man1/quma-agent.1.gz ./usr/share/snmp/mibs/QUMA-PLANT-MIB.txt
./usr/share/bash-completion/completions/quma-agent
./usr/share/doc/quma-agent/copyright"
dpkg-deb -c "$console" >console.contents
dpkg-deb -c "$agent" >agent.contents
for f in $want_console; do grep -q " $f\$" console.contents || { echo "missing in $console: $f"; exit 1; }; done
for f in $want_agent; do grep -q " $f\$" agent.contents || { echo "missing in $agent: $f"; exit 1; }; done
dpkg-deb -I "$agent" conffiles | grep -qx /etc/quma-agent/agent.json
for page in quma-console quma-cli quma-sim; do
    dpkg-deb --fsys-tarfile "$console" | tar -xO "./usr/share/man/man1/$page.1.gz" | gzip -d |
        man -l - >/dev/null 2>&1
done
ls -l "$console" "$agent"

echo "== installed and used"
apt-get install -y -qq "./$console" "./$agent" >install.log 2>&1 || { cat install.log; exit 1; }
trap 'dpkg --purge quma-console quma-agent >/dev/null 2>&1 || true' EXIT
test "$(quma-cli --version)" = "quma-cli $(dpkg-query -W -f='${Version}' quma-console)"
quma-agent --check /etc/quma-agent/agent.json
id -nG quma-agent | grep -qw dialout
test "$(systemctl is-enabled quma-agent.service 2>/dev/null || true)" != enabled
# The installed unit as systemd reads it, and its exposure as systemd scores it (0 best, 10 worst).
systemd-analyze verify /lib/systemd/system/quma-agent.service
systemd-analyze security --offline=true --threshold=3 /lib/systemd/system/quma-agent.service |
    tail -1
quma-sim --tcp 127.0.0.1:0 --frozen >sim.out 2>&1 &
sim=$!
for i in 1 2 3 4 5 6 7 8 9 10; do grep -q "^TCP: " sim.out && break; sleep 0.5; done
address=$(sed -n 's/^TCP: //p' sim.out)
quma-cli --tcp "$address" --quiet --lang en status | grep -q "AC voltage"
kill $sim
rc=0
QT_QPA_PLATFORM=offscreen timeout 5 quma-console --demo >/dev/null 2>&1 || rc=$?
test $rc -eq 124 # still running after 5 s: it started and stayed up
# The installed completion, called as bash would for a few command lines.
complete_line() { # WORDS... -> what the completion offers for the last word
    bash -c '. /usr/share/bash-completion/bash_completion
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _completion_loader "$1"; complete -p "$1" >/dev/null
             fn=$(complete -p "$1" | sed "s/.*-F \([^ ]*\).*/\1/"); $fn
             echo "${COMPREPLY[*]}"' complete "$@"
}
test "$(complete_line quma-cli --lang '')" = "ko en"
test "$(complete_line quma-cli --tcp host profile '')" = "save diff restore"
complete_line quma-cli --tcp host st | grep -qw status
if ls -d /dev/pts/[0-9]* >/dev/null 2>&1; then
    complete_line quma-cli --serial /dev/pt | grep -q "/dev/pts/[0-9]"
fi
test "$(complete_line quma-cli --tcp host history '')" = "alarm event"
test "$(complete_line quma-cli --tcp host battery test '')" = "start stop"
complete_line quma-agent -- | grep -qw -- --check

echo "== purged"
dpkg --purge quma-console quma-agent >/dev/null
trap - EXIT
for f in /usr/bin/quma-console /usr/bin/quma-cli /usr/bin/quma-agent /etc/quma-agent \
         /lib/systemd/system/quma-agent.service /usr/share/doc/quma-console /var/lib/quma-agent; do
    test ! -e "$f" || { echo "left after purge: $f"; exit 1; }
done
echo "packages: build, lintian, contents, install, use and purge all good"
