# Sourced by the shell tests of the batch command, with the command's path as their first
# argument: cli, a scratch folder to work in that goes when the test ends, and a failure count.
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0

check() {  # check CASE CONDITION...: counts CASE as failed unless CONDITION holds
  local name=$1
  shift
  if "$@"; then
    echo "ok   $name"
  else
    echo "FAIL $name"
    failed=$((failed + 1))
  fi
}
