# Private Wine prefix + X display for running Vuka6.exe and its tests on Linux.
# Source this file for the wine_env_* functions below. A prefix in DIR is of
# one KIND: tests (the default: the Japanese faces mapped, windows unmanaged
# for an Xvfb without a window manager), desktop (the same faces, windows left
# to a real desktop's window manager: tools/run.sh) or plain (as wineboot
# makes it: tests/plain_prefix.sh). Everything is logged to DIR/wine-env.log.

# Wine reads command lines, and so the window titles the scripts give poke,
# through the character set of the Unix locale. Where none is set (a minimal
# root, cron, env -i) that is ASCII, and a Japanese title arrives mangled, so
# no window matches it. C.UTF-8 is one the C library always has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    unset LC_ALL LC_CTYPE
    export LANG=C.UTF-8
fi

# Bumping this redoes the set-up of existing prefixes (their stamp no longer matches).
_WINE_ENV_STAMP_VERSION="vuka6-wine-env 3"

_wine_env_log() {
    printf '%s %s\n' "$(date '+%H:%M:%S')" "$*" >>"$_WINE_ENV_LOG"
}

# The loader and the server themselves (NAME, else COMMAND on the PATH), not
# Debian's scripts: its "wine" insists on 32-bit Wine, not installed here.
_wine_env_find() {
    local c
    for c in "/usr/lib/wine/$1" "/usr/lib/x86_64-linux-gnu/wine/$1" "$(command -v "$2")"; do
        [ -x "$c" ] && { printf '%s\n' "$c"; return 0; }
    done
    echo "wine-env: $1 not found" >&2
    return 1
}

# REG_MULTI_SZ in a .reg file is hex(7): UTF-16LE bytes, each string NUL-ended,
# plus a final NUL.
_wine_env_multi_sz_hex() {
    printf '%s\0\0' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 |
        tr -s ' \n' ',,' | sed 's/^,//; s/,$//'
}

# The .reg file must be UTF-16LE with a BOM: with the C locale, regedit would
# mangle the full-width Japanese face names of an 8-bit file.
# Managed=N: with no window manager under Xvfb, Wine draws caption and frame.
# On a desktop it would put the window out of the window manager's care
# (override-redirect: no taskbar entry, no Alt+Tab, always on top).
# No AeDebug debugger: Wine's default (winedbg --auto) prints a backtrace but
# then ends the crashed program with exit code 0, so a crashing test would
# pass (or wait behind a crash dialog). Without it the program exits with the
# exception code (0xC0000005 shows up as 5) after Wine's one-line report.
_wine_env_write_reg() {
    local kind=$2 link
    link=$(_wine_env_multi_sz_hex "ipagp.ttf,IPAPGothic")
    {
        printf '\xef\xbb\xbf'
        printf 'Windows Registry Editor Version 5.00\n\n'
        [ "$kind" = plain ] || cat <<EOF
[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):$link
"MS Sans Serif"=hex(7):$link
"Microsoft Sans Serif"=hex(7):$link
"MS Shell Dlg"=hex(7):$link

EOF
        [ "$kind" = desktop ] || cat <<EOF
[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

EOF
        cat <<EOF
[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]
"Debugger"=""

EOF
    } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$1"
}

# Creates (or re-creates) the prefix unless its stamp says it is complete.
# The stamp is written last, so an interrupted set-up is simply done again;
# a half-made prefix may hold a broken system.reg, and starting over is
# cheaper than finding out which part is missing. Wine's long-lived programs
# get the lock's descriptor closed (see _wine_env_locked).
_wine_env_prefix() {
    local stamp="$WINEPREFIX/.vuka6-ready" reg="$_WINE_ENV_DIR/wine-env.reg" start=$SECONDS
    local ready="$_WINE_ENV_STAMP_VERSION $_WINE_ENV_KIND" fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ "$(cat "$stamp" 2>/dev/null)" = "$ready" ] && return 0

    _wine_env_log "setting up prefix $WINEPREFIX"
    [ ! -e "$WINEPREFIX" ] || "$_WINE_ENV_SERVER" -k
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i || { _wine_env_log "wineboot failed"; return 1; }
    "$_WINE_ENV_SERVER" -w
    _wine_env_write_reg "$reg" "$_WINE_ENV_KIND"
    "$WINE" regedit /S "$reg" || { _wine_env_log "regedit failed"; return 1; }
    # regedit returns before the server has flushed the hives; the next Wine
    # process must see the settings, so wait for the server to go away.
    "$_WINE_ENV_SERVER" -w

    if [ "$_WINE_ENV_KIND" != plain ]; then
        # This Wine build does not pick up its own Marlett from its data folder, and
        # without it the caption's close box is drawn as a plain letter "r".
        cp /usr/share/wine/fonts/marlett.ttf /usr/lib/x86_64-linux-gnu/wine/fonts/marlett.ttf "$fonts"
        # Wine normally finds the IPA faces through fontconfig; if that ever fails,
        # copies in the prefix's Fonts folder are always searched.
        fc-list | grep -q IPAPGothic || cp -v /usr/share/fonts/opentype/ipafont-gothic/ipag*.ttf "$fonts"
    fi

    printf '%s\n' "$ready" >"$stamp"
    _wine_env_log "$_WINE_ENV_KIND prefix ready in $((SECONDS - start)) s"
} >>"$_WINE_ENV_LOG" 2>&1 </dev/null {_WINE_ENV_LOCK}>&-

