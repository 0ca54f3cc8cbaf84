#!/usr/bin/env bash
# Builds the package, unpacks it with dpkg-deb -x, checks where its files
# are, and runs the unpacked vo3112ccc offscreen with AUTO and a pipe against
# the unpacked vo3112sim; one request through the unpacked vo3112pipe must
# come back from the running cycle. The program folder is made read-only as
# an installation for all users is, so the settings come from the user's
# configuration folder, seeded from the Modbus.ini beside the program.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
sim_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  wait 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/vo3112ccc_*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
grep -q libqt6serialport6 <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks the Qt serial port library"

# Every file where the menu, man and the PATH look for it.
lib=$root/usr/lib/vo3112ccc
for f in usr/share/applications/vo3112ccc.desktop usr/share/icons/hicolor/scalable/apps/vo3112ccc.svg \
  usr/share/metainfo/vo3112ccc.metainfo.xml usr/share/doc/vo3112ccc/copyright \
  usr/share/man/man1/vo3112ccc.1.gz usr/share/man/man1/vo3112ctl.1.gz usr/share/man/man1/vo3112sim.1.gz usr/share/man/man1/vo3112pipe.1.gz \
  usr/lib/vo3112ccc/FuncCode.cfg usr/lib/vo3112ccc/ModIO_NX.cfg usr/lib/vo3112ccc/ModIO_QA.cfg; do
  [ -s "$root/$f" ] || fail "missing $f"
done
ls "$lib"/Pdf/NUV/*.pdf >/dev/null || fail "no data sheets beside the program"
for p in vo3112ccc vo3112ctl vo3112sim vo3112pipe; do
  [ "$(readlink "$root/usr/bin/$p")" = "../lib/vo3112ccc/$p" ] || fail "usr/bin/$p is not a link to the program folder"
  [ -x "$root/usr/bin/$p" ] || fail "usr/bin/$p does not lead to a program"
done
grep -q '^Exec=vo3112ccc$' "$root/usr/share/applications/vo3112ccc.desktop" || fail "desktop entry"

# --help and --version answer without a display.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vo3112ccc" --help) || fail "--help"
grep -q "AUTO" <<<"$help" || fail "--help does not list AUTO"
[ "$(env -u DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vo3112ccc" --version)" = "vo3112ccc $version" ] || fail "--version"
# Whole outputs first: grep -q leaving early would break the pipe under pipefail.
help=$("$root/usr/bin/vo3112pipe" --help) && grep -q "usage: vo3112pipe" <<<"$help" || fail "vo3112pipe --help"
help=$("$root/usr/bin/vo3112sim" --help) && grep -q "Usage: vo3112sim" <<<"$help" || fail "vo3112sim --help"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vo3112ctl" --help) &&
  grep -q "Usage: vo3112ctl" <<<"$help" || fail "vo3112ctl --help"

"$root/usr/bin/vo3112sim" --tcp 127.0.0.1:0 --no-stdin >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  grep -q "listening on" "$work/sim.out" && break
  sleep 0.1
done
port=$(sed -n 's/.*listening on tcp 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/sim.out")
[ -n "$port" ] || { cat "$work/sim.out"; fail "simulator did not start"; }

# The site's settings beside the program; the folder then read-only.
printf '[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=%s\n' "$port" >"$lib/Modbus.ini"
# vo3112ctl through its link in /usr/bin finds that file beside the program.
identity=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work" "$root/usr/bin/vo3112ctl" --json identify) ||
  fail "vo3112ctl identify"
grep -q '"manufacturer"' <<<"$identity" || fail "vo3112ctl identify gave $identity"
config=$work/config
mkdir -p "$config" "$work/cwd"
run_program() {
  if [ "$(id -u)" -ne 0 ]; then
    chmod a-w "$lib"
    exec "$@"
  fi
  # Root writes through permissions; a read-only bind mount in a namespace of
  # its own stops root as well.
  exec unshare -rm bash -c 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"' \
    "$lib" "$@"
}
read_only=yes
if [ "$(id -u)" -eq 0 ] && ! unshare -rm true 2>/dev/null; then
  read_only=no
  echo "note: root without namespaces: the program folder stays writable, the settings stay beside it"
  run_program() { exec "$@"; }
fi
pipe=SERVERpkg$$
(cd "$work/cwd" && XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=offscreen \
  run_program "$root/usr/bin/vo3112ccc" AUTO "$pipe") >"$work/program.out" 2>&1 &
program_pid=$!

# The automatic start opens the link, reads the configuration and starts the
# cycle; poll the pipe until the cycle answers (flag 0x08).
answer=
for _ in $(seq 150); do
  kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.out"; fail "vo3112ccc ended"; }
  if answer=$("$root/usr/bin/vo3112pipe" "$pipe" --machine --timeout 1000 2>/dev/null); then
    flags=$(sed -n 's/^flags=0x//p' <<<"$answer")
    (( (16#${flags:-0} & 0x08) != 0 )) && break
  fi
  answer=
  sleep 0.2
done
[ -n "$answer" ] || { cat "$work/program.out"; fail "no pipe response from a running cycle"; }
echo "$answer"
flags=$(sed -n 's/^flags=0x//p' <<<"$answer")
(( (16#$flags & 0x0A) == 0x0A )) || fail "flags 0x$flags: TCP link and process data expected"

if [ "$read_only" = yes ]; then
  grep -q "EthPort=$port" "$config/vo3112ccc/Modbus.ini" 2>/dev/null ||
    fail "the settings were not taken into the user's configuration folder"
fi
echo "ok: unpacked package ran the cycle and answered its pipe (program folder read-only: $read_only)"
