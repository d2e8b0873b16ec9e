// Registration, creation failures and destruction of the table window,
// observed through window hooks and a count of the records the table allocates.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <tuple>

#include <gtest/gtest.h>

#include "support/win32/table_fixture.h"

// The records made with nothrow new (as the table makes its own) while counting
// is on and not yet deleted; the fail_at'th of them (from 1) fails instead.
static struct {
    bool counting;
    int fail_at, made;
    std::vector<void*> live;
} watch;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (watch.counting && ++watch.made == watch.fail_at) return nullptr;
    void* p = std::malloc(size ? size : 1);
    if (watch.counting && p) watch.live.push_back(p);
    return p;
}

void operator delete(void* p) noexcept
{
    if (auto it = std::find(watch.live.begin(), watch.live.end(), p); p && it != watch.live.end()) watch.live.erase(it);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

using namespace table_test;

// Refuses to create windows of class `refused` on this thread and notes each
// window's procedure and user data once its WM_DESTROY is handled.
struct WindowHooks {
    static inline const char* refused = "";
    static inline std::vector<std::tuple<HWND, LONG_PTR, LONG_PTR>> destroyed;
    HHOOK cbt = SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId());
    HHOOK ret = SetWindowsHookExA(WH_CALLWNDPROCRET, on_return, nullptr, GetCurrentThreadId());
    ~WindowHooks() { UnhookWindowsHookEx(cbt), UnhookWindowsHookEx(ret), refused = "", destroyed.clear(); }

    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* create = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDA*>(lparam) : nullptr;
        const char* name = create ? create->lpcs->lpszClass : nullptr;
        if (HIWORD(reinterpret_cast<UINT_PTR>(name)) && lstrcmpiA(name, refused) == 0) return 1;
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static LRESULT CALLBACK on_return(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* r = reinterpret_cast<CWPRETSTRUCT*>(lparam);
        if (code == HC_ACTION && r->message == WM_DESTROY)
            destroyed.emplace_back(r->hwnd, GetWindowLongPtrA(r->hwnd, GWLP_WNDPROC),
                                   GetWindowLongPtrA(r->hwnd, GWLP_USERDATA));
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
};

TEST(TableLifecycle, the_class_is_registered_once_and_a_failed_registration_is_retried)
{
    if (table_class_atom != 0) {
        ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));
        table_class_atom = 0;
    }
    // A class of the same name held by someone else makes registration fail.
    WNDCLASSA blocker{CS_GLOBALCLASS, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, WC_TAVETABLE};
    ASSERT_NE(RegisterClassA(&blocker), 0);
    EXPECT_EQ(std::pair(register_table_class(), table_class_atom), std::pair(ATOM{0}, ATOM{0}));
    ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));
    const ATOM atom = register_table_class();
    EXPECT_NE(atom, 0);
    EXPECT_EQ(register_table_class(), atom);
}

TEST(TableLifecycle, failed_creations_release_what_they_made_and_a_destroyed_table_leaves_no_link_behind)
{
    TestParent parent;
    WindowHooks hooks;
    for (int fail_at : {1, 2, 3, 0}) {  // 0: every record is made but the list view is refused
        WindowHooks::refused = fail_at ? "" : "SysListView32";
        watch = {true, fail_at, 0, {}};
        EXPECT_EQ(parent.create_table(), nullptr) << fail_at;
        watch.counting = false;
        EXPECT_TRUE(watch.live.empty() && !GetWindow(parent.window, GW_CHILD)) << fail_at;
    }
    WindowHooks::refused = "";  // the same parent then gets its table
    watch = {true, 0, 0, {}};
    HWND table = parent.create_table();
    watch.counting = false;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(watch.live.size(), 3u);  // the state and two links
    HWND list = GetDlgItem(table, IDC_TABLE_LIST), edit = GetDlgItem(table, IDC_TABLE_EDIT);
    EXPECT_EQ(std::pair(IsWindowVisible(edit), send(edit, WM_GETFONT)), std::pair(FALSE, send(list, WM_GETFONT)));
    auto gone = [](HWND child) {  // the child with its own procedure back and no link
        auto* link = reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(child, GWLP_USERDATA));
        return std::tuple(child, reinterpret_cast<LONG_PTR>(link->previous_proc), LONG_PTR{0});
    };
    const auto children = {gone(list), gone(edit)};
    DestroyWindow(table);
    EXPECT_TRUE(watch.live.empty());
    for (const auto& child : children)
        EXPECT_NE(std::find(hooks.destroyed.begin(), hooks.destroyed.end(), child), hooks.destroyed.end());
}

}  // namespace