# Xvfb picks a free display itself, and writes its number to the -displayfd
# descriptor once it takes connections. The subshell that becomes Xvfb tells
# its PID first. Started in the background of a process substitution that
# ends at once, Xvfb belongs to init, not to the caller, whose "wait" would
# otherwise wait for it.
_wine_env_xvfb() {
    local fd pid n
    exec {fd}< <( (echo "$BASHPID" >&3; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp) \
        3>&1 </dev/null >>"$_WINE_ENV_LOG" 2>&1 {_WINE_ENV_LOCK}>&- &)
    read -r -t 10 -u "$fd" pid && read -r -t 10 -u "$fd" n
    exec {fd}<&-
    if [ -z "$n" ]; then
        kill "$pid" 2>/dev/null
        _wine_env_log "Xvfb gave no display within 10 s"
        return 1
    fi
    echo "$pid $n" >"$_WINE_ENV_DIR/wine-env.xvfb"
    export DISPLAY=":$n"
    _wine_env_log "Xvfb :$n started (pid $pid)"
}

# Checking the name guards against a recycled PID.
_wine_env_is_xvfb() {
    [ -n "$1" ] && [ "$(cat "/proc/$1/comm" 2>/dev/null)" = Xvfb ] && _wine_env_alive "$1"
}

# kill -0 is not enough: our Xvfb is re-parented to init, and a dead one may
# linger as a zombie until init reaps it.
_wine_env_alive() {
    grep -q '^State:[[:space:]]*[^Z]' "/proc/$1/status" 2>/dev/null
}
# Runs a command while holding DIR's lock. Long-lived programs started under
# the lock (Xvfb, the wineserver and Wine's services) are given the lock's
# descriptor closed ({_WINE_ENV_LOCK}>&-): had they inherited it, a caller
# killed mid-way would leave DIR locked for as long as they run.
_wine_env_locked() {
    local _WINE_ENV_LOCK rc=1
    exec {_WINE_ENV_LOCK}>"$_WINE_ENV_DIR/wine-env.lock"
    if flock -x -w 300 "$_WINE_ENV_LOCK"; then
        "$@"
        rc=$?
        flock -u "$_WINE_ENV_LOCK"
    else
        echo "wine-env: $_WINE_ENV_DIR/wine-env.lock stayed locked for 5 minutes" >&2
    fi
    exec {_WINE_ENV_LOCK}>&-
    return $rc
}

