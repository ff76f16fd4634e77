# Sourced by the tool's process tests: check DESCRIPTION COMMAND... runs the command and counts a failure,
# naming it, when the command fails; the script ends with exit $((failures > 0)).
failures=0
check() {
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}
