#!/usr/bin/env bash
# Started without a display and without a list file, Quorvel explains itself and exits with status 2.
set -u
bin=$1
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/quorvel" 2>&1)
status=$?
if [ "$status" -ne 2 ]; then
    echo "expected exit status 2, got $status: $out"
    exit 1
fi
if ! grep -q "needs a display" <<<"$out" || ! grep -q "quorvel /path/to/list.qvl" <<<"$out"; then
    echo "the explanation is missing: $out"
    exit 1
fi
