#!/usr/bin/env bash
# Starts on a display whose server is busy with a client that comes and goes without end, so
# that connections are reset now and then: every start shows its window, none aborts.
#   x_starts.sh TENARAI X_CHURN ARTIFACT_DIR
set -u
tenarai=$1 churn=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
private_session
title='名前は決まっていません'

launch "$churn"
starts=30 shown=0
for i in $(seq 1 $starts); do
  launch "$tenarai"
  if [ -n "$(main_window $pid "$title")" ]; then
    shown=$((shown + 1))
  else
    wait $pid; echo "start $i: no window (exit $?)"
  fi
  kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
  rm -rf "$XDG_STATE_HOME/tenarai"
done
check "every start shows its window ($shown of $starts)" [ $shown -eq $starts ]
finish