# Several runs may use one DIR at once (ctest -j with wine-run.sh): they share
# its Xvfb and wineserver, and the last one to leave stops them. Each user is
# a file named after its shell's PID, so a user that died without stopping
# does not keep the environment alive forever.
_wine_env_join() {
    local pid n
    mkdir -p "$_WINE_ENV_DIR/wine-env.users" && : >"$_WINE_ENV_DIR/wine-env.users/$BASHPID" || return 1

    # Wine can draw off-screen without X, but cannot create a window.
    if [ -z "$DISPLAY" ] || [ "$VUKA6_XVFB" = 1 ]; then
        { read -r pid n <"$_WINE_ENV_DIR/wine-env.xvfb"; } 2>/dev/null
        if _wine_env_is_xvfb "$pid"; then
            export DISPLAY=":$n"
        else
            _wine_env_xvfb || { echo "wine-env: could not start Xvfb (see $_WINE_ENV_LOG)" >&2; return 1; }
        fi
    fi

    _wine_env_prefix || { echo "wine-env: prefix set-up failed (see $_WINE_ENV_LOG)" >&2; return 1; }
}

_wine_env_leave() {
    local users="$_WINE_ENV_DIR/wine-env.users" f pid n _
    rm -f "$users/$BASHPID"
    for f in "$users"/*; do
        [ -e "$f" ] && ! _wine_env_alive "${f##*/}" && rm -f "$f"
    done
    if [ -n "$(ls -A "$users" 2>/dev/null)" ]; then
        _wine_env_log "leaving; others still use this environment"
        return 0
    fi

    _wine_env_log "last user gone; stopping"
    # Ends the Wine processes and the server of this prefix only; other
    # prefixes have their own servers.
    "$_WINE_ENV_SERVER" -k >>"$_WINE_ENV_LOG" 2>&1

    { read -r pid n <"$_WINE_ENV_DIR/wine-env.xvfb"; } 2>/dev/null
    rm -f "$_WINE_ENV_DIR/wine-env.xvfb"
    _wine_env_is_xvfb "$pid" || return 0
    kill "$pid" 2>/dev/null
    for _ in {1..40}; do _wine_env_alive "$pid" || break; sleep 0.05; done
    _wine_env_alive "$pid" && kill -9 "$pid" 2>/dev/null
    _wine_env_log "Xvfb :$n (pid $pid) stopped"
}

# A prefix of KIND (tests by default) in DIR/wineprefix and a display, with
# the WINE* variables exported.
wine_env_start() {
    local dir=${1:?usage: wine_env_start DIR [tests|desktop|plain]} kind=${2:-tests}
    [[ $kind =~ ^(tests|desktop|plain)$ ]] || { echo "wine-env: unknown prefix kind $kind" >&2; return 1; }
    mkdir -p "$dir" && dir=$(cd "$dir" && pwd) || return 1

    # A second start for the same folder keeps what is running; for another
    # folder, the old prefix's processes must not outlive their environment.
    [ -z "$_WINE_ENV_DIR" ] || [ "$_WINE_ENV_DIR" = "$dir" ] || wine_env_stop
    if [ -z "$_WINE_ENV_DIR" ]; then
        # Remember the caller's environment so wine_env_stop can give it back.
        # "declare -x" would make the restored variables local to wine_env_stop.
        _WINE_ENV_SAVED=$(export -p | grep -E '^declare -x (DISPLAY|WINEPREFIX|WINEDEBUG|WINEDLLOVERRIDES|WINEARCH|WINE)=' |
            sed 's/^declare -x /export /')
    fi
    _WINE_ENV_DIR=$dir
    _WINE_ENV_KIND=$kind
    _WINE_ENV_LOG=$dir/wine-env.log

    export WINE WINEPREFIX="$dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d" WINEARCH=win64
    WINE=$(_wine_env_find wine64 wine64) && _WINE_ENV_SERVER=$(_wine_env_find wineserver64 wineserver) &&
        _wine_env_locked _wine_env_join
}

