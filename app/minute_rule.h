#pragma once
// When a timer tick starts a due pass.
//
// The main window's timer ticks once a second. A tick whose local minute
// (0 to 59) differs from the minute noted at the last tick that found a new
// minute starts one due pass, except on the very first tick (nothing noted
// yet, last_minute -1): entries due in the minute of start-up do not run.
// Only the minute value is compared, so setting the clock back by exactly
// one hour runs nothing at that tick.

struct MinuteStep {
    bool run_pass;    // true: run the due pass for this tick's time
    int last_minute;  // the minute to note; store it BEFORE running the pass
};

// last_minute: the noted minute, or -1 before the first tick.
// minute: the minute of the tick's local time, 0 to 59.
MinuteStep next_minute_step(int last_minute, int minute);
