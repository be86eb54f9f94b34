#!/usr/bin/env bash
# Plays the bundled demo with the real binary, real X windows and real input, start to finish:
#   play_demo.sh PLAYER DEMO_DIR OUTPUT_DIR
# Needs an X display with no window manager yet (with_xvfb.sh gives one); starts openbox itself.
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 PLAYER DEMO_DIR OUTPUT_DIR" >&2
    exit 2
fi
PLAYER=$(realpath "$1")
DEMO=$(realpath "$2")
OUT=$(realpath -m "$3")
WAIT_LIMIT=${E2E_WAIT_LIMIT:-60}
# A loaded machine may need longer for the first window of a debug build.
START_LIMIT=${E2E_START_LIMIT:-120}
# Where the player starts: the demo's folder, as the desktop entry starts it. Started elsewhere, the demo is
# reached through the first entry of the file dialog's side bar.
START_DIR=$(realpath "${E2E_START_DIR:-$DEMO}")

: "${DISPLAY:?needs an X display}"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export LC_ALL=C.UTF-8

for tool in openbox xdotool xwininfo xprop import convert compare identify; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done
[ -x "$PLAYER" ] || { echo "no player at $PLAYER" >&2; exit 2; }
[ -f "$DEMO/Przygoda.Kro" ] || { echo "no demo at $DEMO" >&2; exit 2; }

mkdir -p "$OUT"
rm -f "$OUT"/*.png "$OUT"/player.log
WORK=$(mktemp -d)
PLAYER_PID=
WM_PID=

log() { echo "[$(date +%T.%3N)] $*"; }

cleanup() {
    for pid in $PLAYER_PID $WM_PID; do
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null
            for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null
        fi
    done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap "exit 1" INT TERM

# X tools never get to hang the test.
x() { timeout 30 "$@"; }

list_windows() {
    echo "--- visible windows:"
    for w in $(x xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  $w '$(x xdotool getwindowname "$w" 2>/dev/null)'"
    done
    echo "--- active window: $(x xdotool getactivewindow 2>/dev/null || echo none)"
}

fail() {
    log "FAIL: $*"
    list_windows
    if x import -window root "$OUT/failure.png" 2>/dev/null; then
        echo "screenshot: $OUT/failure.png"
    fi
    if [ -s "$OUT/player.log" ]; then
        echo "--- player output:"
        cat "$OUT/player.log"
    fi
    exit 1
}

# wait_for LIMIT DESCRIPTION COMMAND...: polls COMMAND until it succeeds, fails the test after LIMIT seconds.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    while ! "$@"; do
        player_alive || fail "the player died while waiting for: $what"
        [ $SECONDS -lt $deadline ] || fail "not within ${limit}s: $what"
        sleep 0.1
    done
}

player_alive() {
    [ -z "$PLAYER_PID" ] && return 0
    [ -d "/proc/$PLAYER_PID" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$PLAYER_PID/status" 2>/dev/null
}

# The one visible window whose title is exactly TITLE, printed; fails when there is none.
visible_window() {
    local ids
    ids=$(x xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || return 1
    [ "$(echo "$ids" | wc -l)" -eq 1 ] || return 1
    echo "$ids"
}
shown() { visible_window "$1" >/dev/null; }
not_shown() { ! x xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

map_state() { x xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: *//p'; }
is_mapped() { [ "$(map_state "$1")" = IsViewable ]; }
is_unmapped() { [ "$(map_state "$1")" = IsUnMapped ]; }

# "X Y W H" of the window's client area on the screen.
client_geometry() {
    x xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        END { if (w != "") print x, y, w, h; else exit 1 }'
}

# Succeeds once the window has kept its place and size over two polls: the program re-centres a window
# after the window manager framed it, and a click must not land on the old place.
geometry_settled() {
    local now
    now=$(client_geometry "$1") || return 1
    if [ "$now" = "${SETTLE_LAST:-}" ]; then
        return 0
    fi
    SETTLE_LAST=$now
    sleep 0.2
    return 1
}
wait_settled() {
    SETTLE_LAST=
    wait_for "$WAIT_LIMIT" "window $1 ($2) to settle" geometry_settled "$1"
}

# Succeeds once two captures of the window in a row are the same picture: it has been painted.
content_settled() {
    local now
    now=$(x import -window "$1" rgb:- 2>/dev/null | md5sum) || return 1
    if [ "$now" = "${CONTENT_LAST:-}" ]; then
        return 0
    fi
    CONTENT_LAST=$now
    sleep 0.2
    return 1
}

# screenshot WINDOW NAME: the whole screen, once WINDOW is painted.
screenshot() {
    CONTENT_LAST=
    wait_for "$WAIT_LIMIT" "window $1 to be painted" content_settled "$1"
    x import -window root "$OUT/$2.png" || fail "cannot save $OUT/$2.png"
    SHOTS+=("$OUT/$2.png")
}

