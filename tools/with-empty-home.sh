#!/usr/bin/env bash
# Runs a command with HOME and the XDG folders inside FOLDER, made empty first, and fails when
# anything was written there: the tests keep what they write in temporary folders of their
# own, never in a user's home. Usage: tools/with-empty-home.sh FOLDER COMMAND [ARGS...]
set -uo pipefail
home="$1"
shift
rm -rf "$home" && mkdir -p "$home" || exit 1
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state" "$@"
status=$?
written="$(find "$home" -mindepth 1 | head -n 20)"
if [ -n "$written" ]; then
  echo "Written into the home folder given to the tests ($home):" >&2
  echo "$written" >&2
  exit 1
fi
exit $status
