#!/usr/bin/env bash
# A private CUPS scheduler for the printer tests: its configuration, spool, state and socket all live in
# one folder, and the system's own scheduler (if any) is never touched.
#   cups-fixture.sh start FOLDER   starts `cupsd -f` in the background and adds two queues
#   cups-fixture.sh stop FOLDER    stops it by process id and removes the folder
# The tests reach it with CUPS_SERVER=FOLDER/cups.sock.
set -euo pipefail

action=${1:?usage: cups-fixture.sh start|stop FOLDER}
dir=${2:?usage: cups-fixture.sh start|stop FOLDER}
socket="$dir/cups.sock"

stop() {
    if [[ -f "$dir/cupsd.pid" ]]; then
        pid=$(cat "$dir/cupsd.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
}

if [[ $action == stop ]]; then
    stop
    exit 0
fi

cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
[[ -x $cupsd && -x $lpadmin ]] || { echo "cups-fixture: cupsd and lpadmin are needed (scripts/bootstrap installs them)" >&2; exit 1; }

stop
mkdir -p "$dir"/{spool/tmp,cache,state/certs,log,ppd,ssl}
# cupsd will not run jobs as root: as root it drops to lp, which must be able to write its folders.
if [[ $(id -u) -eq 0 ]]; then
    user_lines=$'User lp\nGroup lp'
    chgrp -R lp "$dir"
    chmod -R g+rwX "$dir"
    chmod 0755 "$dir"
else
    user_lines=""
fi

cat >"$dir/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
DataDir /usr/share/cups
ServerBin /usr/lib/cups
FileDevice Yes
$user_lines
CONF

"$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"

export CUPS_SERVER="$socket"
for _ in $(seq 100); do
    [[ -S $socket ]] && lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
done
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    echo "cups-fixture: the scheduler did not start" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop
    exit 1
fi

trap 'echo "cups-fixture: adding the queues failed" >&2; stop' ERR
# Two queues with the sample PCL driver, printing into /dev/null.
"$lpadmin" -p Quorvel_Office -E -v file:///dev/null -m drv:///sample.drv/generpcl.ppd -L "Second floor"
"$lpadmin" -p "Quorvel_Plans" -E -v file:///dev/null -m drv:///sample.drv/generpcl.ppd
echo "cups-fixture: scheduler $(cat "$dir/cupsd.pid") on $socket"
