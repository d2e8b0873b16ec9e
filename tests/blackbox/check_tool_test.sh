#!/usr/bin/env bash
# tavecron-check.exe under Wine: its exit statuses, code page 932 cells and
# Japanese texts passed through unchanged, the file's warnings first, the
# programs looked for from its own folder or --folder, the user's language,
# agendas, and the arguments' troubles in its own words.
. "$(dirname "$0")/lib.sh"
rm -rf "$bb_root" && mkdir -p "$bb_root/folder" && cd "$bb_root" || fail "no scratch folder"
check() { wine "${TAVECRON_CHECK_EXE:?}" --lang en "$@" </dev/null >out.txt 2>err.txt; }
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
printf '0 12 * * * System メモ.bat\r\n# comment\r\n' | iconv -f UTF-8 -t CP932 >cron.tab
: >メモ.bat  # Wine shows a UTF-8 Unix name as the code page 932 name
printf '0 0 * 0 * System tavecron-check.exe\r\n' >self.tab
printf '0 12 * * * system x\r\n' >warn.tab

check --next 1 --from '2024-02-28 12:01' --folder . || fail "a clean file gave status $?: $(cat out.txt)"
printf '1: entry: minute=0 hour=12 day=* month=* command=System option="メモ.bat"\r
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
grep -q '^tavecron-check: cannot open missing.tab: there is no such file'$'\r''$' err.txt || fail "missing: $(cat err.txt)"
check --lang ja missing.tab
grep -q "$(cp932 'missing.tab を開けません。そのファイルはありません')" err.txt || fail "missing: $(iconv -f CP932 -t UTF-8 err.txt)"
wine "$TAVECRON_CHECK_EXE" cron.tab </dev/null >/dev/full 2>/dev/null; [ $? = 2 ] || fail "a lost report did not give status 2"
check --from '2023-02-29 00:00' warn.tab; [ $? = 2 ] || fail "a date that does not exist did not give status 2"

check self.tab || fail "a program beside the checker was not found: $(cat out.txt)"
grep -q '^1: note: month: switched off (month 0)'$'\r''$' out.txt || fail "no note: $(cat out.txt)"
check --folder . self.tab; [ $? = 1 ] || fail "--folder . found the program beside the checker: $(cat out.txt)"
grep -q '^1: warning: option: the shell finds no "tavecron-check.exe": not in the folder Z:' out.txt || fail "$(cat out.txt)"
check --folder nowhere self.tab; [ $? = 2 ] || fail "a missing --folder did not give status 2"
grep -q 'tavecron-check: --folder needs an existing folder, not nowhere' err.txt || fail "--folder: $(cat err.txt)"

wine "$TAVECRON_CHECK_EXE" warn.tab </dev/null >out.txt; [ $? = 1 ] || fail "Japanese: warnings did not give status 1"
grep -q "^1: $(cp932 '警告: コマンド: "system" はコマンドではありません')" out.txt || fail "not Japanese: $(cat out.txt)"
LC_ALL=C.UTF-8 wine "$TAVECRON_CHECK_EXE" warn.tab </dev/null >out.txt
grep -q '^1: warning: command: "system" is not a command' out.txt || fail "not English: $(cat out.txt)"

check --lang ja --agenda --from '2024-02-28 12:00' --until '2024-03-01 12:00' --max 1 --folder . cron.tab || fail "agenda: $?"
{ cp932 '2024-02-28 12:00 Wed  1: System メモ.bat'; printf '\r\n'
  cp932 '……ほかに 2024-03-01 12:00 Fri より前の実行が 1 回あります'; printf '\r\n'; } >expected.txt
head -2 out.txt | cmp -s - expected.txt || fail "agenda: $(iconv -f CP932 -t UTF-8 out.txt)"

check --lang; [ $? = 2 ] || fail "--lang without a value did not give status 2"
grep -q '^tavecron-check: --lang needs ja or en'$'\r''$' err.txt || fail "--lang without a value: $(cat err.txt)"
printf '0 22 * * * NoAction\r\n0 5 * * * NoAction\r\n' >night.tab
# Without --until the agenda ends a day on, or where the search ends (line 2
# then runs no more: a warning).
check --agenda --from '9999-12-31 12:00' night.tab; [ $? = 1 ] || fail "an agenda up to the year 10000: $(cat err.txt)"
[ "$(grep '^[0-9][0-9]*-' out.txt)" = '9999-12-31 22:00 Fri  1: NoAction'$'\r' ] || fail "agenda up to the year 10000: $(cat out.txt)"
# A time alone: --from today, --until the first such time after --from.
check --agenda --from 18:00 --until 06:00 night.tab || fail "tonight's agenda gave status $?: $(cat err.txt)"
printf '%s  1: NoAction\r\n%s  2: NoAction\r\n' "$(LC_ALL=C date +'%F 22:00 %a')" \
  "$(LC_ALL=C date -d tomorrow +'%F 05:00 %a')" >expected.txt
head -2 out.txt | cmp -s - expected.txt || fail "tonight's agenda: $(cat out.txt)"
