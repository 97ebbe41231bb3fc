# shellcheck shell=bash
# Shared by lab-up and lab-down (sourced, not run).
# Namespace names are "<prefix>-<role>"; interface names inside them are
# fixed and short, so any prefix length keeps them under 15 characters.

export PATH=/usr/sbin:/usr/bin:/sbin:/bin:$PATH
# The daemons must not inherit a caller's private folders: Samba serves
# nothing (access denied, or no IPC$) when TMPDIR or XDG_RUNTIME_DIR name a
# test's scratch folder, or one that is gone.
unset TMPDIR XDG_RUNTIME_DIR

LAB_ROLES=(sw gw surv smb wsd isp)

lab_check_prefix() {
  if ! [[ $1 =~ ^[A-Za-z0-9][A-Za-z0-9_.-]{0,31}$ ]]; then
    echo "lab: bad prefix '$1' (letters, digits, _ . -; at most 32)" >&2
    return 1
  fi
}

lab_ns() { echo "$LAB_PREFIX-$1"; }

lab_pids() {
  local role
  for role in "${LAB_ROLES[@]}"; do
    ip netns pids "$(lab_ns "$role")" 2>/dev/null || true
  done
}

# Kills everything living in the lab's namespaces, all at once so the
# daemons stop in parallel. Pid files are not enough: Samba re-parents
# samba-dcerpcd and friends. Gentle first, then KILL after about 1 s.
lab_kill_all() {
  local pids i
  for i in $(seq 1 20); do
    pids=$(lab_pids)
    [ -z "$pids" ] && return 0
    # shellcheck disable=SC2086
    if [ "$i" -le 10 ]; then kill -TERM $pids 2>/dev/null || true
    else kill -KILL $pids 2>/dev/null || true; fi
    sleep 0.1
  done
}

lab_down() {
  local role ns
  lab_kill_all
  for role in "${LAB_ROLES[@]}"; do
    ns=$(lab_ns "$role")
    if [ -e "/run/netns/$ns" ]; then ip netns del "$ns" 2>/dev/null || true; fi
    rm -rf "/etc/netns/$ns"
  done
}
