#!/bin/sh
# The program itself against failing disks and hostile files: a save cut by a file size limit
# leaves the old file; links to endless devices and pipes give a message instead of an abort or a
# hang; output to a full device exits with status 1; a second program is refused the DSF another
# one has attached, and the first one's series are all there.
# Usage: durability_cli.sh PLOTANE EXAMPLES_FOLDER
set -u
plotane=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples"/* "$work"/
cd "$work" || exit 1
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
# Runs the program with a time limit; sets rc and err.
run() {
  timeout 60 "$plotane" --batch "$@" >out.txt 2>err.txt
  rc=$?
  err=$(cat err.txt)
}

# 1. A save beyond the file size limit: reported, the old file unchanged, nothing left behind.
cp DEMO.GRD DEMO.GRD.orig
printf 'GWFILELOAD(DEMO);\nGWFILESAVE(DEMO);\nEND;\n' >S.EBT
timeout 60 sh -c "ulimit -f 1; exec \"$plotane\" --batch S" >out.txt 2>err.txt
rc=$?
[ "$rc" = 1 ] || fail "ulimit save: exit $rc, expected 1 ($(cat err.txt))"
cmp -s DEMO.GRD DEMO.GRD.orig || fail "ulimit save: DEMO.GRD changed"
ls -a | grep -q '\.tmp$' && fail "ulimit save: a temporary file was left"

# 2. Links to /dev/zero as a table and as a drawing: a message and status 1, not an abort.
ln -s /dev/zero ZERO.TXT
ln -s /dev/zero ZERO.GRL
printf 'WWFILEREADTXT(ZERO, A);\nEND;\n' >Z.EBT
run Z
[ "$rc" = 1 ] || fail "/dev/zero table: exit $rc, expected 1"
echo "$err" | grep -q "File error" || fail "/dev/zero table: no message ($err)"
printf 'DWFILEOPEN(ZERO);\nEND;\n' >ZG.EBT
run ZG
[ "$rc" = 1 ] || fail "/dev/zero drawing: exit $rc, expected 1"

# 3. A pipe as a table: refused at once, never waited on.
mkfifo PIPE.TXT
printf 'WWFILEREADTXT(PIPE, A);\nEND;\n' >P.EBT
run P
[ "$rc" = 1 ] || fail "pipe table: exit $rc, expected 1 (124 means it hung)"

# 4. The page as PNG to a full device, and printing to one: status 1 and a message.
printf 'DWDRAWLINE;\nEND;\n' >D.EBT
run D --png /dev/full
[ "$rc" = 1 ] || fail "--png /dev/full: exit $rc, expected 1"
echo "$err" | grep -q "cannot write" || fail "--png /dev/full: no message ($err)"
printf 'DWDRAWLINE;\nDWPRINT;\nEND;\n' >PR.EBT
run PR --print-to /dev/full
[ "$rc" = 1 ] || fail "--print-to /dev/full: exit $rc, expected 1"
run PR --print-to OUT.PCL
[ "$rc" = 0 ] && [ -s OUT.PCL ] || fail "--print-to OUT.PCL: exit $rc"

# 5. A script saved with a byte-order mark runs.
printf '\357\273\277WWUSELIMS(0, 40);\nEND;\n' >BOM.EBT
run BOM
[ "$rc" = 0 ] || fail "script with a byte-order mark: exit $rc ($err)"

# 6. Two programs on one DSF. The first stores three series and then prints to a pipe, where it
# waits (holding the DSF) until the pipe is read.
mkfifo HOLD.PCL
cat >W1.EBT <<'END'
WWCREATE(LOCK);
WWUSELIMS(0, 40);
WWFILEREADTXT(DECAY, A);
WWCOLNAME(A, .S1, 'one', '');
WWCOLNAME(B, .S2, 'two', '');
WWCOLNAME(C, .S3, 'three', '');
WWCOLSAVE(A..C);
DWPRINT;
END;
END
timeout 120 "$plotane" --batch W1 --print-to HOLD.PCL >w1.out 2>w1.err &
w1=$!
# Header, root and three series of 41 values (a header and two data records each): 11 records.
i=0
while [ "$(stat -c %s LOCK.DSF 2>/dev/null || echo 0)" != 1408 ] || [ -e LOCK.DSF-journal ]; do
  i=$((i + 1))
  [ $i -gt 600 ] && break
  sleep 0.1
done
cp LOCK.DSF LOCK.before
printf 'WWATTACH(LOCK);\nEND;\n' >W2.EBT
run W2
[ "$rc" = 1 ] || fail "second program: exit $rc, expected 1"
echo "$err" | grep -q "DSF is in use by another program" || fail "second program: no message ($err)"
cmp -s LOCK.DSF LOCK.before || fail "second program: the DSF changed"
cat HOLD.PCL >/dev/null
wait $w1
rc=$?
[ "$rc" = 0 ] || fail "first program: exit $rc ($(cat w1.err))"
printf 'WWATTACH(LOCK);\n@LOAD(A, .S1);\n@LOAD(B, .S2);\n@LOAD(C, .S3);\nEND;\n' >W3.EBT
run W3
[ "$rc" = 0 ] || fail "the first program's series: exit $rc ($err)"

[ $failures = 0 ] && echo "all durability checks passed"
exit $failures
