#include "app/minute_rule.h"

MinuteStep next_minute_step(int last_minute, int minute)
{
    if (minute == last_minute) {
        return {false, last_minute};
    }
    return {last_minute >= 0, minute};
}
