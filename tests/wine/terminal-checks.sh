#!/bin/bash
# Orvex-Test.exe under Wine in a real terminal (tmux): what only a console
# shows. Each check starts the program in a detached tmux session on a private
# server, types keys and reads the screen, polling it up to a deadline.
# Usage: terminal-checks.sh <wine-run> <Orvex-Test.exe>
set -u
wine_run=$1
program=$2
failures=0
sessions=0
server=

# tmux itself reads and writes UTF-8, whatever the environment says.
T() { LC_ALL=C.UTF-8 tmux -u -L "$server" "$@"; }
trap '[ -n "$server" ] && T kill-server 2>/dev/null' EXIT

screen() { T capture-pane -p -t check; }

# Waits until the screen matches an extended regular expression.
wait_for() {
  local deadline=$((SECONDS + ${2:-30}))
  while [ $SECONDS -lt $deadline ]; do
    screen | grep -Eq -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

fail() {
  echo "FAIL: $1"
  echo "--- screen:"
  screen
  echo "---"
  failures=$((failures + 1))
}

# Starts the program with the given arguments in a new session of 100 x 40;
# the knobs come from TARVISH_REPLY. The line "EXIT=<status>" follows its end.
# Each run has a tmux server of its own.
start() {
  [ -n "$server" ] && T kill-server 2>/dev/null
  sessions=$((sessions + 1))
  server=orvex-wine-$$-$sessions
  T new-session -d -s check -x 100 -y 40 \
    "env -u TARVISH_FAIL TARVISH_REPLY='${TARVISH_REPLY:-}' timeout --foreground 120 '$wine_run' '$program' $*; echo EXIT=\$?; sleep 600"
}

# The text of a screen row (1-based) from a 1-based column on.
cell() { screen | sed -n "${1}p" | cut -c"$2-$(($2 + $3 - 1))"; }
row_of() { screen | grep -n -m1 -- "$1" | cut -d: -f1; }

check_normal_session() {
  TARVISH_REPLY=05=100E00000002,08=3075 start
  wait_for "by 'b'. Example: 123, 7Bh, and 1111011b specify the same number." ||
    { fail "help text at start"; return; }
  screen | head -3 | grep -q '^Press (if not explicitly specified' || fail "help text after the start-up lines"

  T send-keys -t check k
  wait_for 'Temperature: \+26\.85°C$' || fail "k line with the degree sign"

  # Cursor and function keys do nothing; their scan codes are those of H
  # and P, which would set the HPF and read the product identification.
  local before
  before=$(screen)
  T send-keys -t check Up Down Left Right Home End PageUp PageDown F1 F5 F10 F12
  sleep 2
  [ "$(screen)" = "$before" ] || fail "cursor and function keys changed the screen"
  T send-keys -t check v
  wait_for '^Firmware version: 1-05$' || fail "a key after the cursor keys"

  T send-keys -t check U
  wait_for '^Device uptime: .{56}[0-9]+\.[0-9]{2}' || { fail "U display with its rate"; return; }
  local r
  r=$(row_of '^Device uptime: ')
  [ "$(cell $((r - 1)) 1 19)" = "Press 'Esc' to quit" ] || fail "U display's heading"
  [ "$(cell "$r" 16 10)" = "1:00:00.50" ] || fail "uptime at column 16"
  [ "$(cell "$r" 31 15)" = "Diff. to PC/s: " ] || fail "difference label before column 46"
  cell "$r" 46 6 | grep -Eq '^[ -][0-9]\.[0-9]{2}s$' || fail "difference at column 46"
  [ "$(cell "$r" 61 11)" = "Queries/s: " ] || fail "rate label before column 72"
  cell "$r" 72 8 | grep -Eq '^[0-9]+\.[0-9]{2}' || fail "rate at column 72"
  T send-keys -t check a x Escape
  T send-keys -t check o
  wait_for '^ZPB slot number: 00h \(0\)$' || fail "the display ends with Esc"
  [ "$(cell $((r + 1)) 1 24)" = "ZPB slot number: 00h (0)" ] || fail "next output below the display line"
  screen | grep -q 'Ch X' && fail "keys typed into the display ran a command"

  # An edited entry; what follows the number on its line answers the next
  # prompt.
  T send-keys -t check A
  wait_for 'Enter the channel number \(X=0, Y=1\): ?$' || { fail "channel prompt"; return; }
  T send-keys -t check '1 2.7' BSpace 5 Enter
  wait_for '^Enter the channel number \(X=0, Y=1\): 1 2\.5$' || fail "entry echoed and edited"
  T send-keys -t check a
  wait_for 'Ch X: 1\.0000, +Ch Y: 2\.5000$' || fail "the entry's rest answered the next prompt"

  T send-keys -t check Escape
  wait_for '^Program finishedEXIT=0$|^EXIT=0$' 20 || fail "Esc ends the program with status 0"
  screen | grep -q 'Program finished' || fail "closing line"
}

check_esc_at_once() {
  TARVISH_REPLY= start -q
  # Quiet mode shows nothing; the program is up once Wine made its console.
  sleep 3
  T send-keys -t check Escape
  wait_for '^EXIT=0$' 20 || fail "Esc in quiet mode ends the program at once"
}

check_normal_session
check_esc_at_once
T kill-server 2>/dev/null
if [ $failures -ne 0 ]; then
  echo "$failures terminal checks failed"
  exit 1
fi
echo "all terminal checks passed"
