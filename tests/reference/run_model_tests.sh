#!/usr/bin/env bash
# The reference model's own tests (worked values, mpmath), then a check that
# the checked-in tables are what the model writes today.  Needs Debian's
# python3 with mpmath and pytest; exits 77 (skipped) where they are missing.
#   run_model_tests.sh PYTHON
set -euo pipefail
python="${1:-python3}"
export PYTHONDONTWRITEBYTECODE=1
here="$(cd "$(dirname "$0")" && pwd)"
if ! "$python" -c 'import mpmath, pytest' 2>/dev/null; then
    echo "skipped: $python lacks mpmath or pytest (apt-get install python3-mpmath python3-pytest)"
    exit 77
fi
cd "$here"
"$python" -m pytest -q -p no:cacheprovider test_model.py
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$python" generate.py "$out"
if ! diff -r -q tables "$out"; then
    echo "the tables differ from what generate.py writes: rerun it and review the change" >&2
    exit 1
fi
echo "tables are current"
