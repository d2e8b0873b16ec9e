#include "schedule/check/check_agenda.h"

#include <queue>

#include "schedule/check/check_calendar.h"
#include "schedule/check/crontab_check.h"

namespace {

// The first run of `entry` from `from` (included) up to `until`; false when
// there is none.
bool first_run(const CronEntry& entry, const ClockTime& from, const ClockTime& until, ClockTime& out)
{
    struct Found {
        ClockTime* out;
        bool found;
    } found{&out, false};
    walk_runs(
        entry, from, until,
        [](const ClockTime& run, void* context) {
            auto& f = *static_cast<Found*>(context);
            *f.out = run;
            f.found = true;
            return false;
        },
        &found);
    return found.found;
}

struct Pending {
    std::int64_t order;  // minute_order of the run
    std::size_t entry;
    ClockTime time;
    // The queue puts the greatest first: the earliest minute, then the first row.
    bool operator<(const Pending& o) const { return order != o.order ? order > o.order : entry > o.entry; }
};

}  // namespace

std::int64_t list_agenda(const std::vector<AgendaEntry>& entries, const ClockTime& from, const ClockTime& until,
                         int most, std::vector<AgendaRun>& out)
{
    out.clear();
    std::vector<CronEntry> crons;
    crons.reserve(entries.size());
    for (const AgendaEntry& e : entries) crons.push_back(entry_from_fields(e.fields));

    // Each entry's next run waits in the queue; the earliest is taken and its
    // entry's run after it put in.
    std::priority_queue<Pending> queue;
    for (std::size_t i = 0; i < crons.size(); ++i) {
        ClockTime run{};
        if (first_run(crons[i], from, until, run)) queue.push(Pending{minute_order(run), i, run});
    }
    std::int64_t total = 0;
    while (!queue.empty() && static_cast<int>(out.size()) < most) {
        const Pending next = queue.top();
        queue.pop();
        out.push_back(AgendaRun{next.time, next.entry});
        ++total;
        ClockTime run{};
        if (first_run(crons[next.entry], next_minute(next.time), until, run)) {
            queue.push(Pending{minute_order(run), next.entry, run});
        }
    }
    for (; !queue.empty(); queue.pop()) total += count_runs(crons[queue.top().entry], queue.top().time, until);
    return total;
}

std::string format_agenda(const std::vector<AgendaEntry>& entries, const std::vector<AgendaRun>& runs,
                          std::int64_t total, const ClockTime& from, const ClockTime& until, Language language)
{
    std::string out;
    for (const AgendaRun& run : runs) {
        const AgendaEntry& e = entries[run.entry];
        out += format_check_time(run.time) + "  " + std::to_string(e.line) + ": " + e.fields.command.data();
        if (e.fields.option[0] != '\0') out += std::string(" ") + e.fields.option.data();
        if (e.runs_nothing) out += say(language, Message::AGENDA_RUNS_NOTHING);
        out += "\n";
    }
    const std::int64_t more = total - static_cast<std::int64_t>(runs.size());
    const std::string end = format_check_time(until);
    if (more > 0) {
        out += say(language, more == 1 ? Message::AGENDA_MORE_ONE : Message::AGENDA_MORE, {std::to_string(more), end}) +
               "\n";
    }
    if (total == 0) out += say(language, Message::AGENDA_NONE, {format_check_time(from), end}) + "\n";
    return out;
}
