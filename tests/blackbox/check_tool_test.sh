#!/usr/bin/env bash
# tavecron-check.exe under Wine: exit status 0, 1 and 2, code page 932 bytes
# of a cell passed through to the output unchanged, the summary's singular
# forms, the file's warnings before the lines and a cell the table gives
# back otherwise counted in the Save, a folder named for the file refused with its reason, the user's
# language (Japanese in code page 932 under this session's Japanese locale,
# English under another) and --lang, the sample schedule checked clean, and
# an agenda.
. "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$bb_root" && mkdir -p "$bb_root/folder" && cd "$bb_root" || fail "no scratch folder"
check() { wine "${TAVECRON_CHECK_EXE:?}" --lang en "$@" </dev/null >out.txt 2>err.txt; }
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
printf '0 12 * * * System メモ.txt\r\n# comment\r\n' | iconv -f UTF-8 -t CP932 >cron.tab
cp "$top/docs/cron.tab" sample.tab
printf '0 12 * * * system x\r\n' >warn.tab

check --next 1 --from '2024-02-28 12:01' || fail "a clean file gave status $?"
printf '1: entry: minute=0 hour=12 day=* month=* command=System option="メモ.txt"\r
1: next: 2024-02-29 12:00 Thu\r
2: skipped: 2 words, fewer than the six of an entry ("#" starts no comment: only the word count skips it)\r
cron.tab: 2 lines, 1 entry, 1 skipped, 0 warnings\r
cron.tab: a Save from TaveCron would drop 1 line and change 0 lines (line ends and trailing blanks aside)\r\n' |
  iconv -f UTF-8 -t CP932 >expected.txt
cmp -s out.txt expected.txt || fail "unexpected output: $(iconv -f CP932 -t UTF-8 out.txt)"

printf '0 * * * * SetWP C:\\写真\\*.jpg\r\n0 8 * * * System caf\351 menu.txt\r\n' >utf8.tab
check --next 0 utf8.tab; [ $? = 1 ] || fail "a UTF-8 file did not give status 1"
head -1 out.txt | grep -q '^utf8.tab: warning: line 1 is UTF-8 text' || fail "file warning not first: $(cat out.txt)"
LC_ALL=C grep -q '^2: warning: option: "caf.* menu.txt" is held in the table as "caf'$'\x81''Emenu.txt" (E9 20 -> 81 45' out.txt &&
  grep -q '^utf8.tab: a Save from TaveCron would drop 0 lines and change 1 line ' out.txt || fail "held: $(cat out.txt)"

check warn.tab; [ $? = 1 ] || fail "warnings did not give status 1"
grep -q '^warn.tab: 1 line, 1 entry, 0 skipped, 1 warning'$'\r''$' out.txt || fail "summary: $(cat out.txt)"
check folder; [ $? = 2 ] || fail "a folder did not give status 2"
grep -q 'cannot read folder: it is a folder, not a file' err.txt || fail "folder: $(cat err.txt)"
check missing.tab; [ $? = 2 ] || fail "a missing file did not give status 2"
wine "$TAVECRON_CHECK_EXE" cron.tab </dev/null >/dev/full 2>/dev/null; [ $? = 2 ] || fail "a lost report did not give status 2"
check --from '2023-02-29 00:00' warn.tab; [ $? = 2 ] || fail "a date that does not exist did not give status 2"
check sample.tab || fail "the sample schedule gave status $?: $(cat out.txt)"
grep -q '^4: note: month: switched off (month 0)'$'\r''$' out.txt || fail "sample: $(cat out.txt)"

wine "$TAVECRON_CHECK_EXE" warn.tab </dev/null >out.txt; [ $? = 1 ] || fail "Japanese: warnings did not give status 1"
grep -q "^1: $(cp932 '警告: コマンド: "system" はコマンドではありません')" out.txt || fail "not Japanese: $(cat out.txt)"
LC_ALL=C.UTF-8 wine "$TAVECRON_CHECK_EXE" warn.tab </dev/null >out.txt
grep -q '^1: warning: command: "system" is not a command' out.txt || fail "not English: $(cat out.txt)"

wine "$TAVECRON_CHECK_EXE" --lang ja --agenda --from '2024-02-28 12:00' --until '2024-03-01 12:00' --max 1 cron.tab \
  </dev/null >out.txt || fail "an agenda gave status $?"
{ cp932 '2024-02-28 12:00 Wed  1: System メモ.txt'; printf '\r\n'
  cp932 '……ほかに 2024-03-01 12:00 Fri より前の実行が 1 回あります'; printf '\r\n'; } >expected.txt
head -2 out.txt | cmp -s - expected.txt || fail "agenda: $(iconv -f CP932 -t UTF-8 out.txt)"
