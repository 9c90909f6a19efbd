# Shared by scripts/run, scripts/test, scripts/bench: paths and the build.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

configure_and_build() { # build_dir [cmake args...]
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j "$JOBS"
}

# A sound server for the audio tests: PulseAudio with a null sink and a null
# source, started only when none answers.
ensure_sound_server() {
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/vantrel-runtime-$(id -u)}"
  mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  if pactl info >/dev/null 2>&1; then return 0; fi
  pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n \
    --load="module-native-protocol-unix" \
    --load="module-null-sink sink_name=vantrel_null rate=44100" \
    --load="module-null-source source_name=vantrel_null_src rate=44100" \
    --log-target=stderr >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if pactl info >/dev/null 2>&1; then
    pactl set-default-sink vantrel_null >/dev/null 2>&1 || true
    pactl set-default-source vantrel_null_src >/dev/null 2>&1 || true
    echo "sound: PulseAudio with null sink and null source"
  else
    echo "sound: no sound server could be started; real-device tests will be skipped"
  fi
}

# An X display for the end-to-end tests and for scripts/run without one.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=99
  while [ -e "/tmp/.X${n}-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "display: Xvfb did not start" >&2
  return 1
}