is_active() { [ "$(x xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
activate() {
    is_active "$1" && return 0
    x xdotool windowactivate "$1" >/dev/null 2>&1
    sleep 0.1
    is_active "$1"
}
# Keys go to the focused window: make sure it is the one meant.
press() {
    local window=$1
    shift
    wait_for "$WAIT_LIMIT" "window $window to be active" activate "$window"
    x xdotool key --clearmodifiers "$@" || fail "xdotool key $*"
}

# click WINDOW LEFT TOP WIDTH HEIGHT: the middle of a control given in client pixels.
click() {
    local window=$1 left=$2 top=$3 width=$4 height=$5 geometry
    wait_settled "$window" "before a click"
    geometry=$(client_geometry "$window") || fail "no geometry for window $window"
    set -- $geometry
    x xdotool mousemove $(($1 + left + width / 2)) $(($2 + top + height / 2)) click 1 ||
        fail "xdotool click"
}

# Succeeds when the game window's 128 x 128 picture area shows Obrazki/NAME where the game places it:
# centred, an odd size drawn one pixel smaller, a large picture cut at the edges.
PICTURE_LEFT=288
PICTURE_TOP=24
shows_picture() {
    local window=$1 name=$2 w h dw dh left top sx sy vx vy vw vh error
    read -r w h < <(identify -format '%w %h\n' "$DEMO/Obrazki/$name" 2>/dev/null) || return 1
    dw=$((w / 2 * 2)) dh=$((h / 2 * 2))
    left=$((64 - w / 2)) top=$((64 - h / 2))
    sx=$((left < 0 ? -left : 0)) sy=$((top < 0 ? -top : 0))
    vx=$((left > 0 ? left : 0)) vy=$((top > 0 ? top : 0))
    vw=$((dw - sx < 128 - vx ? dw - sx : 128 - vx)) vh=$((dh - sy < 128 - vy ? dh - sy : 128 - vy))
    convert "$DEMO/Obrazki/$name" -sample "${dw}x${dh}!" -crop "${vw}x${vh}+${sx}+${sy}" +repage \
        "$WORK/expected.png" 2>/dev/null || return 1
    x import -window "$window" -crop "${vw}x${vh}+$((PICTURE_LEFT + vx))+$((PICTURE_TOP + vy))" +repage \
        "$WORK/actual.png" 2>/dev/null || return 1
    # Normalised root-mean-square difference; nearest-neighbour rounding on odd sizes stays well below it.
    error=$(compare -metric RMSE "$WORK/expected.png" "$WORK/actual.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    [ -n "$error" ] && awk -v e="$error" 'BEGIN { exit !(e < 0.01) }'
}

# Succeeds when the picture area is one plain colour: the step has no picture to show.
shows_no_picture() {
    local colours
    colours=$(x import -window "$1" -crop "128x128+$PICTURE_LEFT+$PICTURE_TOP" +repage -format '%k' info: \
        2>/dev/null) || return 1
    [ "$colours" = 1 ]
}

# choose WINDOW K PICTURE: click choice button K and wait for the step that shows PICTURE.
choose() {
    local window=$1 k=$2 picture=$3
    log "choice $k, expecting $picture"
    not_shown przygoda || fail "a message box is in the way of choice $k"
    click "$window" 16 $((180 + (k - 1) * 32)) 33 29
    wait_for "$WAIT_LIMIT" "the step with $picture after choice $k" shows_picture "$window" "$picture"
}

# dismiss_box WHAT: the message box that WHAT stands for shows, and Enter closes it.
dismiss_box() {
    local box
    wait_for "$WAIT_LIMIT" "the box: $1" shown przygoda
    box=$(visible_window przygoda)
    press "$box" Return
    # Each box is a window of its own: the next one is a new window, not this one shown again.
    wait_for "$WAIT_LIMIT" "the box to close: $1" window_gone "$box"
}
window_gone() { ! x xwininfo -id "$1" >/dev/null 2>&1 || is_unmapped "$1"; }

SHOTS=()

log "window manager"
openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wait_for "$WAIT_LIMIT" "openbox to manage the screen" \
    sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

log "player: $PLAYER in $START_DIR"
(cd "$START_DIR" && exec "$PLAYER") >"$OUT/player.log" 2>&1 &
PLAYER_PID=$!

# The menu.
wait_for "$START_LIMIT" "the menu window" shown Menu
MENU=$(visible_window Menu)
wait_settled "$MENU" Menu
read -r _ _ w h < <(client_geometry "$MENU")
[ "$w x $h" = "260 x 218" ] || fail "menu client area is $w x $h, not 260 x 218"
not_shown Gra || fail "the game window shows at start"
screenshot "$MENU" 01-menu

# Start before choosing a scenario: a message box, and no game.
log "Start without a scenario"
press "$MENU" alt+s
wait_for "$WAIT_LIMIT" "the 'Wybierz Scenariusz' box" shown przygoda
BOX=$(visible_window przygoda)
not_shown Gra || fail "the game started without a scenario"
press "$BOX" Return
wait_for "$WAIT_LIMIT" "the box to close" not_shown przygoda
is_mapped "$MENU" || fail "the menu is gone after the box"
not_shown Gra || fail "the game window shows after the box"

# The file dialog, opened in the demo folder: type the file's name and confirm.
log "choosing the scenario"
click "$MENU" 48 122 161 33
wait_for "$WAIT_LIMIT" "the file dialog" shown Open
DIALOG=$(visible_window Open)
wait_settled "$DIALOG" dialog
if [ "$START_DIR" != "$DEMO" ]; then
    log "the demo through the side bar"
    click "$DIALOG" 16 44 80 14
    # Back to the file name, by its label's mnemonic.
    press "$DIALOG" alt+n
fi
press "$DIALOG" ctrl+a
x xdotool type --delay 30 Przygoda.Kro || fail "xdotool type"
press "$DIALOG" Return
wait_for "$WAIT_LIMIT" "the file dialog to close" not_shown Open
not_shown przygoda || fail "a message box after choosing the scenario"
is_mapped "$MENU" || fail "the menu is gone after the dialog"

# The game, through the steps 1, 2, 3, 5, 9, 2, 4, 8, 9, 10 to the ending 15, with each choice button but
# the last: the picture on screen tells which step came.
log "Start"
press "$MENU" alt+s
wait_for "$WAIT_LIMIT" "the game window" shown Gra
GRA=$(visible_window Gra)
wait_for "$WAIT_LIMIT" "the menu to hide" is_unmapped "$MENU"
wait_settled "$GRA" Gra
read -r _ _ w h < <(client_geometry "$GRA")
[ "$w x $h" = "439 x 318" ] || fail "game client area is $w x $h, not 439 x 318"
wait_for "$WAIT_LIMIT" "step 1 with its picture" shows_picture "$GRA" dom.bmp
screenshot "$GRA" 02-game-step
not_shown przygoda || fail "a message box on step 1"

choose "$GRA" 1 rozstaje.bmp
choose "$GRA" 1 strumien.bmp
choose "$GRA" 1 kladka.bmp
choose "$GRA" 1 mlyn.bmp
choose "$GRA" 3 rozstaje.bmp
choose "$GRA" 2 zagajnik.bmp
# Step 8 names a picture and a sound the demo leaves out: one box for each, in that order.
log "choice 3, expecting the boxes for the missing picture and sound"
not_shown przygoda || fail "a message box is in the way of choice 3"
click "$GRA" 16 244 33 29
dismiss_box "no picture sowa.bmp"
dismiss_box "no sound sowa.wav"
not_shown przygoda || fail "a third box on step 8"
wait_for "$WAIT_LIMIT" "step 8 with no picture" shows_no_picture "$GRA"
choose "$GRA" 1 mlyn.bmp
choose "$GRA" 1 wnetrze.bmp
log "choice 1, expecting the ending"
click "$GRA" 16 180 33 29
wait_for "$WAIT_LIMIT" "the end message" shown przygoda
BOX=$(visible_window przygoda)
wait_settled "$BOX" "end message"
screenshot "$BOX" 03-end-message
press "$BOX" Return
wait_for "$WAIT_LIMIT" "the end message to close" not_shown przygoda
is_mapped "$GRA" || fail "the game window is gone after the end message"
wait_for "$WAIT_LIMIT" "the ending with its picture" shows_picture "$GRA" chleb.bmp

# Back to the menu.
log "Wyjście"
press "$GRA" alt+w
wait_for "$WAIT_LIMIT" "the game window to hide" is_unmapped "$GRA"
wait_for "$WAIT_LIMIT" "the menu again" is_mapped "$MENU"
shown Menu || fail "the menu is not visible by its title"

# The credits, closed with Enter on their default button.
log "Twórcy"
click "$MENU" 0 200 49 17
wait_for "$WAIT_LIMIT" "the credits window" shown "Lista tworcow"
LISTA=$(visible_window "Lista tworcow")
wait_for "$WAIT_LIMIT" "the menu to hide for the credits" is_unmapped "$MENU"
wait_settled "$LISTA" credits
screenshot "$LISTA" 04-credits
press "$LISTA" Return
wait_for "$WAIT_LIMIT" "the credits to close" is_unmapped "$LISTA"
wait_for "$WAIT_LIMIT" "the menu after the credits" is_mapped "$MENU"

# Koniec ends the program, with success.
log "Koniec"
press "$MENU" alt+k
wait_for_exit() {
    local deadline=$((SECONDS + WAIT_LIMIT))
    while player_alive; do
        [ $SECONDS -lt $deadline ] || fail "the player still runs ${WAIT_LIMIT}s after Koniec"
        sleep 0.1
    done
}
wait_for_exit
wait "$PLAYER_PID"
status=$?
PLAYER_PID=
[ "$status" -eq 0 ] || fail "the player exited with $status"

log "passed; screenshots:"
printf '  %s\n' "${SHOTS[@]}"
