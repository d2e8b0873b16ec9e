#include "schedule/check/win32/disk_probe.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/win32/temp_folder.h"

namespace {

const char* const app_paths = "Software\\Microsoft\\Windows\\CurrentVersion\\Ap"
                              "p Paths\\tavecron_test_app.exe";
// A document type that notepad opens (a fresh Wine prefix associates no
// ".txt"), one the registry knows with no command to read (as a type a store
// app opens), and a made-up one that nothing opens.
const char* const document_type = ".tcxa";
const char* const known_type = ".tcxk";
const char* const document_class = "tavecron_test_document";

void set_default_value(HKEY root, const std::string& key, const std::string& value)
{
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
}

// A folder made for the test, with programs, documents and pictures in it,
// made the program's folder, and a registered application path.
class DiskProbeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.root.empty());
        for (const char* name : {"tool.exe", "notes.tcxa", "odd.tcxq", "Program Files\\App\\app.exe", "pics\\a.bmp",
                                 "pics\\b.bmp", "pics\\sub\\c.bmp", "メモ.exe", "odd.tcxk", "bin\\onpath.exe"}) {
            folder.write(name, "MZ");
        }
        SetEnvironmentVariableA("TAVECRON_TEST_NAME", "メモ");
        char path[32767];
        const DWORD length = GetEnvironmentVariableA("PATH", path, sizeof path);
        saved_path = std::string(path, length < sizeof path ? length : 0);
        SetEnvironmentVariableA("PATH", (saved_path + ";" + folder.path("bin")).c_str());
        set_default_value(HKEY_CLASSES_ROOT, known_type, "");
        set_default_value(HKEY_CURRENT_USER, app_paths, folder.path("tool.exe"));
        set_default_value(HKEY_CLASSES_ROOT, document_type, document_class);
        set_default_value(HKEY_CLASSES_ROOT, std::string(document_class) + "\\shell\\open\\command",
                          "notepad.exe \"%1\"");
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("TAVECRON_TEST_NAME", nullptr);
        SetEnvironmentVariableA("PATH", saved_path.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, known_type);
        RegDeleteKeyA(HKEY_CURRENT_USER, app_paths);
        RegDeleteKeyA(HKEY_CLASSES_ROOT, document_type);
        for (const char* key : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, (document_class + std::string(key)).c_str());
        }
    }

    // The disk check's warnings for the entry "0 0 * * * <entry>".
    std::string warnings_of(const std::string& entry, DiskProbe& probe)
    {
        ClockTime from{};
        EXPECT_TRUE(make_clock_time(2027, 1, 1, 0, 0, from));
        const std::string line = "0 0 * * * " + entry;
        LineCheck check;
        check_crontab_line(line.c_str(), static_cast<int>(line.size()), 1, 0, from, 0, check);
        check.warnings.clear();
        check_on_disk(check, &probe, Language::ENGLISH);
        std::string out;
        for (const CheckWarning& w : check.warnings) out += w.text + "\n";
        return out;
    }

    TempFolder folder;
    std::string saved_path;
};

// A path found nowhere, a document of a type nothing opens, a path cut at its
// blank and a SetWP option that leaves candidates that are not files get one
// warning each, naming the text looked for (a part of it here).
const std::pair<const char*, const char*> warning[] = {
    {"System odd.tcxq", "odd.tcxq\" (no program is associated with the type \".tcxq\")"},
    {"System pics\\none.exe", "\"pics\\none.exe\" is not there (looked from the folder"},
    {"System C:\\tavecron_nowhere\\x.exe", "\"C:\\tavecron_nowhere\\x.exe\" is not there"},
    {"System Program Files\\App\\app.exe -x", "for \"Program\", which is not there, while \"Program "
                                              "Files\\App\\app.exe\" is; write cmd.exe /c start \"\" "
                                              "\"Program Files\\App\\app.exe\" -x"},
    {"SetWP pics\\*", "not files: 1 of 3, \"pics\\sub\" among them"},
    {"SetWP gone.bmp", "not files: all 1, \"gone.bmp\" among them"},
};

TEST_F(DiskProbeTest, what_the_shell_would_start_passes_and_what_starts_nothing_warns_naming_the_text_looked_for)
{
    Win32DiskProbe probe(folder.root.c_str());
    ASSERT_TRUE(probe.entered());
    // Whatever the shell would start or open from the program's folder gets no
    // warning: a name there without its program extension, in quotes, on the
    // search path, registered with or without ".exe", named through the
    // environment, a document with an association or of a type the registry
    // knows, a folder, a shell name, a network path.
    for (const char* entry :
         {"System tool", "System \"tool.exe\" x", "System onpath /x", "System tavecron_test_app.exe",
          "System tavecron_test_app", "System %TAVECRON_TEST_NAME%.exe", "System notes.tcxa", "System odd.tcxk",
          "System pics", "System shell:startup", "System \\\\server\\share\\app.exe"}) {
        EXPECT_EQ(warnings_of(entry, probe), "") << entry;
    }
    for (const auto& [entry, part] : warning) {
        const std::string warnings = warnings_of(entry, probe);
        EXPECT_NE(warnings.find(part), std::string::npos) << entry << "\n" << warnings;
        EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << "one warning: " << entry << "\n" << warnings;
    }
}

TEST_F(DiskProbeTest, the_current_directory_is_the_callers_again_once_the_probe_goes)
{
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(Win32DiskProbe(folder.root.c_str()).entered());
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
}

}  // namespace
