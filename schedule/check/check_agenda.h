#pragma once
// The checker's agenda: every run of every entry of a file within a span of
// time, in the order the program starts them (by minute, and within a minute
// by row), as the same calendar walk that finds each entry's next runs.
//
// Output of format_agenda, one text line per run, the same in every language
// but for the words of "(runs nothing)" and of the last line:
//
//   YYYY-MM-DD HH:MM Www  N: COMMAND OPTION[ (runs nothing)]
//   ... and M more runs before YYYY-MM-DD HH:MM     (when more than the most were found)
//   no run from YYYY-MM-DD HH:MM up to YYYY-MM-DD HH:MM     (when there is none)
#include <cstdint>
#include <string>
#include <vector>

#include "schedule/check/check_messages.h"
#include "schedule/crontab_line.h"
#include "schedule/time_pattern.h"

// --max: the agenda's lines by default and at most.
constexpr int AGENDA_DEFAULT_RUNS = 1000;
constexpr int AGENDA_MOST_RUNS = 100000;

struct AgendaEntry {
    int line = 0;  // the crontab line's number, from 1
    CrontabFields fields{};
    bool runs_nothing = false;  // the command is unknown
};

struct AgendaRun {
    ClockTime time;
    std::size_t entry;  // index into the entries, which are in row order
};

// Fills `out` with the first `most` runs from `from` (included) up to `until`
// (excluded), in time order and, within a minute, in the order of `entries`.
// Answers how many runs there are in the span, those left out included.
std::int64_t list_agenda(const std::vector<AgendaEntry>& entries, const ClockTime& from, const ClockTime& until,
                         int most, std::vector<AgendaRun>& out);

// The lines above, each ending in "\n".
std::string format_agenda(const std::vector<AgendaEntry>& entries, const std::vector<AgendaRun>& runs,
                          std::int64_t total, const ClockTime& from, const ClockTime& until, Language language);
