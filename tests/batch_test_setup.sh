# Sourced by the shell tests of the batch command, with the command's path as their first
# argument: cli, a scratch folder to work in that goes when the test ends, and a failure count.
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
