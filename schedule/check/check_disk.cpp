#include "schedule/check/check_disk.h"

#include <cctype>
#include <cstring>

#include "commands/command_names.h"
#include "commands/system_option.h"
#include "commands/wallpaper.h"
#include "commands/option_scanner.h"

namespace {

// How the guide starts a program whose path holds a blank.
constexpr const char* START_FORM = "cmd.exe /c start \"\" ";

// A name the shell resolves without a file of that name: a URL or another
// "scheme:" form ("shell:startup", "mailto:..."; one letter before the colon
// is a drive), a namespace name ("::{...}"), or a network path, which the
// checker does not knock on (an absent server can take a minute to answer).
bool beyond_the_disk(std::string_view name)
{
    if (name.starts_with("::") || name.starts_with("\\\\") || name.starts_with("//")) return true;
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

// Whether `name` says where it lies (a folder or a drive), so that the shell
// looks there only and not along the search path.
bool has_folder_part(const std::string& name)
{
    return find_separator(name.c_str()) != nullptr || name.find('/') != std::string::npos ||
           (name.size() >= 2 && name[1] == ':');
}

struct Found {
    DiskKind kind = DiskKind::NONE;
    std::string path;
    bool registered = false;  // a registered application path, not looked at further
};

// `path` as written, or with one of the program extensions added (the shell
// tries them also after an extension, so trying them never calls a name
// missing that it would start).
Found try_path(DiskProbe& probe, const std::string& path, const std::vector<std::string>& extensions)
{
    const DiskKind kind = probe.kind(path);
    if (kind != DiskKind::NONE) return Found{kind, path};
    for (const std::string& extension : extensions) {
        if (probe.kind(path + extension) == DiskKind::PLAIN_FILE) return Found{DiskKind::PLAIN_FILE, path + extension};
    }
    return {};
}

// Where the shell's "open" finds `name`: a name with a folder part from the
// program's folder only; a bare name there, then among the registered
// application paths, then in the folders of the search path.
Found find_for_shell(DiskProbe& probe, const std::string& name)
{
    const std::vector<std::string> extensions = probe.program_extensions();
    Found found = try_path(probe, name, extensions);
    if (found.kind != DiskKind::NONE || has_folder_part(name)) return found;
    if (probe.registered(name) || probe.registered(name + ".exe")) return Found{DiskKind::PLAIN_FILE, name, true};
    for (const std::string& folder : probe.search_folders()) {
        std::string path = folder;
        if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
        path += name;
        found = try_path(probe, path, extensions);
        if (found.kind != DiskKind::NONE) return found;
    }
    return {};
}

// The extension of a path's last component, with its dot ("" when none).
std::string extension_of(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos) return "";
    return path.substr(dot);
}

struct DiskChecker {
    LineCheck& check;
    DiskProbe* probe;
    Language language;
    int added = 0;

    void warn(Message message, std::initializer_list<std::string_view> args)
    {
        check.warnings.push_back(CheckWarning{CheckField::OPTION, say(language, message, args)});
        ++added;
    }
    void check_system(const std::string& option);
    void check_wallpaper(const std::string& option);
};

// The program splits the option at its first blank, quotes included, and
// hands the shell the text before it as the program or document.
void DiskChecker::check_system(const std::string& option)
{
    const std::size_t length = system_program_length(option);
    const std::size_t blank = length < option.size() ? length : std::string::npos;
    const std::string first = option.substr(0, length);
    if (first.starts_with('"') && (first.size() == 1 || !first.ends_with('"'))) {
        warn(Message::DISK_QUOTE_CUT, {first, START_FORM + option});
        return;
    }
    if (probe == nullptr || first.empty()) return;
    // A first word in quotes of its own holds no blank; the shell takes the
    // name inside them.
    const bool in_quotes = first.size() >= 2 && first.starts_with('"');
    const std::string name = probe->expand(in_quotes ? first.substr(1, first.size() - 2) : first);
    if (beyond_the_disk(name)) return;
    const Found found = find_for_shell(*probe, name);
    if (found.kind == DiskKind::NONE) {
        // An unquoted path with a blank: a longer part of the option, up to a
        // later blank or its end, names what the first word only begins.
        for (std::size_t end = blank; end != std::string::npos;) {
            end = option.find(' ', end + 1);
            const std::string longer = option.substr(0, end);
            if (longer.ends_with(' ')) continue;
            if (find_for_shell(*probe, probe->expand(longer)).kind == DiskKind::NONE) continue;
            warn(Message::DISK_BLANK_CUT, {check_quoted(first), check_quoted(longer),
                                           START_FORM + check_quoted(longer) + option.substr(longer.size())});
            return;
        }
        warn(has_folder_part(name) ? Message::DISK_PATH_MISSING : Message::DISK_NAME_MISSING,
             {check_quoted(first), probe->folder()});
        return;
    }
    if (found.kind == DiskKind::PLAIN_FILE && !found.registered &&
        probe->association(found.path) == DiskAssociation::NONE) {
        const std::string extension = extension_of(found.path);
        warn(Message::DISK_NO_ASSOCIATION,
             {check_quoted(found.path), extension.empty() ? "-" : check_quoted(extension)});
    }
}

// Expands the option with the wallpaper command's own argument vector and
// option scan, from the program's folder, and looks at every candidate.
void DiskChecker::check_wallpaper(const std::string& option)
{
    int count = 0;
    const OwnedArgVector owned(build_argv(probe->lister(), command_names[2], option.c_str(), &count));
    if (!owned) return;
    scan_layout_options(count, owned.get());
    const int first = tavecron::optind;
    const int candidates = count - first;
    if (candidates <= 0) {
        warn(Message::DISK_NO_PICTURE, {check_quoted(option), probe->folder()});
        return;
    }
    int missing = 0;
    std::string first_missing;
    for (int i = first; i < count; ++i) {
        if (probe->kind(owned.get()[i]) == DiskKind::PLAIN_FILE) continue;
        if (missing++ == 0) first_missing = owned.get()[i];
    }
    if (missing == 0) return;
    warn(missing == candidates ? Message::DISK_NO_PICTURE_FILE : Message::DISK_SOME_NOT_FILES,
         {std::to_string(missing), std::to_string(candidates), check_quoted(first_missing), probe->folder()});
}

}  // namespace

int check_on_disk(LineCheck& check, DiskProbe* probe, Language language)
{
    if (!is_entry(check)) return 0;
    DiskChecker checker{check, probe, language};
    const std::string command = check.fields.command.data();
    const std::string option = check.fields.option.data();
    if (command == command_names[1]) checker.check_system(option);
    if (command == command_names[2] && probe != nullptr) checker.check_wallpaper(option);
    return checker.added;
}
