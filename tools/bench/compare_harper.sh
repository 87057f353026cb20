#!/bin/sh
# compare_harper.sh [PROGRAM_DIR]: times proofread against the open-source
# checker Harper (npm package "harper.js") on the licence texts Debian
# installs, each as a whole process, and prints the medians and their ratio.
#
# PROGRAM_DIR is the program/ folder of an optimised build (default
# build/release/program).  harper.js is installed into a temporary folder with
# npm, which must be present; the folder is removed afterwards.  This is not
# part of the build or the tests.
set -eu

PROGRAM_DIR=${1:-build/release/program}
RUNS=${RUNS:-5}
PROOFREAD="$PROGRAM_DIR/proofread"

if ! command -v npm >/dev/null 2>&1 || ! command -v node >/dev/null 2>&1; then
  echo "compare_harper: npm and node are needed; nothing compared" >&2
  exit 0
fi
if [ ! -x "$PROOFREAD" ]; then
  echo "compare_harper: no $PROOFREAD (build the release preset first)" >&2
  exit 2
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM

echo "installing harper.js into $WORK ..." >&2
(cd "$WORK" && npm init -y >/dev/null 2>&1 && npm install --no-audit --no-fund --silent harper.js >/dev/null 2>&1) || {
  echo "compare_harper: npm could not install harper.js" >&2
  exit 2
}

# Lints every file named on the command line, one text per file, and prints
# the number of lints; the whole process is what is timed.
cat > "$WORK/lint.mjs" <<'JS'
import { readFileSync } from 'node:fs';
import { LocalLinter } from 'harper.js';
import { binary } from 'harper.js/binary';
const linter = new LocalLinter({ binary });
await linter.setup();
let lints = 0;
for (const file of process.argv.slice(2)) {
  const found = await linter.lint(readFileSync(file, 'utf8'));
  lints += found.length;
}
console.log(lints);
JS

FILES=$(find /usr/share/common-licenses -maxdepth 1 -type f | sort)
SHORT="$WORK/short.txt"
printf 'We could of gone there in a hour.\n' > "$SHORT"

now() { date +%s%N; }

# median_ms COMMAND...: runs the command RUNS times, prints the median wall time in ms.
median_ms() {
  times=""
  i=0
  while [ "$i" -lt "$RUNS" ]; do
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    end=$(now)
    times="$times $(( (end - start) / 1000000 ))"
    i=$((i + 1))
  done
  echo $times | tr ' ' '\n' | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

echo "proofread lints: $("$PROOFREAD" --lang en-US $FILES | wc -l)"
echo "harper lints:    $(cd "$WORK" && node lint.mjs $FILES)"

P_ALL=$(median_ms "$PROOFREAD" --lang en-US $FILES)
H_ALL=$(cd "$WORK" && median_ms node lint.mjs $FILES)
P_ONE=$(median_ms "$PROOFREAD" --lang en-US "$SHORT")
H_ONE=$(cd "$WORK" && median_ms node lint.mjs "$SHORT")

echo "licence texts, median of $RUNS: proofread ${P_ALL} ms, harper.js ${H_ALL} ms"
echo "one sentence (start-up), median of $RUNS: proofread ${P_ONE} ms, harper.js ${H_ONE} ms"
awk -v p="$P_ALL" -v h="$H_ALL" 'BEGIN { if (p > 0) printf "harper.js / proofread on the licence texts: %.1f\n", h / p }'
