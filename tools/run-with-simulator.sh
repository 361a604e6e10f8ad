#!/usr/bin/env bash
# Starts the controller simulator on a pseudo-terminal and the program connected to it.
# Closing the program stops the simulator. Usage: tools/run-with-simulator.sh [BUILD_DIR]
set -euo pipefail
build="${1:-build}"
dir="$(mktemp -d /tmp/orv-run.XXXXXX)"
export ORV_COMM_PATTERN="$dir/tty%d"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT INT TERM
# A demo firmware image next to the program, so that the firmware page lists one; the
# simulator's loader checks that a run delivers exactly its bytes.
head -c 16384 /dev/urandom > "$dir/demo.bin"
"$build/orv-imgmake" --input "$dir/demo.bin" --output "$build/demo.img" --target 96 --version 161 \
  --date "$(date +%Y-%m-%d)" --name "Demo firmware for TELK50 and TELK100"
# The simulator reads run-time commands on stdin: every line appended to $dir/commands.
: > "$dir/commands"
# shellcheck disable=SC2086  # ORV_SIM_OPTIONS holds several options
"$build/orv-simulator" --port 1 --pattern "$ORV_COMM_PATTERN" --log "$dir/frames.log" \
  --ready-file "$dir/ready" --image "$dir/demo.bin" ${ORV_SIM_OPTIONS:-} < <(tail -n +1 --pid=$$ -f "$dir/commands") &
sim_pid=$!
for _ in $(seq 100); do [ -e "$dir/ready" ] && break; sleep 0.05; done
[ -e "$dir/ready" ] || { echo "the simulator did not start" >&2; exit 1; }
echo "Simulator on $dir/tty0 (COM1); frames logged to $dir/frames.log"
echo "Simulator commands: echo 'engine start' >> $dir/commands  (see the README)"
# The program opens its help document from its working folder, the build folder.
cd "$build" && ./mervolante-lpg
