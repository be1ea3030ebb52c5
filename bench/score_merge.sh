#!/usr/bin/env bash
# Wall time of the real `dorvik-scores merge` on 10,000 uploads (110,000
# records) into a full world table of 500.   bench/score_merge.sh BUILD_DIR
set -euo pipefail
exe=$1/dorvik-scores
dir=$(mktemp -d /tmp/dorvik-merge-XXXXXX)
trap 'rm -rf "$dir"' EXIT
# Score tables as the game writes them: eleven records scrambled with 0xD3, CR LF, "END".
/usr/bin/python3 - "$dir" <<'PY'
import os, random, sys
dir = sys.argv[1]
random.seed(1)
def pad(v, w): s = str(v); return s + " " * (w - len(s))
def record(score, name):
    line = (pad(score, 5) + "K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=20261208"
            + "?????????? N=" + name)
    return bytes(b ^ 0xD3 for b in line.encode("latin-1"))
def upload(path, n, low, high):
    lines = [record(random.randint(low, high), "Player %d" % n) for _ in range(11)]
    with open(path, "wb") as f: f.write(b"\r\n".join(lines) + b"\r\nEND\r\n")
    os.utime(path, (old, old))  # arrived a while ago
old = __import__("time").time() - 120
os.makedirs(dir + "/seed/incoming"); os.makedirs(dir + "/incoming")
for n in range(50): upload("%s/seed/incoming/%d" % (dir, n), n, 50000, 99999)
for n in range(10000): upload("%s/incoming/20261208-%06d.dvk" % (dir, n), n, 1, 99999)
PY
"$exe" merge "$dir/seed" --today 20261207 --min-age 0 > /dev/null
cp "$dir/seed/Vedov.dvk" "$dir/Vedov.dvk"
sync
start=$(date +%s.%N)
/usr/bin/time -f "cpu: %U s user, %S s system, %e s wall" "$exe" merge "$dir" --today 20261208
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" 'BEGIN { printf "merge of 10000 uploads into a full table: %.3f s\n", e - s }'
