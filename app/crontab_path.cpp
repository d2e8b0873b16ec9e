#include "app/crontab_path.h"

#include "base/cp932.h"
#include "base/path_join.h"

std::size_t directory_length(std::string_view path)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte == '\0') {
            break;
        }
        if (cp932_is_lead(byte) && i + 1 < path.size() && path[i + 1] != '\0') {
            ++i;  // the trail byte may be 0x5C: it belongs to the character; a NUL never does
        } else if (byte == '\\') {
            length = i + 1;
        }
    }
    return length;
}

CrontabLocation locate_crontab(std::string_view module_path, const char* argument)
{
    CrontabLocation location;
    const std::string_view directory = module_path.substr(0, directory_length(module_path));
    location.has_directory = !directory.empty() && join_path(location.directory, directory);

    // An empty module path (unknown) gives no default file: "cron.tab" would
    // then be looked for in whatever folder happens to be current.
    const bool module_known = !module_path.empty() && module_path.front() != '\0';
    if (argument != nullptr) {
        location.has_path = join_path(location.path, argument);
    } else if (module_known && (directory.empty() || location.has_directory)) {
        location.has_path = join_path(location.path, directory, DEFAULT_CRONTAB_NAME);
    }
    return location;
}
