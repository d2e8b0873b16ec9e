// Registration, creation failures and destruction of the table window,
// observed through window hooks and a count of the records the table allocates.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <tuple>

#include <gtest/gtest.h>

#include "support/win32/table_fixture.h"

namespace {

// The records made with nothrow new (as the table makes its own) while counting
// is on and not yet deleted; the fail_at'th of them (from 1) fails instead.
struct AllocationWatch { bool counting; int fail_at, made; std::vector<void*> live; } watch;

void start_watch(int fail_at = 0) { watch = AllocationWatch{true, fail_at, 0, {}}; }

}  // namespace

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

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace table_test;

// Refuses to create windows of class `refuse` on this thread and records each
// window's procedure and user data once its WM_DESTROY is handled.
struct WindowHooks {
    WindowHooks()
        : cbt(SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId())),
          ret(SetWindowsHookExA(WH_CALLWNDPROCRET, on_return, nullptr, GetCurrentThreadId()))
    {
        self = this;
    }
    ~WindowHooks() { UnhookWindowsHookEx(cbt), UnhookWindowsHookEx(ret), self = nullptr; }
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam)
    {
        if (code == HCBT_CREATEWND && self) {
            const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs->lpszClass;
            if (HIWORD(reinterpret_cast<UINT_PTR>(name)) && lstrcmpiA(name, self->refuse.c_str()) == 0)
                return 1;
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static LRESULT CALLBACK on_return(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* r = reinterpret_cast<CWPRETSTRUCT*>(lparam);
        if (code == HC_ACTION && self && r->message == WM_DESTROY)
            self->destroyed.push_back({r->hwnd, GetWindowLongPtrA(r->hwnd, GWLP_WNDPROC),
                                       GetWindowLongPtrA(r->hwnd, GWLP_USERDATA)});
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    HHOOK cbt, ret;
    std::string refuse;
    std::vector<std::tuple<HWND, LONG_PTR, LONG_PTR>> destroyed;  // window, procedure, user data
    static inline WindowHooks* self = nullptr;
};

TEST(TableLifecycle, the_class_is_registered_once_and_a_failed_registration_is_retried)
{
    // A class of the same name held by someone else makes registration fail.
    if (table_class_atom != 0) {
        ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));
        table_class_atom = 0;
    }
    WNDCLASSA blocker{CS_GLOBALCLASS, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, WC_TAVETABLE};
    ASSERT_NE(RegisterClassA(&blocker), 0);
    EXPECT_EQ(register_table_class(), 0);
    EXPECT_EQ(table_class_atom, 0);
    ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));

    const ATOM atom = register_table_class();
    ASSERT_NE(atom, 0);
    EXPECT_EQ(register_table_class(), atom);
}

TEST(TableLifecycle, a_failed_allocation_or_list_view_refuses_creation_and_leaks_nothing)
{
    TestParent parent;
    WindowHooks hook;
    for (int fail_at : {1, 2, 3, 0}) {  // 0: every allocation succeeds but the list view is refused
        hook.refuse = fail_at ? "" : "SysListView32";
        start_watch(fail_at);
        HWND table = parent.create_table();
        watch.counting = false;
        EXPECT_EQ(table, nullptr) << fail_at;
        EXPECT_TRUE(watch.live.empty()) << fail_at;
        EXPECT_EQ(GetWindow(parent.window, GW_CHILD), nullptr) << fail_at;
    }
    hook.refuse.clear();  // the same parent then gets its table
    EXPECT_NE(parent.create_table(), nullptr);
}

TEST(TableLifecycle, the_children_are_subclassed_while_the_table_lives_and_leave_no_link_behind)
{
    TestParent parent;
    start_watch();
    HWND table = parent.create_table();
    watch.counting = false;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(watch.live.size(), 3u);  // the state and two links
    HWND children[] = {GetDlgItem(table, IDC_TABLE_LIST), GetDlgItem(table, IDC_TABLE_EDIT)};
    EXPECT_FALSE(IsWindowVisible(children[1]));
    EXPECT_EQ(send(children[1], WM_GETFONT), send(children[0], WM_GETFONT));

    const WNDPROC subclass_procs[] = {list_subclass_proc, edit_subclass_proc};
    LONG_PTR originals[2];
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(GetWindowLongPtrA(children[i], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclass_procs[i]));
        originals[i] = reinterpret_cast<LONG_PTR>(
            reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(children[i], GWLP_USERDATA))->previous_proc);
    }
    WindowHooks hook;
    watch.counting = true;
    DestroyWindow(table);
    watch.counting = false;
    EXPECT_TRUE(watch.live.empty());
    for (int i = 0; i < 2; ++i) {
        const auto gone = std::tuple(children[i], originals[i], LONG_PTR{0});
        EXPECT_NE(std::find(hook.destroyed.begin(), hook.destroyed.end(), gone), hook.destroyed.end()) << i;
    }
}

}  // namespace
