#include "schedule/check/check_messages.h"

#include <cstring>

// English and Japanese side by side. The Japanese names the parts of an entry
// as the program's columns do (月, 日, 時, 分, コマンド, オプション) and calls an
// entry 項目, as the guide does.
const std::array<MessageForms, static_cast<std::size_t>(Message::COUNT_)> check_messages = {{
    {Message::FIELD_MINUTE, "minute", "分"},
    {Message::FIELD_HOUR, "hour", "時"},
    {Message::FIELD_DAY, "day", "日"},
    {Message::FIELD_MONTH, "month", "月"},
    {Message::FIELD_WEEKDAY, "weekday", "曜日"},
    {Message::FIELD_COMMAND, "command", "コマンド"},
    {Message::FIELD_OPTION, "option", "オプション"},
    {Message::FIELD_LINE, "line", "行"},
    {Message::FIELD_MINUTES, "minutes", "分"},
    {Message::FIELD_HOURS, "hours", "時"},
    {Message::FIELD_DAYS, "days", "日"},
    {Message::FIELD_MONTHS, "months", "月"},

    {Message::SKIPPED_BLANK, "skipped: blank line", "読み飛ばし: 空行"},
    {Message::SKIPPED_ONE_WORD, "skipped: {1} word, fewer than the six of an entry",
     "読み飛ばし: {1} 語で、項目に要る 6 語に足りません"},
    {Message::SKIPPED_WORDS, "skipped: {1} words, fewer than the six of an entry",
     "読み飛ばし: {1} 語で、項目に要る 6 語に足りません"},
    {Message::SKIPPED_HASH, " (\"#\" starts no comment: only the word count skips it)",
     "（\"#\" はコメントになりません。読み飛ばされるのは語の数のためです）"},
    {Message::ENTRY, "entry: minute={1} hour={2} day={3} month={4} command={5} option=\"{6}\"",
     "項目: 分={1} 時={2} 日={3} 月={4} コマンド={5} オプション=\"{6}\""},
    {Message::WARNING, "warning: {1}: {2}", "警告: {1}: {2}"},
    {Message::NOTE, "note: {1}: {2}", "注記: {1}: {2}"},
    {Message::NEXT, "next: {1}", "次回: {1}"},
    {Message::NEXT_RUNS_NOTHING, "next (runs nothing): {1}", "次回（何も実行しません）: {1}"},
    {Message::NEXT_NEVER, "never {1}", "{1}の実行なし"},
    {Message::NEXT_THEN_NONE, ", then none {1}", "、そのあと{1}の実行なし"},
    {Message::HORIZON_YEARS, "within {1} years", "{1} 年以内"},
    {Message::HORIZON_10000, "before the year {1}", "{1} 年より前"},

    {Message::LONG_LINE, "the line is {1} characters long: the program reads its first {2} and drops the rest",
     "行の長さが {1} 文字あります。プログラムは最初の {2} 文字を読み、残りを捨てます"},
    {Message::LONG_FIELD, "the field is {1} bytes long: the program keeps its first {2}",
     "欄の長さが {1} バイトあります。プログラムが残すのは最初の {2} バイトです"},
    {Message::SKIPPED_BEFORE, "{1} before {2} is skipped: the field matches {3}",
     "{2} の前の {1} は読み飛ばされます（この欄に合うもの: {3}）"},
    {Message::BACKWARD_ONE, "{1} runs backward and adds nothing: the field matches {2}",
     "{1} は逆向きの範囲で、何も加えません（この欄に合うもの: {2}）"},
    {Message::BACKWARD_MANY, "{1} and {2} more ranges run backward and add nothing: the field matches {3}",
     "{1} とほか {2} 個の範囲は逆向きで、何も加えません（この欄に合うもの: {3}）"},
    {Message::IGNORED_AFTER_STAR, "{1} after \"*\" is ignored (there are no steps): the field matches {2}",
     "\"*\" のあとの {1} は無視されます（刻みの書き方はありません）（この欄に合うもの: {2}）"},
    {Message::IGNORED_NUMBER,
     "{1} is ignored (a number of 64 or more, or a hyphen with no number after it, ends the pattern): the field "
     "matches {2}",
     "{1} は無視されます（64 以上の数や、数の続かないハイフンで読み取りが終わります）（この欄に合うもの: {2}）"},
    {Message::IGNORED_AFTER_ITEM,
     "{1} after {2} is ignored (an item not followed by a comma ends the list): the field matches {3}",
     "{2} のあとの {1} は無視されます（コンマの続かない値で並びが終わります）（この欄に合うもの: {3}）"},
    {Message::NEVER_OCCURS, "{1} can never occur: {2} are {3}-{4}", "{1} になることはありません（{2}は {3}-{4}）"},
    {Message::MATCHES_NO, "{1} matches no {2}", "{1} に合う{2}はありません"},
    {Message::SO_NEVER_RUNS, ", so the entry never runs", "。このため項目は実行されません"},
    {Message::FIELD_MATCHES_NONE, "no {1}", "{1}なし"},
    {Message::FIELD_MATCHES_EVERY, "every {1} ({2})", "すべての{1} ({2})"},
    {Message::FIELD_MATCHES, "{1} {2}", "{1} {2}"},
    {Message::WEEKDAY_IGNORED, "{1} is ignored: the program matches every weekday and saves \"*\"",
     "{1} は使われません。プログラムはどの曜日にも合わせ、保存すると \"*\" になります"},
    {Message::COMMAND_CASE,
     "{1} is not a command (names compare case-sensitively): did you mean {2}? The entry runs nothing",
     "{1} はコマンドではありません（名前は大文字と小文字を区別します）。{2} のことですか？ この項目は何も実行しません"},
    {Message::COMMAND_UNKNOWN, "{1} is not a command ({2}): the entry runs nothing",
     "{1} はコマンドではありません（{2}）。この項目は何も実行しません"},
    {Message::COMMAND_USER_FIELD,
     "{1} is not a command ({2}): the sixth word is read as the command, so a user name (the sixth field of a "
     "system crontab) has no place here; the entry runs nothing",
     "{1} はコマンドではありません（{2}）。6 語目がコマンドとして読まれるので、システムの crontab "
     "のようなユーザー名の欄は書けません。この項目は何も実行しません"},
    {Message::NEVER_MEET, "day {1} and month {2} never meet (no such date): the entry never runs",
     "日 {1} と月 {2} は重なりません（そのような日付はありません）。この項目は実行されません"},
    {Message::NO_RUN_YET,
     "no run {1}: the next date and time that day {2}, month {3} and the time fields admit come later",
     "{1}の実行はありません。日 {2}、月 {3} と時刻の欄に合う次の日時はもっと先です"},
    {Message::HASH_LINE, "\"#\" does not comment out a line: TaveCron reads this one as an entry that {1}",
     "\"#\" で行はコメントになりません。TaveCron はこの行を項目として読みます（{1}）"},
    {Message::HASH_NEVER_RUNS, "never runs", "実行されることはありません"},
    {Message::HASH_NOT_YET, "does not run {1}", "{1}には実行されません"},
    {Message::HASH_RUNS, "runs, next at {1}", "次の実行は {1}"},
    {Message::HASH_RUNS_NOTHING, "is due next at {1} but runs nothing ({2} is not a command)",
     "次は {1} ですが、何も実行しません（{2} はコマンドではありません）"},
    {Message::AT_WORD, "{1} is not a schedule TaveCron knows: {2}", "{1} は TaveCron の知らない書き方です。{2}"},
    {Message::AT_WORD_WRITE, "{1} is not a schedule TaveCron knows: {2}; write \"{3}\" instead",
     "{1} は TaveCron の知らない書き方です。{2}。代わりに \"{3}\" と書いてください"},
    {Message::AT_WEEKLY,
     "{1} is not a schedule TaveCron knows: {2}, and no entry runs weekly (the program matches every weekday)",
     "{1} は TaveCron "
     "の知らない書き方です。{2}。週に一度実行する項目は書けません（プログラムはどの曜日にも合わせます）"},
    {Message::AT_REBOOT,
     "{1} is not a schedule TaveCron knows: {2}, and no entry runs at start-up; to start something when you sign "
     "in, put a shortcut to it in the Startup folder (Win+R, shell:startup)",
     "{1} は TaveCron "
     "の知らない書き方です。{2}"
     "。起動時に実行する項目は書けません。サインイン時に起動したいものは、そのショートカットをスタートアップフォルダ（W"
     "in+R で shell:startup）に置いてください"},
    {Message::NAME_VALUE, "{1} sets a variable, but TaveCron keeps no variables: {2}",
     "{1} は変数の設定ですが、TaveCron は変数を持ちません。{2}"},
    {Message::ADDS_NO_ROW, "the line adds no row", "表には行が加わりません"},
    {Message::ROW_NEVER_RUNS, "its row never runs", "表に加わる行は実行されません"},
    {Message::MONTH_ZERO, "switched off (month {1})", "停止中（月 {1}）"},

    {Message::FILE_WARNING, "warning: {1}", "警告: {1}"},
    {Message::BOM_UTF8,
     "the file starts with a UTF-8 byte-order mark: TaveCron reads its three bytes as text at the start of line "
     "1; save the file as ANSI (Shift-JIS) text",
     "ファイルの先頭に UTF-8 の BOM があります。TaveCron はその 3 バイトを 1 "
     "行目の先頭の文字として読みます。ファイルを ANSI（シフト JIS）で保存してください"},
    {Message::BOM_UTF16,
     "the file starts with a UTF-16 byte-order mark: TaveCron reads 8-bit text only; save the file as ANSI "
     "(Shift-JIS) text",
     "ファイルの先頭に UTF-16 の BOM があります。TaveCron が読めるのは 8 ビットの文字だけです。ファイルを ANSI（シフト "
     "JIS）で保存してください"},
    {Message::UTF8_TEXT,
     "line {1} is UTF-8 text (saved without a byte-order mark): TaveCron reads the file as Shift-JIS, so its "
     "characters reach the program as other ones; save the file as ANSI (in Notepad: Save As, Encoding ANSI)",
     "{1} 行目は UTF-8 の文字です（BOM なしで保存されています）。TaveCron はファイルをシフト JIS "
     "として読むので、別の文字になります。ファイルを ANSI "
     "で保存してください（メモ帳では「名前を付けて保存」で文字コードに ANSI を選びます）"},
    {Message::NUL_ONE_LINE,
     "{1} line holds NUL bytes (the first: line {2}): TaveCron reads a line only up to its first NUL byte "
     "(UTF-16 text has one in every ASCII character)",
     "{1} 行に NUL バイトがあります（最初は {2} 行目）。TaveCron は行を最初の NUL バイトまでしか読みません（UTF-16 "
     "の文字には ASCII の文字ごとに一つあります）"},
    {Message::NUL_LINES,
     "{1} lines hold NUL bytes (the first: line {2}): TaveCron reads a line only up to its first NUL byte "
     "(UTF-16 text has one in every ASCII character)",
     "{1} 行に NUL バイトがあります（最初は {2} 行目）。TaveCron は行を最初の NUL バイトまでしか読みません（UTF-16 "
     "の文字には ASCII の文字ごとに一つあります）"},
    {Message::FILE_EMPTY, "the file is empty: TaveCron would load {1} rows",
     "ファイルが空です。TaveCron が読み込む行は {1} 行です"},
    {Message::NO_ENTRY, "no line is an entry: TaveCron would load {1} rows",
     "項目になる行がありません。TaveCron が読み込む行は {1} 行です"},
    {Message::COUNT_LINE, "{1} line", "{1} 行"},
    {Message::COUNT_LINES, "{1} lines", "{1} 行"},
    {Message::COUNT_ENTRY, "{1} entry", "項目 {1}"},
    {Message::COUNT_ENTRIES, "{1} entries", "項目 {1}"},
    {Message::COUNT_WARNING, "{1} warning", "警告 {1}"},
    {Message::COUNT_WARNINGS, "{1} warnings", "警告 {1}"},
    {Message::SUMMARY, "{1}, {2}, {3} skipped, {4}", "{1}、{2}、読み飛ばし {3}、{4}"},
    {Message::SUMMARY_NO_ROWS, ": TaveCron would load {1} rows", "。TaveCron が読み込む行は {1} 行です"},
    {Message::SAVE_EFFECT, "a Save from TaveCron would drop {1} and change {2} (line ends and trailing blanks aside)",
     "TaveCron で保存すると、消える行は {1}、変わる行は {2}です（行末と末尾の空白は除きます）"},

    {Message::AGENDA_RUNS_NOTHING, " (runs nothing)", "（何も実行しません）"},
    {Message::AGENDA_NONE, "no run from {1} up to {2}", "{1} から {2} までの実行はありません"},
    {Message::AGENDA_MORE_ONE, "... and {1} more run before {2}", "……ほかに {2} より前の実行が {1} 回あります"},
    {Message::AGENDA_MORE, "... and {1} more runs before {2}", "……ほかに {2} より前の実行が {1} 回あります"},

    {Message::USAGE,
     "usage: tavecron-check [--next N] [--from T] [--lang ja|en] [--folder D] [crontab-file]\n"
     "       tavecron-check --agenda [--from T] [--until T] [--max N] [--lang ja|en] [--folder D] [crontab-file]\n"
     "  Explains each line of the crontab file as TaveCron reads it. The default file is\n"
     "  cron.tab in the current folder (TaveCron itself loads the one beside tavecron.exe).\n"
     "  --next N   show the next N run times of each entry (0 to {1}, default 3)\n"
     "  --from T   look for runs from local time T on, \"YYYY-MM-DD HH:MM\" or \"HH:MM\" (today)\n"
     "             (default: the next minute)\n"
     "  --agenda   list every run of every entry from --from up to --until, in time order\n"
     "  --until T  the end of the agenda, not included, \"YYYY-MM-DD HH:MM\" or \"HH:MM\" (the first\n"
     "             after --from) (default: 24 hours after --from, or the end of the year 9999)\n"
     "  --max N    list at most N runs (1 to {2}, default {3})\n"
     "  --lang L   answer in Japanese (ja) or English (en); default: the user's language\n"
     "  --folder D look for programs and pictures from folder D (default: this program's folder)\n"
     "  --version  print the version\n"
     "  Exit status: 0 no warning, 1 warnings, 2 bad arguments, unreadable file or lost report.\n",
     "使い方: tavecron-check [--next N] [--from T] [--lang ja|en] [--folder D] [crontab-file]\n"
     "        tavecron-check --agenda [--from T] [--until T] [--max N] [--lang ja|en] [--folder D] [crontab-file]\n"
     "  crontab ファイルの各行を、TaveCron と同じように読んで説明します。既定のファイルは\n"
     "  カレントフォルダの cron.tab です（TaveCron 自身は tavecron.exe と同じフォルダのものを読みます）。\n"
     "  --next N   各項目の次の実行時刻を N 個表示します（0 から {1}、既定は 3）\n"
     "  --from T   ローカル時刻 T から実行を探します。\"YYYY-MM-DD HH:MM\" か \"HH:MM\"（今日）\n"
     "             （既定は次の分）\n"
     "  --agenda   --from から --until までのすべての項目の実行を時刻順に並べます\n"
     "  --until T  予定表の終わり（その時刻は含みません）。\"YYYY-MM-DD HH:MM\" か \"HH:MM\"\n"
     "             （--from の後の最初のその時刻）（既定は --from の 24 時間後か、9999 年の終わり）\n"
     "  --max N    表示する実行を N 個までにします（1 から {2}、既定は {3}）\n"
     "  --lang L   日本語（ja）か英語（en）で答えます（既定はユーザーの言語）\n"
     "  --folder D フォルダ D からプログラムと画像を探します（既定はこのプログラムのフォルダ）\n"
     "  --version  バージョンを表示します\n"
     "  終了コード: 0 警告なし、1 警告あり、2 引数の誤り・ファイルを読めない・結果を書き出せない\n"},
    {Message::NEEDS_NUMBER, "{1} needs a number", "{1} には数が必要です"},
    {Message::NEXT_RANGE, "--next needs a number from 0 to {1}, not {2}",
     "--next には 0 から {1} までの数を指定してください（{2} ではなく）"},
    {Message::MAX_RANGE, "--max needs a number from 1 to {1}, not {2}",
     "--max には 1 から {1} までの数を指定してください（{2} ではなく）"},
    {Message::NEEDS_TIME, "{1} needs a time", "{1} には時刻が必要です"},
    {Message::FROM_BAD,
     "--from needs a real local time as \"YYYY-MM-DD HH:MM\" (years 1601-9999) or \"HH:MM\" (today), not {1}",
     "--from には実在するローカル時刻を \"YYYY-MM-DD HH:MM\"（1601-9999 年）か "
     "\"HH:MM\"（今日）で指定してください（{1} ではなく）"},
    {Message::UNTIL_BAD,
     "--until needs a real local time as \"YYYY-MM-DD HH:MM\" (years 1601-9999) or \"HH:MM\" (the first after --from), "
     "not {1}",
     "--until には実在するローカル時刻を \"YYYY-MM-DD HH:MM\"（1601-9999 年）か \"HH:MM\"（--from "
     "の後の最初のその時刻）で指定してください（{1} ではなく）"},
    {Message::UNTIL_ORDER, "--until needs a time after --from and not after {1}, not {2}",
     "--until には --from より後で、{1} までの時刻を指定してください（{2} ではなく）"},
    {Message::NEEDS_LANGUAGE, "--lang needs ja or en", "--lang には ja か en を指定してください"},
    {Message::LANGUAGE_BAD, "--lang needs ja or en, not {1}",
     "--lang には ja か en を指定してください（{1} ではなく）"},
    {Message::UNKNOWN_OPTION, "unknown option {1}", "知らないオプションです: {1}"},
    {Message::TWO_FILES, "more than one crontab file: {1}", "crontab ファイルが二つ以上あります: {1}"},
    {Message::OPTION_WITHOUT_AGENDA, "{1} belongs to --agenda", "{1} は --agenda と一緒に使います"},
    {Message::CLOCK_UNREADABLE, "the local time cannot be read", "ローカル時刻を読めません"},
    {Message::IS_FOLDER, "cannot read {1}: it is a folder, not a file",
     "{1} を読めません。ファイルではなくフォルダです"},
    {Message::CANNOT_OPEN, "cannot open {1} (system error {2})", "{1} を開けません（システムのエラー {2}）"},
    {Message::CANNOT_READ, "cannot read {1} (system error {2})", "{1} を読めません（システムのエラー {2}）"},
    {Message::OUT_OF_MEMORY, "out of memory", "メモリが足りません"},
    {Message::CANNOT_WRITE, "cannot write the report", "結果を書き出せません"},

    // Verdicts that follow the runs, full-width text, and the tool's own words
    // for times without a date and a file it cannot open.
    {Message::ROW_NOT_YET, "its row does not run {1}", "表に加わる行は{1}には実行されません"},
    {Message::AT_RUNS,
     "{1} is not a schedule TaveCron knows, but its row runs: {2} is skipped, so it runs at {3}; "
     "next at {4}",
     "{1} は TaveCron の知らない書き方ですが、表に加わる行は実行されます。{2} "
     "は読み飛ばされ、{3}に実行されます（次の実行は "
     "{4}）"},
    {Message::AT_RUNS_NOTHING,
     "{1} is not a schedule TaveCron knows: {2} is skipped, so its row is due at {3}, next at {4}, but runs nothing "
     "({5} is not a command)",
     "{1} は TaveCron の知らない書き方です。{2} は読み飛ばされ、表に加わる行は{3}に実行の時刻になりますが（次は "
     "{4}）、何も実行しません（{5} はコマンドではありません）"},
    {Message::SCHEDULE_EVERY, "every {1}", "毎{1}"},
    {Message::SCHEDULE_AND, "{1}, {2}", "{1}、{2}"},
    {Message::FULL_WIDTH,
     "{1} is written with full-width (zenkaku) characters, which TaveCron reads as neither digits nor blanks: type "
     "{2} in half-width characters",
     "{1} は全角の文字で書かれています。TaveCron は全角の数字や空白を数字や区切りとして読みません。半角で {2} "
     "と書いてください"},
    {Message::NO_SUCH_FILE, "cannot open {1}: there is no such file", "{1} を開けません。そのファイルはありません"},
    {Message::NO_PERMISSION, "cannot open {1}: you have no permission to read it",
     "{1} を開けません。読み取りの権限がありません"},
    // The disk: the programs and pictures of System and SetWP entries, looked
    // for from the program's folder as the program itself finds them.
    {Message::DISK_NOT_SEEN,
     "note: programs and pictures are not looked for: this build cannot see a Windows disk (tavecron-check.exe, "
     "beside tavecron.exe, looks for them)",
     "注記: プログラムと画像があるかは調べていません。この版は Windows のディスクを見られません（tavecron.exe "
     "と同じフォルダの tavecron-check.exe が調べます）"},
    {Message::NEEDS_FOLDER, "{1} needs a folder", "{1} にはフォルダが必要です"},
    {Message::FOLDER_BAD, "--folder needs an existing folder, not {1}",
     "--folder には存在するフォルダを指定してください（{1} ではなく）"},
    {Message::DISK_QUOTE_CUT,
     "quotes are not read: the program splits the option at its first blank and asks the shell for {1}, quote "
     "mark included, which starts nothing; write {2}",
     "引用符は読まれません。プログラムはオプションを最初の空白で区切ってシェルに {1} "
     "を引用符ごと渡すので、何も起動しません。代わりに {2} と書いてください"},
    {Message::DISK_BLANK_CUT,
     "the path holds a blank: the program splits the option at its first blank and asks the shell for {1}, which "
     "is not there, while {2} is; write {3}",
     "パスに空白があります。プログラムはオプションを最初の空白で区切ってシェルに {1} "
     "を渡しますが、それはなく、あるのは {2} です。代わりに {3} と書いてください"},
    {Message::DISK_PATH_MISSING, "{1} is not there (looked from the folder {2}): the entry starts nothing",
     "{1} がありません（フォルダ {2} から探しました）。この項目は何も起動しません"},
    {Message::DISK_NAME_MISSING,
     "the shell finds no {1}: not in the folder {2}, on the search path (PATH) nor among the registered "
     "application paths; the entry starts nothing",
     "シェルは {1} を見つけられません（フォルダ {2}、検索パス（PATH）、登録されたアプリケーションのパスのどこにも"
     "ありません）。この項目は何も起動しません"},
    {Message::DISK_NO_ASSOCIATION,
     "no program opens {1} (no program is associated with the type {2}): the entry starts nothing",
     "{1} を開くプログラムがありません（種類 {2} に関連付けがありません）。この項目は何も起動しません"},
    {Message::DISK_NO_PICTURE,
     "{1} leaves no picture (a pattern that matches no file is dropped; looked from the folder {2}): the entry "
     "changes nothing",
     "{1} では画像が一つも残りません（どのファイルにも合わないパターンは捨てられます。フォルダ {2} "
     "から探しました）。この項目は何も変えません"},
    {Message::DISK_NO_PICTURE_FILE,
     "pictures that are not files: all {2}, {3} among them (looked from the folder {4}): the entry changes nothing",
     "ファイルでない画像: {2} 個すべて（{3} など。フォルダ {4} から探しました）。この項目は何も変えません"},
    {Message::DISK_SOME_NOT_FILES,
     "pictures that are not files: {1} of {2}, {3} among them (looked from the folder {4}): when one of them is "
     "drawn, the wallpaper stays as it is",
     "ファイルでない画像: {2} 個のうち {1} 個（{3} など。フォルダ {4} "
     "から探しました）。それが選ばれたときは壁紙が変わりません"},
    // What the table holds of a cell, and the file's warnings named in the summary.
    {Message::CELL_HELD,
     "{1} is held in the table as {2} ({3}: the table keeps Unicode text, and these bytes are no Shift-JIS "
     "character or one that has another code too): the program uses that, and a Save writes it",
     "{1} は表では {2} になります（{3}。表は文字を Unicode で持ち、このバイトはシフト JIS "
     "の文字でないか、別のコードも持つ文字です）。プログラムはそれを使い、保存するとそれが書かれます"},
    {Message::CELL_WORDS, "; a blank goes with those bytes, so the words {1} become {2}",
     "。空白もそのバイトと一緒に失われ、語 {1} は {2} になります"},
    {Message::FILE_NAMES, " ({1}: see the file's warnings above)", "（{1}: 上のファイル全体の警告を参照）"},
    {Message::NAME_BOM, "byte-order mark", "BOM"},
    {Message::NAME_UTF8, "UTF-8 text", "UTF-8 の文字"},
    {Message::NAME_NUL, "NUL bytes", "NUL バイト"},
    {Message::NAME_NO_ENTRY, "no entry", "項目なし"},
}};

Language language_of_locale(const char* name)
{
    return name != nullptr && std::strncmp(name, "ja", 2) == 0 ? Language::JAPANESE : Language::ENGLISH;
}

std::string say(Language language, Message message, std::initializer_list<std::string_view> args)
{
    const MessageForms& forms = check_messages[static_cast<std::size_t>(message)];
    const std::string_view text = language == Language::JAPANESE ? forms.japanese : forms.english;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < args.size()) out += args.begin()[n];
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}
