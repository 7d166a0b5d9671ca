#!/usr/bin/env bash
# Our Foundation beside GNUstep's on the same cases: builds the release preset,
# runs our benchmark programs and GNUstep's in turn for a few rounds (default
# 3; peer-bench.sh ROUNDS) and prints the median real time of each case over
# the rounds, with its spread (lowest-highest), and ours / GNUstep's.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
cmake --preset release >/dev/null
cmake --build --preset release --target bench_HooksBench bench_SettingsBench \
  bench_PropertyListBench gnustep_peer_bench >&2
bin=build/release/bench
[[ -x $bin/bench_GNUstepPeer ]] || { echo "peer-bench: GNUstep base and gobjc++ are needed (scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d "$PWD/build/release/peer-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
# GNUstep keeps its defaults in a folder of its own, on the same disk as ours.
printf 'GNUSTEP_USER_DEFAULTS_DIR=%s/Defaults\n' "$work" >"$work/GNUstep.conf"

cases='^(sendMessage|boolForKey(/0)?/real_time/threads:[12]|synchronize(/1)?|readFile/(binary|xml))$'
for ((round = 1; round <= rounds; round++)); do
  echo "peer-bench: round $round of $rounds" >&2
  for program in HooksBench SettingsBench PropertyListBench; do
    (cd "$work" && "$OLDPWD/$bin/bench_$program" --benchmark_filter="$cases" \
      --benchmark_format=json >"ours-$program-$round.json" 2>/dev/null)
  done
  GNUSTEP_CONFIG_FILE="$work/GNUstep.conf" "$bin/bench_GNUstepPeer" --benchmark_filter="$cases" \
    --benchmark_format=json >"$work/gnustep-$round.json" 2>/dev/null
done

python3 - "$work" <<'END'
import glob, json, statistics, sys
work = sys.argv[1]
# Each case: its name in our programs, its name in GNUstep's, what it shows.
cases = [("sendMessage", "sendMessage", "message send"),
         ("boolForKey/0/real_time/threads:1", "boolForKey/real_time/threads:1", "boolForKey:, 1 thread"),
         ("boolForKey/0/real_time/threads:2", "boolForKey/real_time/threads:2", "boolForKey:, 2 threads"),
         ("synchronize/1", "synchronize", "setBool:forKey: + synchronize, 100 keys"),
         ("readFile/binary", "readFile/binary", "binary property list, 100 keys"),
         ("readFile/xml", "readFile/xml", "XML property list, 100 keys")]
def times(pattern):
    found = {}
    for path in glob.glob(f"{work}/{pattern}"):
        for b in json.load(open(path))["benchmarks"]:
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
            found.setdefault(b["name"], []).append(b["real_time"] * scale)
    return found
def show(ns):
    return f"{ns:.1f} ns" if ns < 1e3 else f"{ns / 1e3:.1f} us" if ns < 1e6 else f"{ns / 1e6:.2f} ms"
def cell(values):
    return f"{show(statistics.median(values))} ({show(min(values))}-{show(max(values))})"
ours, peer = times("ours-*.json"), times("gnustep-*.json")
print("| case | ours | GNUstep | ours / GNUstep |\n|---|---|---|---|")
for mine, theirs, title in cases:
    a, b = ours.get(mine), peer.get(theirs)
    if a and b:
        print(f"| {title} | {cell(a)} | {cell(b)} | {statistics.median(a) / statistics.median(b):.2f} |")
    else:
        print(f"| {title} | {cell(a) if a else '-'} | {cell(b) if b else '-'} | - |")
END
