#!/usr/bin/env bash
# Renames 100,000 empty files on a tmpfs with Quillet's batch mode and with other ways of doing the same job,
# end to end, one process per run, and prints a table: CPU (user + system) and wall time, min and median of
# the runs, and the median peak resident size. Every run checks its result.
#   scripts/bench-peers.sh [ENTRIES] [RUNS]
# Needs root (or sudo) once, to install the peers: mmv, moreutils (vidir), python3, time.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
entries="${1:-100000}"
runs="${2:-5}"

need=()
for p in mmv moreutils python3 time gcc; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# Quillet in Release, as the other benchmarks build it.
build="$here/build-bench"
if [ ! -x "$build/quillet" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF -DQUILLET_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target quillet >/dev/null
fi
quillet="$build/quillet"

work="$(mktemp -d /dev/shm/quillet-peers-XXXXXX)"
trap 'rm -rf "$work"' EXIT
dir="$work/files"
export QT_QPA_PLATFORM=offscreen
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

# The floor: list, sort case-insensitively, rename each entry with renameat2(RENAME_NOREPLACE).
cat >"$work/bare.c" <<'EOF'
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/syscall.h>
#include <unistd.h>
static int byName(const void* a, const void* b) { return strcasecmp(*(char* const*)a, *(char* const*)b); }
int main(int argc, char** argv)
{
    int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
    DIR* d = fdopendir(dup(fd));
    size_t n = 0, cap = 1024;
    char** names = malloc(cap * sizeof *names);
    for (struct dirent* e; (e = readdir(d));) {
        if (e->d_name[0] == '.')
            continue;
        if (n == cap)
            names = realloc(names, (cap *= 2) * sizeof *names);
        names[n++] = strdup(e->d_name);
    }
    closedir(d);
    qsort(names, n, sizeof *names, byName);
    char to[4096];
    for (size_t i = 0; i < n; ++i) {
        snprintf(to, sizeof to, "Titel_%s", names[i] + 6);
        if (syscall(SYS_renameat2, fd, names[i], fd, to, 1 /* RENAME_NOREPLACE */) != 0)
            return 1;
    }
    return 0;
}
EOF
gcc -O2 -o "$work/bare" "$work/bare.c"

cat >"$work/rename.py" <<'EOF'
import os, sys
d = sys.argv[1]
for name in sorted((n for n in os.listdir(d) if not n.startswith(".")), key=str.casefold):
    os.rename(os.path.join(d, name), os.path.join(d, "Titel_" + name[6:]))
EOF

# vidir opens its list in $EDITOR; this "editor" changes every name in it.
cat >"$work/edit.sh" <<'EOF'
#!/bin/sh
sed -i 's/\ttrack_/\tTitel_/; s/\/track_/\/Titel_/' "$1"
EOF
chmod +x "$work/edit.sh"

make_files() {
  rm -rf "$dir"
  mkdir -p "$dir"
  python3 - "$dir" "$entries" <<'EOF'
import os, sys
d, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    os.close(os.open(os.path.join(d, "track_%07d some title.mp3" % i), os.O_CREAT | os.O_WRONLY, 0o644))
EOF
}

# The names file of the batch mode: one line per entry in the listing's order, without the extension.
python3 - "$work/names.txt" "$entries" <<'EOF'
import sys
with open(sys.argv[1], "w", newline="\r\n") as f:
    f.write("\n".join("Titel_%07d some title" % i for i in range(int(sys.argv[2]))))
EOF

check() {
  local renamed left
  renamed=$(find "$dir" -maxdepth 1 -name 'Titel_*' | wc -l)
  left=$(find "$dir" -maxdepth 1 -name 'track_*' | wc -l)
  if [ "$renamed" -ne "$entries" ] || [ "$left" -ne 0 ]; then
    echo "$1: wrong result ($renamed renamed, $left left)" >&2
    exit 1
  fi
}

declare -A cmds=(
  [bare]="$work/bare $dir"
  [quillet]="$quillet --apply $work/names.txt $dir"
  [python]="/usr/bin/python3 $work/rename.py $dir"
  [mmv]="mmv -r $dir/track_\* Titel_#1"
  [vidir]="env EDITOR=$work/edit.sh vidir $dir"
)
order=(bare quillet python mmv vidir)

stats() {  # min and median of the numbers on stdin
  sort -g | awk '{v[NR]=$1} END {printf "%.0f %.0f", v[1], v[int((NR+1)/2)]}'
}

printf '%s entries on tmpfs, %s runs each; %s, %s cores, %s\n' "$entries" "$runs" "$(uname -sr)" "$(nproc)" "$(date -u +%Y-%m-%d)"
printf '| %-10s | %-17s | %-17s | %-13s | %-12s |\n' "program" "CPU ms min / med" "wall ms min / med" "peak MiB med" "CPU vs bare"
printf '|%s|%s|%s|%s|%s|\n' "------------" "-------------------" "-------------------" "---------------" "--------------"
bare_cpu=""
for tool in "${order[@]}"; do
  cpu=() wall=() peak=()
  for ((r = 0; r < runs; ++r)); do
    make_files
    sync
    out=$( { /usr/bin/time -f '%U %S %e %M' sh -c "${cmds[$tool]} >/dev/null 2>&1"; } 2>&1 | tail -1)
    check "$tool"
    read -r user sys elapsed kib <<<"$out"
    cpu+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print (u + s) * 1000}')")
    wall+=("$(awk -v e="$elapsed" 'BEGIN {print e * 1000}')")
    peak+=("$(awk -v k="$kib" 'BEGIN {print k / 1024}')")
  done
  read -r cmin cmed <<<"$(printf '%s\n' "${cpu[@]}" | stats)"
  read -r wmin wmed <<<"$(printf '%s\n' "${wall[@]}" | stats)"
  pmed=$(printf '%s\n' "${peak[@]}" | sort -g | awk '{v[NR]=$1} END {printf "%.1f", v[int((NR+1)/2)]}')
  [ -z "$bare_cpu" ] && bare_cpu=$cmed
  ratio=$(awk -v c="$cmed" -v b="$bare_cpu" 'BEGIN {printf "%.2f x", c / b}')
  printf '| %-10s | %7s / %-7s | %7s / %-7s | %13s | %12s |\n' "$tool" "$cmin" "$cmed" "$wmin" "$wmed" "$pmed" "$ratio"
done
