#include "app/edit_text_cut.h"

#include <cstring>

#include "schedule/cron_entry.h"

namespace {

// Ends the text at the first byte equal to blank that lies before its terminator.
void end_at_first(char* text, std::size_t size, char blank)
{
    for (std::size_t i = 0; i < size && text[i] != '\0'; ++i) {
        if (text[i] == blank) {
            text[i] = '\0';
            return;
        }
    }
}

}  // namespace

void cut_edited_text(int column, char* text, std::size_t size)
{
    if (text == nullptr || column > COL_COMMAND) {
        return;
    }
    end_at_first(text, size, ' ');
    end_at_first(text, size, '\t');
}
