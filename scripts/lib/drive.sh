# drive ARGUMENTS...: one command of velmora-demo-driver (demo/DemoDriver.cpp)
# on the running Velmora.exe; its output, and its exit status. Source this
# file with driver_exe set and WINEPREFIX exported.
drive() {
  # Output through a file: Wine's services inherit a pipe and keep it open.
  local out status=0
  out=$(mktemp)
  wine "$driver_exe" "$@" >"$out" 2>/dev/null </dev/null || status=$?
  # Wine's console writes CRLF line ends.
  tr -d '\r' <"$out"
  rm -f "$out"
  return $status
}