# For a script that runs programs: in the environment its caller started
# (tools/test.sh starts one for the whole run), or else in one of its own in
# DIR, which ends with the script however it ends; a script with an EXIT
# trap of its own calls wine_env_stop from it.
wine_env_use() {
    if [ -n "$WINEPREFIX" ] && [ -f "$WINEPREFIX/.vuka6-ready" ]; then
        _WINE_ENV_LOG=${WINEPREFIX%/*}/wine-env.log
        [ -n "$WINE" ] || WINE=$(_wine_env_find wine64 wine64)
        return
    fi
    trap wine_env_stop EXIT
    wine_env_start "$@"
}

# The display scale for the programs started from now on in this prefix:
# LogPixels where winecfg writes it and where the desktop settings keep it.
wine_env_set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        "$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "${1:?usage: wine_env_set_dpi DPI}" /f \
            >>"$_WINE_ENV_LOG" 2>&1 </dev/null || return 1
    done
    # Newer Wine (10) keeps the monitors' scale for the whole session of its
    # server, which reads it when the session starts: a program started in the
    # same session would draw its windows at the old scale while the screen's
    # device context reports the new one. So the session ends here (nothing of
    # the prefix may still run) and the next program starts a fresh one.
    "$_WINE_ENV_SERVER" -w >>"$_WINE_ENV_LOG" 2>&1
}

# Runs COMMAND, which starts a GoogleTest program, as a test: one that ends
# before its tests do fails even with exit code 0, since GoogleTest removes
# this file only at the end of a whole run.
wine_env_test() {
    local running status
    running=$(mktemp -u "${TMPDIR:-/tmp}/vuka6-running.XXXXXX")
    TEST_PREMATURE_EXIT_FILE=$running "$@"
    status=$?
    [ -e "$running" ] || return $status
    rm -f "$running"
    echo "the test program ended before its tests did" >&2
    return $((status ? status : 1))
}

# The program's stderr goes to the log, and with it what Wine says about the
# program: its errors (a window that no driver could create, a crash), not
# its fixme notes. wine_env_report shows the log's end.
wine_env_launch() {
    WINEDEBUG=fixme-all "$WINE" "$@" 2>>"$_WINE_ENV_LOG" &
}

# Tells on stderr what a failed run left behind: whether its program NAME
# (the caller's background job PID) still runs or how it ended (CODE, for a
# program the caller has waited for), the top-level windows on the display
# (without Wine's hidden 1x1 ones) and the end of the log.
wine_env_report() {
    local name=$1 pid=$2 code=$3 windows id rest
    {
        echo "--- what the failed run left behind"
        if [ -n "$pid" ] && _wine_env_alive "$pid"; then
            echo "$name: still running (pid $pid)"
        elif [ -n "$pid" ]; then
            wait "$pid"
            echo "$name: exited with code $?"
        elif [ -n "$code" ]; then
            echo "$name: exited with code $code"
        else
            echo "$name: not started"
        fi
        echo "top-level windows on display $DISPLAY:"
        windows=$(xwininfo -root -children 2>&1) || echo "    $windows"
        grep '^ *0x' <<<"$windows" | grep -v ' 1x1+' | while read -r id rest; do
            echo "    $id $rest $(xwininfo -id "$id" 2>/dev/null | sed -n 's/^ *Map State: //p')"
        done
        echo "the end of $_WINE_ENV_LOG:"
        tail -n 20 "$_WINE_ENV_LOG" 2>&1 | sed 's/^/    /'
    } >&2
}

# Stops only what wine_env_start started and gives the caller its variables
# back; safe to repeat.
wine_env_stop() {
    [ -n "$_WINE_ENV_DIR" ] || return 0
    WINEPREFIX="$_WINE_ENV_DIR/wineprefix" _wine_env_locked _wine_env_leave

    unset DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH WINE
    eval "$_WINE_ENV_SAVED"
    unset _WINE_ENV_DIR _WINE_ENV_KIND _WINE_ENV_SAVED
}
