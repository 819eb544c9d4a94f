#!/usr/bin/env bash
# Drives Quellor.exe under Wine like a user: sets a key with white space around it, then (in a
# second run) the female voice, and tries a key that the command line would run as a command
# of its own. The simulated wsl.exe journals what reaches the distribution. No OTA server runs,
# so the server never answers and the restarting text stays in the status control.
#
#   dialogs_e2e.sh WINE_DIR QUELLOR_EXE DRIVER_EXE SIM_BIN SIM_PY
set -u
wine_dir=$1 exe=$2 driver=$3 sim_bin=$4 sim_py=$5
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../wine/wine-run.sh"
. "$here/../../wine/env.sh" "$wine_dir"

work=$(mktemp -d "${TMPDIR:-/tmp}/quellor-dialogs.XXXXXX")
app_pid=
failures=0

main_caption="Calbrin"
key_caption="设置 Key"
voice_caption="高级设置"
refusal_caption="无效的 Key"
restarting="AI 语音服务器正在重启..."
restart_line='wsl -d ROZivuvarud -u root -e bash -c "docker compose -f /root/tarvino-server/docker-compose.yml restart"'

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The driver's output comes through the Wine console with CRLF line ends.
drive() { "$wine_run" "$wine_dir" "$driver" --timeout 20000 "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

journal() { python3 "$sim_py" journal "$state" | cut -d' ' -f3-; }

# Read as soon as the dialog is gone: the next server check is 3000 ms away then. (On a shared
# machine another test's OTA server may answer on 8003 and bring the running text after it.)
check_restarting() {
    local got
    got=$(drive text "$main_caption" 1007)
    [ "$got" = "$restarting" ] || fail "status is '$got', expected '$restarting'"
}

start_panel() {
    state="$work/$1"
    python3 "$sim_py" init "$state" --running >/dev/null
    (cd "$sim_bin" && QUELLOR_SIM_DIR="$state" exec wine "$exe" </dev/null >"$state.log" 2>&1) &
    app_pid=$!
    # The window shows only once the start-up sequence has run.
    drive wait "$main_caption" >/dev/null || { fail "the main window did not open"; return 1; }
}

stop_panel() {
    drive close "$main_caption" >/dev/null
    for _ in $(seq 1 60); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "the panel did not end"
        kill "$app_pid" 2>/dev/null
    fi
    wait "$app_pid" 2>/dev/null
    app_pid=
}

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The lines the journal gained since it had $1 lines.
since() { journal | tail -n +"$(($1 + 1))"; }
# The same without the polling's queries and the network set-up after a check, which go on
# while a dialog is open.
edits_since() { since "$1" | grep -v -e ' -l -v$' -e 'ip route get' -e '^netsh '; }

# After a dialog's OK: the restarting text, then exactly the edit of KEY to VALUE and the
# restart in the journal since line BEFORE, and the value in config.yaml.
check_edit_and_restart() {
    local what=$1 key=$2 value=$3 before=$4 expected got
    check_restarting
    expected="wsl -d ROZivuvarud -u root -e bash -c \"yq -i '$key = \\\"$value\\\"' /root/tarvino-server/data/.config.yaml\""
    got=$(edits_since "$before")
    [ "$got" = "$expected"$'\n'"$restart_line" ] ||
        fail "$what journal:"$'\n'"$got"$'\n'"expected:"$'\n'"$expected"$'\n'"$restart_line"
    grep -q "${key##*.}: \"$value\"" "$state/config.yaml" || fail "the $what value is not in config.yaml"
}

# --- the key ---------------------------------------------------------------------------------
if start_panel key; then
    drive click "$main_caption" 1000 >/dev/null
    drive wait "$key_caption" >/dev/null || fail "the key dialog did not open"

    # A key that would end the quoted script and run a command of its own: refused.
    before=$(journal | wc -l)
    hostile='abc" & echo owned > C:\owned.txt & "'
    drive type "$key_caption" 1001 "$hostile" >/dev/null
    drive click "$key_caption" 1 >/dev/null
    drive wait "$refusal_caption" >/dev/null || fail "no message box for a hostile key"
    sleep 1
    [ -z "$(edits_since "$before")" ] || fail "a hostile key ran: $(edits_since "$before")"
    drive enter "$refusal_caption" >/dev/null
    drive wait-gone "$refusal_caption" >/dev/null || fail "the message box stayed"
    # The text stays as typed: OK refuses it once more. (An edit's text cannot be read from
    # another process with GetWindowText, so it is judged by its effect.)
    drive click "$key_caption" 1 >/dev/null
    drive wait "$refusal_caption" >/dev/null || fail "the typed key was not left for correction"
    drive enter "$refusal_caption" >/dev/null
    drive wait-gone "$refusal_caption" >/dev/null || fail "the message box stayed"
    [ -z "$(edits_since "$before")" ] || fail "a hostile key ran: $(edits_since "$before")"

    # Blanks, a tab and ideographic spaces around the key are trimmed.
    drive type "$key_caption" 1001 $'\t\u3000 e2e-key.0123_abc \u3000 ' >/dev/null
    drive click "$key_caption" 1 >/dev/null
    drive wait-gone "$key_caption" >/dev/null || fail "the key dialog stayed open"
    check_edit_and_restart "key dialog" .LLM.ChatGLMLLM.api_key e2e-key.0123_abc "$before"
    stop_panel
fi

# --- the female voice ------------------------------------------------------------------------
if start_panel voice; then
    before=$(journal | wc -l)
    # The menu's command, as a pick of "男女声(&T)" sends it.
    drive command "$main_caption" 32774 >/dev/null
    drive wait "$voice_caption" >/dev/null || fail "the voice dialog did not open"
    [ "$(drive checked "$voice_caption" 1013)$(drive checked "$voice_caption" 1014)" = 00 ] ||
        fail "a voice was selected on opening"
    drive click "$voice_caption" 1013 >/dev/null
    drive click "$voice_caption" 1014 >/dev/null
    sleep 0.5
    checks="$(drive checked "$voice_caption" 1013)$(drive checked "$voice_caption" 1014)"
    [ "$checks" = 01 ] || fail "the radio buttons do not exclude each other: $checks"
    drive click "$voice_caption" 1 >/dev/null
    drive wait-gone "$voice_caption" >/dev/null || fail "the voice dialog stayed open"
    check_edit_and_restart "voice dialog" .TTS.EdgeTTS.voice zh-CN-XiaoyiNeural "$before"
    stop_panel
fi

if [ "$failures" -eq 0 ]; then
    echo "dialogs e2e: 2 passed, 0 failed"
    exit 0
fi
echo "dialogs e2e: $failures failures"
exit 1
